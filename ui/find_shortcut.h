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

// Selects the shortcut of the current mail. A recorded location that no
// longer holds a mail is searched, when it names a folder, for the
// shortcut's own Message-ID, and a hit is recorded as the new location. The
// recorded location is selected even when nothing is found; then the
// not-found box is shown, owned by `window`. `param` is not read.
void WINAPI FindShortcutOfSelected(HWND window, LPARAM param);

}  // namespace lumo
