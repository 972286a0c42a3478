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

// Reads into `record` the link of the current mail: by the key above, except
// that a line whose target is the current mail itself, with the same
// Message-ID, comes before the first line of that Message-ID. Copies of one
// mail share their Message-ID and each may have a shortcut of its own. false
// when no line is found (the record then holds the last line read).
bool findLinkOfSelected(LinkRecord& record);

// Selects the shortcut of the current mail. A recorded location that no
// longer holds a mail is searched, when it names a folder, for the
// shortcut's own Message-ID, and a hit is recorded as the new location. The
// recorded location is selected even when nothing is found; then the
// not-found box is shown, owned by `window`. `param` is not read.
void WINAPI FindShortcutOfSelected(HWND window, LPARAM param);

}  // namespace lumo
