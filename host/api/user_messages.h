// How the plug-in speaks to the user: message boxes, always task-modal and
// topmost under the title "Message from LuMO", and the host's status bar.
#pragma once

#include "platform/win32.h"

namespace lumo {

// The title of the plug-in's message boxes.
inline constexpr char MessageTitle[] = "Message from LuMO";

// Shows `text` under `caption` with the buttons and icon of `type`
// (MB_OKCANCEL, MB_ICONSTOP, ...) over `owner` (or none), task-modal and
// topmost; returns the button chosen (IDOK, IDCANCEL, ...).
int showMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Asks with OK and Cancel (and no icon unless given); true only when the
// user chose OK.
bool askOkCancel(HWND owner, const char* text, const char* caption = MessageTitle, UINT icon = 0);

// Tells the user something with an OK button and the information icon.
void showNotice(HWND owner, const char* text);

// Puts passing information into the host's status bar (no window).
void showStatus(const char* text);

}  // namespace lumo
