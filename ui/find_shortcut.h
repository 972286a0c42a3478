// Finding the shortcut mail of the selected mail through the link index: the
// command behind "参照先の検索" and the hotkey "SCFindKey".
#pragma once

#include <string>

#include "linkindex/link_record.h"
#include "platform/win32.h"

namespace lumo {

// How the link index knows the selected mail: by the current mail's
// Message-ID header when it has one, else by the current mail id. Empty text
// when there is neither.
struct SelectedMailKey {
  std::string text;
  LinkFindKind kind = LinkFindKind::ByMessageId;
};
SelectedMailKey selectedMailKey();

// The shortcut of `record` (a line found in the link index) looked for in
// the folder its location names, by the shortcut's own Message-ID; a hit
// becomes the line's new location. The hit's mail id; empty when the
// location is a mail id (it holds "?" and names no folder), the line gives
// no such Message-ID, or the folder lacks it.
std::string relocateShortcut(const LinkRecord& record);

// Selects the shortcut of the current mail. A recorded location that no
// longer holds a mail is searched, when it names a folder, for the
// shortcut's own Message-ID, and a hit is recorded as the new location. The
// recorded location is selected even when nothing is found; then the
// not-found box is shown, owned by `window`. `param` is not read.
void WINAPI FindShortcutOfSelected(HWND window, LPARAM param);

}  // namespace lumo
