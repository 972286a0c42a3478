// Texts that reach the plug-in as C strings: the host's ids, headers and
// sources, profile names and values. Whatever follows a NUL is not part of
// them, however long the buffer that holds it.
#pragma once

#include <string_view>

namespace lumo {

// `text` up to its first NUL (all of it when it holds none).
constexpr std::string_view untilNul(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace lumo
