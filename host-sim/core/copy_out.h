// Hands a text to a caller's buffer the Win32 way.
#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/win32.h"

namespace lumo::hostsim {

// Copies `text` into `buffer` of `size` bytes, cut to fit and always
// terminated; returns the number of bytes copied (0 for no buffer).
inline int copyOut(std::string_view text, LPSTR buffer, std::size_t size) {
  if (!buffer || size == 0) return 0;
  std::size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

inline int copyOut(std::string_view text, LPSTR buffer, int size) {
  return size > 0 ? copyOut(text, buffer, static_cast<std::size_t>(size)) : 0;
}

}  // namespace lumo::hostsim
