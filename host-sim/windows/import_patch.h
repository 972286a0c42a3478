// Redirects a function a loaded module imports, by rewriting the slot of its
// import address table: the host watches what the plug-in asks of user32.
#pragma once

#include "platform/win32.h"

namespace lumo::hostsim {

// Points `module`'s import of `functionName` from `dllName` (any case) at
// `replacement`. False when the module does not import it by name.
bool replaceImport(HMODULE module, const char* dllName, const char* functionName, const void* replacement);

}  // namespace lumo::hostsim
