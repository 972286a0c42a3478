// How the plug-in speaks to the user: message boxes, always task-modal and
// topmost under the title "Message from LuMO", and the host's status bar.
#pragma once

#include "platform/win32.h"

namespace lumo {

// The title of the plug-in's message boxes.
inline constexpr char MessageTitle[] = "Message from LuMO";

// Asks with OK and Cancel and no icon; true only when the user chose OK.
bool askOkCancel(HWND owner, const char* text);

// Tells the user something with an OK button and the information icon.
void showNotice(HWND owner, const char* text);

// Puts passing information into the host's status bar (no window).
void showStatus(const char* text);

}  // namespace lumo
