// Code page 932 (Shift-JIS), the plug-in's text encoding: the bytes that
// begin a two-byte character, whose second byte may look like ASCII.
#pragma once

namespace lumo {

// True for a lead byte: the byte after it is the second half of the same
// character, even when it looks like an ASCII letter.
inline bool isCp932LeadByte(char ch) {
  auto c = static_cast<unsigned char>(ch);
  return (c >= 0x81 && c <= 0x9f) || (c >= 0xe0 && c <= 0xfc);
}

}  // namespace lumo
