// The folder index reader of index_scan.h for many texts at once: one pass
// over the index finds, for every text, the first line holding it, by the
// same rules and with the same bounded buffer as the single search.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "resolve/locator/index_scan.h"
#include "resolve/locator/text_set.h"

namespace lumo::locator {

class IndexMultiScanner {
 public:
  // The first line holding one of the texts.
  struct TextLine {
    std::size_t text;  // index into the texts given
    IndexEntry entry;
  };

  explicit IndexMultiScanner(const std::vector<std::string_view>& texts,
                             std::size_t chunk = IndexScanner::kDefaultChunk);

  // For every text whose `wanted` flag is set, finds the first line holding
  // it that `check` accepts (every line without a check; a line that names
  // no mail is taken without asking) and appends it to `lines` (texts
  // without such a line get none; an empty text or one with a line feed is
  // held by none). The read stops once every wanted text has its line.
  // False when the source could not be read (`lines` may then hold some
  // texts' lines already).
  bool scan(ByteSource& source, const std::vector<bool>& wanted, std::vector<TextLine>& lines,
            LineCheck* check = nullptr);

 private:
  // The fields of the line at `lineStart`: from the buffer as far as the
  // window holds them, then from the source.
  bool readEntry(ByteSource& source, std::uint64_t lineStart, const ScanWindow& window, IndexEntry& entry);

  std::vector<std::string_view> texts_;
  TextSetSearch set_;
  std::vector<std::size_t> lengths_;
  std::vector<bool> endsInCr_;
  std::vector<bool> searchable_;
  bool tuned_ = false;
  std::size_t chunk_;
  std::vector<char> buffer_;
  std::vector<char> scratch_;
  std::vector<TextSetSearch::Hit> hits_;
  // Per text during one scan: 1 decided, 2 waiting for the next fill.
  std::vector<unsigned char> state_;
  // Per text during one scan: lines that start before this were refused.
  std::vector<std::uint64_t> refusedUpTo_;
};

}  // namespace lumo::locator
