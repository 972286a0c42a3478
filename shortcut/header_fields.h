// Matching header field names the way the shortcut format does.
#pragma once

#include <string_view>

namespace lumo {

// True when `field` begins with `prefix`, compared without regard to ASCII case.
bool startsWithNoCase(std::string_view field, std::string_view prefix);

}  // namespace lumo
