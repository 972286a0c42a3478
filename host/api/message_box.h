// The plug-in's message boxes: always task-modal and topmost, so that they
// stay in front of the host and block it until answered.
#pragma once

#include "platform/win32.h"

namespace lumo {

// Shows `text` under `caption` with the buttons and icon of `type`
// (MB_OKCANCEL, MB_ICONSTOP, ...) over `owner` (or none); returns the button
// chosen (IDOK, IDCANCEL, ...).
int showMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Asks with OK and Cancel; true only when the user chose OK.
bool askOkCancel(HWND owner, const char* text, const char* caption, UINT icon = 0);

}  // namespace lumo
