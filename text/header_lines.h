// Walking the lines of a mail's header block: CR LF, lone CR or lone LF
// lines, up to the empty line that ends the block.
#pragma once

#include <cstddef>
#include <string_view>

namespace lumo {

// Calls visit(offset) with the start of every line of the header block, in
// order, until visit returns true or the block ends (at an empty line or the
// end of `header`).
template <typename Visit>
void forEachHeaderLine(std::string_view header, Visit visit) {
  std::size_t lineStart = 0;
  while (lineStart < header.size()) {
    if (visit(lineStart)) return;
    std::string_view rest = header.substr(lineStart);
    if (rest.substr(0, 2) == "\r\n" || rest.substr(0, 1) == "\n") return;  // end of the header block
    std::size_t end = header.find_first_of("\r\n", lineStart);
    if (end == std::string_view::npos) return;
    lineStart = end + 1;
    if (header[end] == '\r' && lineStart < header.size() && header[lineStart] == '\n') ++lineStart;
  }
}

}  // namespace lumo
