// Paths handed to the Linux stand-ins may be built the Windows way (the host's
// folder ids use "\" between folders): every "\" is taken as a separator.
#pragma once

#include <string>

namespace lumo::platform {

inline std::string nativePath(const char* path) {
  std::string native(path ? path : "");
  for (char& c : native)
    if (c == '\\') c = '/';
  return native;
}

}  // namespace lumo::platform
