// The plug-in's three window hook procedures, installed at start on the
// threads of the host's main window and mail list.
#pragma once

#include "platform/win32.h"

namespace lumo {

// WH_GETMESSAGE hook on the main window's thread.
LRESULT CALLBACK GetMessageHookProc(int code, WPARAM removal, LPARAM message);
// WH_CALLWNDPROC hook on the main window's thread.
LRESULT CALLBACK CallWndProcHookProc(int code, WPARAM sentByThisThread, LPARAM message);
// WH_CALLWNDPROC hook on the mail list's thread.
LRESULT CALLBACK ListCallWndProcHookProc(int code, WPARAM sentByThisThread, LPARAM message);

}  // namespace lumo
