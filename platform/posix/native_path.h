// Paths handed to the Linux stand-ins may be built the Windows way (the host's
// folder ids use "\" between folders): every "\" that is a separator in code
// page 932 is taken as one, as the Windows file functions read it. The second
// byte of a two-byte character ("ソ", "表") is 0x5C too but stays a byte of
// the name.
#pragma once

#include <string>

#include "text/cp932.h"

namespace lumo::platform {

inline std::string nativePath(const char* path) {
  std::string native(path ? path : "");
  for (std::size_t at = findCp932Separator(native); at != std::string::npos;
       at = findCp932Separator(native, at + 1))
    native[at] = '/';
  return native;
}

}  // namespace lumo::platform
