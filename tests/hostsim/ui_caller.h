// A small library that makes user-interface calls as the plug-in makes them,
// from a module of its own: the window-system tests drive it through the
// substitute host's windows on either platform.
#pragma once

#include <string>

#include "platform/win32.h"

extern "C" {

// What the test dialog held when OK closed it, and the answer of the box its
// "Ask" button (id 1100) showed.
struct UiDialogOutcome {
  char text[64];
  int checked;
  LRESULT selectedData;
  LRESULT hotkey;
  int askAnswer;
};

LUMO_PROGRAM_EXPORT HMODULE uiCallerModule();
LUMO_PROGRAM_EXPORT int uiShowBox(HWND owner, LPCSTR text, LPCSTR title, UINT type);
LUMO_PROGRAM_EXPORT HHOOK uiSetHook(int kind, HOOKPROC proc, DWORD thread);
LUMO_PROGRAM_EXPORT BOOL uiUnhook(HHOOK hook);
// Opens dialog 100: edit 1004 "init", check box 1000 checked, list 1200 with
// "one" "two" "three" carrying 10 20 30, hot-key control 1300 at Ctrl+B.
LUMO_PROGRAM_EXPORT INT_PTR uiRunDialog(HWND owner, UiDialogOutcome* outcome);
}
