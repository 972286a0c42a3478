// Process-wide state of the plug-in's module that every layer may read: its
// handle, the two files beside it and the host's mail list window.
#pragma once

#include "platform/win32.h"

namespace lumo {

// Capacity of a file path, terminating zero included.
inline constexpr int PathCapacity = MAX_PATH;

// Recorded on every load notification; dialogs and hooks are made with it.
extern HINSTANCE ModuleHandle;
// The settings file and the link index: the module's path with its extension
// replaced by ".ini" and ".idx". Empty when the module path could not be
// taken or the derived path would not fit.
extern char SettingsPath[PathCapacity];
extern char LinkIndexPath[PathCapacity];
// The host's mail list (third of its window handles), kept at start.
extern HWND ListWindow;

}  // namespace lumo
