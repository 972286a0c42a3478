// Text conversion between the plug-in's code page 932 bytes and the UTF-8
// used on the terminal and in scripts.
#pragma once

#include <string>
#include <string_view>

namespace lumo::hostsim {

// Bytes that cannot be converted come out as "?".
std::string cp932ToUtf8(std::string_view text);
std::string utf8ToCp932(std::string_view text);

}  // namespace lumo::hostsim
