// Blanks in mail headers: a space or a tab. A line that begins with one
// continues the header field above it, and blanks around a field's value are
// not part of it.
#pragma once

#include <string_view>

namespace lumo {

constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }

// `text` without its leading and trailing blanks.
constexpr std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace lumo
