// Finding the shortcut mail of the selected mail through the link index: the
// command behind "参照先の検索" and the hotkey "SCFindKey".
#pragma once

#include "platform/win32.h"

namespace lumo {

// Selects the shortcut of the current mail, found in the link index by the
// mail's Message-ID or else its mail id. A recorded location that no longer
// holds a mail is searched, when it names a folder, for the shortcut's own
// Message-ID, and a hit is recorded as the new location. The recorded
// location is selected even when nothing is found; then the not-found box is
// shown, owned by `window`. `param` is not read.
void WINAPI FindShortcutOfSelected(HWND window, LPARAM param);

}  // namespace lumo
