// Code page 932 (Shift-JIS), the plug-in's text encoding: the bytes that
// begin a two-byte character, whose second byte may look like ASCII ("ソ" and
// "表" end in 0x5C, the byte of "\\").
#pragma once

#include <cstddef>
#include <string_view>

namespace lumo {

// True for a lead byte: the byte after it is the second half of the same
// character, even when it looks like an ASCII letter.
inline bool isCp932LeadByte(char ch) {
  auto c = static_cast<unsigned char>(ch);
  return (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc);
}

// The length of the longest start of `text` of at most `limit` bytes that
// holds whole characters only: a two-byte character is kept whole or left
// out, and so is a lead byte that ends the text without its second byte (a
// text already cut inside a character). What follows the cut text can then
// never be swallowed into a broken character.
inline std::size_t cp932CutLength(std::string_view text, std::size_t limit) {
  std::size_t length = 0;
  while (length < limit && length < text.size()) {
    std::size_t width = isCp932LeadByte(text[length]) ? 2u : 1u;
    if (length + width > limit || length + width > text.size()) break;
    length += width;
  }
  return length;
}

// The first path separator "\\" of `text` at or after `from`, which must be
// the start of a character (0, or just after an earlier separator); npos when
// there is none. The second byte of a two-byte character is never one, even
// when it is 0x5C: a folder named "ソ" is one folder, not two.
inline std::size_t findCp932Separator(std::string_view text, std::size_t from = 0) {
  for (std::size_t i = from; i < text.size(); i += isCp932LeadByte(text[i]) ? 2u : 1u)
    if (text[i] == '\\') return i;
  return std::string_view::npos;
}

}  // namespace lumo
