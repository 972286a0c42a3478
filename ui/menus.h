// The plug-in's items in the host's menus (BKC_OnMenuInit).
#pragma once

#include "platform/win32.h"

namespace lumo {

// Adds the plug-in's items to the mail-list menu (type 1) or the folder-tree
// menu (type 2) as the host prepares it, registering their commands and state
// procedures anew each time. Other menus are left alone. Returns 0.
int OnMenuInit(HWND window, HMENU menu, int menuType);

}  // namespace lumo
