// Paths of the files kept beside the plug-in module.
#pragma once

#include <string_view>

namespace lumo {

// Writes `modulePath` with everything from its last "." replaced by
// `extension` (".ini", ".idx") into `out`; a path without "." gets the
// extension appended. The last "." of the whole path counts, even inside a
// directory name. When the result would not fit in `capacity` bytes with its
// terminating zero, `out` is made empty and the result is false: a cut path
// would name some other file.
bool deriveSidePath(std::string_view modulePath, std::string_view extension, char* out, int capacity);

}  // namespace lumo
