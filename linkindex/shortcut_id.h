// The form of a shortcut id ("%x_%d": lower-case hexadecimal digits, "_",
// decimal digits).
#pragma once

#include <cstddef>
#include <string_view>

namespace lumo {

// Longest shortcut id accepted; ids live in 256-byte buffers elsewhere.
inline constexpr std::size_t kShortcutIdMax = 255;

// True when `id` has the form of a shortcut id and fits kShortcutIdMax. Only
// such ids select or create link index lines.
bool isShortcutId(std::string_view id);

}  // namespace lumo
