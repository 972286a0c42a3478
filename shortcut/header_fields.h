// Splits a mail header text into fields the way the MIME tree stores them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumo {

// The header fields of `text` in order, each with its continuation lines (lines
// that begin with a space or tab) joined into one entry, every physical line
// ending in CR LF ("\n", "\r\n" and a lone "\r" all count as line ends; a last
// line without one gets CR LF). The blank line that ends the header block is
// the last entry; nothing after it is read. Text after a NUL byte is ignored,
// as the host's texts end there. The entry count is the header line count of
// a shortcut id.
std::vector<std::string> splitHeaderFields(std::string_view text);

// True when `field` begins with `prefix`, compared without regard to ASCII case.
bool startsWithNoCase(std::string_view field, std::string_view prefix);

}  // namespace lumo
