// Fast search for one fixed byte string in large buffers. A search through
// every folder index of a mailbox runs over hundreds of megabytes, so the
// text is not compared at each place: two of its bytes are tested at sixteen
// places at once, and only where both agree is the whole text compared.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumo::locator {

class SubstringSearch {
 public:
  explicit SubstringSearch(std::string_view text);

  std::string_view text() const { return text_; }
  // The first place in [begin, end) where the whole text stands, or null. An
  // empty text is found nowhere.
  const char* findIn(const char* begin, const char* end) const;
  // Chooses the two tested bytes anew: the two of the text that are rarest
  // in `sample` (a piece of the data to be searched), so that few places pass
  // the first test whatever the data looks like.
  void tuneTo(std::string_view sample);

 private:
  const char* findScalar(const char* begin, const char* last) const;

  std::string text_;
  std::size_t first_ = 0;  // offsets in the text of the two tested bytes
  std::size_t second_ = 0;
};

}  // namespace lumo::locator
