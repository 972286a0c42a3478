// Opening a shortcut mail: the host is shown the target mail in its place
// (with the shortcut's MEMO as an extra part when its "X-MEMO" is on), the
// link index line is kept in step, a moved target is found again, a shortcut
// whose target is gone can be deleted and a deleted one restored, and the
// mail view is taken out of edit mode. A mail that lost its shortcut headers
// gets them back from the link index.
#pragma once

#include "platform/win32.h"

namespace lumo {

// BKC_OnOpenMail: the host opens the mail `mailId`. Always 0; every effect on
// the host goes through its functions. Sets ShortcutOpened, MemoOpened and
// (unless a creation is pending) SelectedTargetId for the menus and hooks.
int OnOpenMail(const char* mailId);

// Shows the target `targetMailId` under "TEMP" with the MEMO of the shortcut
// being shown (the text after the first MEMO marker in the host's text of it)
// as an extra "MEMO.txt" part. 1 when shown with the MEMO part; 0 when the
// target's source was shown as it is (no marker, or a multipart target
// without a part of its own) or could not be read.
int ShowTargetWithMemo(const char* targetMailId);

// EnumChildWindows procedure: keeps the host's mail view editor (class
// "Edit", control id 114) in MailViewEditor and stops (0); 1 to go on.
BOOL CALLBACK FindMailViewEditor(HWND window, LPARAM unused);

}  // namespace lumo
