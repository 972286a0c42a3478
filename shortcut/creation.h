// Making shortcut mails: one shortcut for one target (LumoMakeShortCut, also
// exported for other software in the host's process), and the three ways in
// which users get them made: the command for the selected mails, which waits
// for the destination folder to be opened (or uses the fixed creation
// folder), and automatic creation for retrieved mails.
//
// The creation state lives in shortcut/session_state.h. Everything runs on
// the host's user-interface thread.
#pragma once

#include "platform/win32.h"

namespace lumo {

// Makes the shortcut of the mail `mailId` in the folder `folderId`: composes
// it from the target's header, raises and writes "Lumo-Count", hands it to
// the host, looks its mail id up in the folder's index and appends its line
// to the link index. The host's answer to the append is not examined: the
// look-up tells whether the mail is there, and a shortcut not found is
// recorded without its own mail id. 1 when the shortcut was handed over and
// recorded; 0 when nothing was created (unknown folder, no header, a mail id
// without "\\", a counter or link line that cannot be written beforehand, a
// Message-ID whose shortcut Message-ID would not fit an id) and also 0 when
// the mail was handed over and counted but its link line could not be
// written. Shows nothing.
int LumoMakeShortCut(const char* mailId, const char* folderId);

// The command "ショートカットの作成": while a creation is pending, offers to
// cancel it; otherwise asks to start (unless "MsgSt" is on) and takes the
// selection. Both questions are owned by `window`; `param` is not read.
void WINAPI OnCreateShortcutCommand(HWND window, LPARAM param);

// Takes the host's selection in the current folder: creates the shortcuts at
// once in the fixed creation folder, or leaves them pending for the folder
// the user opens next. Tells the count in the status bar.
void CollectSelectedMails();

// Creates the pending shortcuts in `folderId` (never in the folder they were
// selected in) and ends the pending creation. 1 when every one was made; 0
// when any failed or nothing was pending.
int CreatePendingInFolder(const char* folderId);

// BKC_OnOpenFolder: a pending creation asks to go ahead in the opened folder.
int OnOpenFolder(const char* folderId);

// BKC_OnRetrieve: a shortcut of each retrieved mail in the retrieval folder,
// unless its folder ignores unread mails and "CreSCMailCheck" is on.
int OnRetrieve(const char* message, const char* mailId);

}  // namespace lumo
