// The form of a shortcut id ("%x_%d": lower-case hexadecimal digits, "_",
// decimal digits).
#pragma once

#include <string_view>

namespace lumo {

// True when `id` has the form of a shortcut id and fits an id (kIdMax). Only
// such ids select or create link index lines.
bool isShortcutId(std::string_view id);

}  // namespace lumo
