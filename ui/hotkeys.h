// The plug-in's six hotkeys, matched against every key press the host
// hands over.
#pragma once

#include "platform/win32.h"

namespace lumo {

// BKC_OnKeyDispatch: runs the command of the first hotkey slot matching the
// key and shift state, and takes the key (1) whatever the command's outcome;
// 0 when no slot matches. `window` is not read. A key that matches nothing
// costs no allocation and no file access.
int OnKeyDispatch(HWND window, int key, int shiftState);

// Runs the command of one hotkey slot (see HotkeySlot).
void runHotkey(int slot);

}  // namespace lumo
