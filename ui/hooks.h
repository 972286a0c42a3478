// The plug-in's three window hooks, installed at start on the threads of the
// host's main window and mail list, and removed at exit.
#pragma once

#include "platform/win32.h"

namespace lumo {

// Handles of the installed hooks, null while not installed.
extern HHOOK GetMessageHook;
extern HHOOK CallWndProcHook;
extern HHOOK ListCallWndProcHook;

// 1 while the next double-click notification from the mail list may jump;
// each one from the list flips it, so every second one only re-arms it.
// Starts armed and lives for the process.
extern int DoubleClickArmed;

// Installs a WH_GETMESSAGE and a WH_CALLWNDPROC hook on the main window's
// thread and a WH_CALLWNDPROC hook on the mail list's thread. A window whose
// thread cannot be found gets no hook: a hook without a thread would be a
// system-wide one, loading the plug-in into every other process.
void installHooks(HWND mainWindow, HWND listWindow);
// Removes the installed hooks in the order of installation.
void removeHooks();

// The hook procedures hand every message on unchanged, with their own hook
// handle, and return what the next hook returns. On the way they refuse the
// direct editing of a shortcut, remove the links of deleted shortcuts
// (command 32836) and turn double-clicks in the mail list into jumps.

// WH_GETMESSAGE hook on the main window's thread.
LRESULT CALLBACK GetMessageHookProc(int code, WPARAM removal, LPARAM message);
// WH_CALLWNDPROC hook on the main window's thread.
LRESULT CALLBACK CallWndProcHookProc(int code, WPARAM sentByThisThread, LPARAM message);
// WH_CALLWNDPROC hook on the mail list's thread.
LRESULT CALLBACK ListCallWndProcHookProc(int code, WPARAM sentByThisThread, LPARAM message);

}  // namespace lumo
