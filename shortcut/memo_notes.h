// The MEMO commands on the host's current mail (a shortcut): adding or
// editing its note in the MEMO dialog, and deleting or hiding it.
#pragma once

#include "platform/win32.h"

namespace lumo {

// Command "MEMOを追加" / "MEMOを編集" (and its hotkey, with no owner): runs the
// MEMO dialog over `owner`, then selects the current mail again, so that the
// host opens it anew and shows the changed note. The parameter is not read.
void WINAPI EditMemo(HWND owner, LPARAM param);

// The MEMO dialog. Initialisation puts the stored note (the text after the
// first MEMO marker of the current mail's source) into the editor and sets
// MemoOpened when there is one. OK stores the editor's text (at most 63999
// bytes) as the note and sets "X-MEMO" to "ON": in place of the stored note,
// or appended with the marker when there is none. An empty editor changes
// nothing, so emptying it never deletes a note. Cancel changes nothing. The
// results are IDOK and IDCANCEL.
INT_PTR CALLBACK MemoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Command "MEMOを削除": asks over `owner` whether to delete the note for good.
// OK: the body becomes the default shortcut body again and "X-MEMO" "OFF"
// (a source without an empty line after its header block cannot be cut and
// is left alone, with a stop box). Cancel hides the note: it stays in the
// source and only "X-MEMO" becomes "OFF". Either way the mail is selected
// again. The parameter is not read.
void WINAPI DeleteMemo(HWND owner, LPARAM param);

}  // namespace lumo
