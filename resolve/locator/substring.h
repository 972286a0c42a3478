// Fast search for one fixed byte string in large buffers. A search through
// every folder index of a mailbox runs over hundreds of megabytes, so the
// text is not compared at each place: two of its bytes (the probes) are
// tested at 32 places at once, and only where both agree is the whole text
// compared.
//
// The probes start as the first and the last byte. Message-IDs of one mailer
// often share their length and most of their bytes, and every line of an
// index holds one or two of them: then the brackets at both ends agree at
// every Message-ID of the same length. tuneTo() therefore picks the probes
// that let the fewest places through on a sample of the data itself.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumo::locator {

// The processor's vector instructions the search may use.
enum class VectorUnit { None, Sse2, Avx2 };
// The best this processor has.
VectorUnit availableVectorUnit();

class SubstringSearch {
 public:
  explicit SubstringSearch(std::string_view text);

  std::string_view text() const { return text_; }
  // The first place in [begin, end) where the whole text stands, or null. An
  // empty text is found nowhere.
  const char* findIn(const char* begin, const char* end) const {
    return findIn(begin, end, availableVectorUnit());
  }
  // The same with the given vector unit (None: no probes); tests hold each
  // against the others. The unit must be one the processor has.
  const char* findIn(const char* begin, const char* end, VectorUnit unit) const;
  // Chooses the probes on a sample of the data to be searched; the places
  // found stay the same, only the speed changes.
  void tuneTo(std::string_view sample);

 private:
  std::string text_;
  std::size_t probe1_ = 0;  // offsets in the text
  std::size_t probe2_ = 0;
};

}  // namespace lumo::locator
