// The "Folder.idx" reader against a plain model of its rules: split the text
// into lines (LF ends a line, a CR before it is not part of it, a last line
// without LF is a line), take the first line holding the search text, count
// its fields from its start. The reader must agree for any text, any search
// text and any buffer and read sizes.
//
// The substring search under it must find what the library's search finds.
//
// Input: one byte choosing the buffer size, one the read size, one the search
// text's length, the search text, then the index text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "resolve/locator/index_scan.h"
#include "resolve/locator/substring.h"

namespace {

using lumo::locator::IndexEntry;
using lumo::locator::ScanResult;

struct Model {
  bool found = false;
  IndexEntry entry;
};

Model model(std::string_view text, std::string_view index) {
  Model m;
  if (text.empty()) return m;
  std::size_t start = 0;
  while (start < index.size()) {
    std::size_t lf = index.find('\n', start);
    std::size_t end = lf == std::string_view::npos ? index.size() : lf;
    std::size_t contentEnd =
        lf != std::string_view::npos && end > start && index[end - 1] == '\r' ? end - 1 : end;
    std::string_view line = index.substr(start, contentEnd - start);
    if (line.find(text) != std::string_view::npos) {
      m.found = true;
      IndexEntry& e = m.entry;
      e.lineStart = start;
      for (std::size_t i = 0; i < line.size() && e.separators < lumo::locator::kMarkSeparator; ++i) {
        if (line[i] == lumo::locator::kFieldSeparator) {
          ++e.separators;
          e.keyClosed = e.separators >= 2;
          if (e.separators == lumo::locator::kMarkSeparator) {
            e.markOffset = start + i - 1;
            e.mark = line[i - 1];
          }
        } else if (e.separators == 1 && e.key.size() <= lumo::kIdMax) {
          e.key += line[i];  // the reader keeps no more of a key than names no mail
        }
      }
      return m;
    }
    if (lf == std::string_view::npos) break;
    start = lf + 1;
  }
  return m;
}

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  std::size_t chunk = 1 + data[0] % 64 * (data[0] >= 128 ? 97 : 1);
  std::size_t piece = 1 + data[1];
  std::size_t length = data[2];
  std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
  if (length > rest.size()) length = rest.size();
  std::string_view text = rest.substr(0, length), index = rest.substr(length);

  // The substring search alone, with probes tuned to this text, with every
  // vector unit the processor has.
  lumo::locator::SubstringSearch search(text);
  search.tuneTo(index);
  std::size_t at = index.find(text);
  const char* first = text.empty() || at == std::string_view::npos ? nullptr : index.data() + at;
  using lumo::locator::VectorUnit;
  for (VectorUnit unit : {VectorUnit::None, VectorUnit::Sse2, VectorUnit::Avx2})
    if (unit <= lumo::locator::availableVectorUnit())
      check(search.findIn(index.data(), index.data() + index.size(), unit) == first);

  lumo::locator::MemorySource source(index, piece);
  lumo::locator::IndexScanner scanner(text, chunk);
  IndexEntry got;
  ScanResult result = scanner.find(source, got);
  Model want = model(text, index);
  check(result != ScanResult::Failed);
  check((result == ScanResult::Found) == want.found);
  if (!want.found) return 0;
  check(got.lineStart == want.entry.lineStart);
  check(got.separators == want.entry.separators);
  check(got.keyClosed == want.entry.keyClosed);
  check(got.key == want.entry.key);
  check(got.hasMarkField() == want.entry.hasMarkField());
  if (want.entry.hasMarkField())
    check(got.markOffset == want.entry.markOffset && got.mark == want.entry.mark);
  // The same scanner serves a second file.
  lumo::locator::MemorySource again(index);
  IndexEntry second;
  check(scanner.find(again, second) == ScanResult::Found && second.lineStart == got.lineStart);
  return 0;
}
