// Window hooks: their installation and their procedures. Each procedure hands
// the message on to the next hook with its own hook handle; the plug-in's
// reactions to host commands hang off these.
#include "ui/hooks.h"

#include "host/api/module_state.h"

namespace lumo {

HHOOK GetMessageHook = nullptr;
HHOOK CallWndProcHook = nullptr;
HHOOK ListCallWndProcHook = nullptr;

namespace {

HHOOK installHook(int kind, HOOKPROC proc, HWND window) {
  DWORD thread = window ? GetWindowThreadProcessId(window, nullptr) : 0;
  if (thread == 0) return nullptr;
  return SetWindowsHookExA(kind, proc, ModuleHandle, thread);
}

void removeHook(HHOOK& hook) {
  if (hook) UnhookWindowsHookEx(hook);
  hook = nullptr;
}

}  // namespace

void installHooks(HWND mainWindow, HWND listWindow) {
  GetMessageHook = installHook(WH_GETMESSAGE, GetMessageHookProc, mainWindow);
  CallWndProcHook = installHook(WH_CALLWNDPROC, CallWndProcHookProc, mainWindow);
  ListCallWndProcHook = installHook(WH_CALLWNDPROC, ListCallWndProcHookProc, listWindow);
}

void removeHooks() {
  removeHook(GetMessageHook);
  removeHook(CallWndProcHook);
  removeHook(ListCallWndProcHook);
}

LRESULT CALLBACK GetMessageHookProc(int code, WPARAM removal, LPARAM message) {
  return CallNextHookEx(GetMessageHook, code, removal, message);
}

LRESULT CALLBACK CallWndProcHookProc(int code, WPARAM sentByThisThread, LPARAM message) {
  return CallNextHookEx(CallWndProcHook, code, sentByThisThread, message);
}

LRESULT CALLBACK ListCallWndProcHookProc(int code, WPARAM sentByThisThread, LPARAM message) {
  return CallNextHookEx(ListCallWndProcHook, code, sentByThisThread, message);
}

}  // namespace lumo
