// ASCII letter case: header names, parameter names, profile keys and file
// name patterns compare without regard to it. Only the bytes A-Z and a-z
// fold; every other byte compares as it is, so "[" never equals "{" nor a
// byte above 0x7f its neighbour 0x20 away.
#pragma once

#include <string_view>

namespace lumo {

constexpr char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// True when `a` and `b` are the same text but for ASCII letter case.
bool equalsNoCase(std::string_view a, std::string_view b);

// True when `text` begins with `prefix`, compared without regard to ASCII case.
bool startsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace lumo
