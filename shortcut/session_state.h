// What the user has in hand, shared by creation, opening, MEMO notes, menus
// and hooks: a shortcut creation waiting for its destination folder, and the
// shortcut mail on view. Process-wide plain values, set only on the host's
// user-interface thread.
#pragma once

#include "mime/mime_line.h"
#include "platform/win32.h"

namespace lumo {

// Capacity of a folder or mail id buffer, terminating zero included.
inline constexpr int IdCapacity = 256;

// Creation of shortcuts for selected mails.
// 1 while the selection waits for the user to open the destination folder.
extern int CreationPending;
// While pending: the selected mail when exactly one was selected, empty when
// several were. Otherwise: the target of the shortcut opened last.
extern char SelectedTargetId[IdCapacity];
// While pending with several mails: their ids in selection order, one line
// each without line end; empty otherwise.
extern MimeLineList PendingMailList;
// The folder the selection was taken from, and the current mail's subject
// then (shown in the confirmation question).
extern char PendingSourceFolder[IdCapacity];
extern char PendingSubject[IdCapacity];

// The mail on view.
// 1 while the mail opened last is a shortcut mail.
extern int ShortcutOpened;
// 1 while that shortcut's MEMO is shown (or the MEMO dialog found one).
extern int MemoOpened;
// The host's mail view editor, found once and kept.
extern HWND MailViewEditor;
// Command messages the hooks let pass before refusing direct editing again.
extern int EditRefusalCount;

}  // namespace lumo
