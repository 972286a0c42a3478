// Window hooks: their installation and their procedures. Each procedure
// only translates the message for the rules of hook_decisions.h, carries out
// what they ask, and hands the message on to the next hook with its own hook
// handle. A message the rules leave alone costs no allocation and no file
// access: the hooks see every message of the host's user interface.
#include "ui/hooks.h"

#include "host/api/module_state.h"
#include "shortcut/session_state.h"
#include "ui/hook_actions.h"
#include "ui/hook_decisions.h"

namespace lumo {

HHOOK GetMessageHook = nullptr;
HHOOK CallWndProcHook = nullptr;
HHOOK ListCallWndProcHook = nullptr;
int DoubleClickArmed = 1;

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

void react(CommandReaction reaction) {
  if (reaction == CommandReaction::RefuseEdit)
    refuseDirectEdit();
  else if (reaction == CommandReaction::RemoveLinks)
    RemoveSelectedLinks();
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
  if (code >= 0 && message != 0) {
    const MSG& msg = *reinterpret_cast<const MSG*>(message);
    react(decideQueuedMessage(msg.message, msg.wParam, (removal & PM_REMOVE) != 0, ShortcutOpened != 0,
                              EditRefusalCount));
  }
  return CallNextHookEx(GetMessageHook, code, removal, message);
}

LRESULT CALLBACK CallWndProcHookProc(int code, WPARAM sentByThisThread, LPARAM message) {
  if (code == HC_ACTION && message != 0) {
    const CWPSTRUCT& sent = *reinterpret_cast<const CWPSTRUCT*>(message);
    react(decideSentMessage(sent.message, sent.wParam, ShortcutOpened != 0, EditRefusalCount));
  }
  return CallNextHookEx(CallWndProcHook, code, sentByThisThread, message);
}

LRESULT CALLBACK ListCallWndProcHookProc(int code, WPARAM sentByThisThread, LPARAM message) {
  if (code == HC_ACTION && message != 0) {
    const CWPSTRUCT& sent = *reinterpret_cast<const CWPSTRUCT*>(message);
    const NMHDR* header = sent.message == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(sent.lParam) : nullptr;
    switch (classifyListMessage(sent.message, header, ListWindow, DoubleClickArmed)) {
      case ListStep::Act:
        if (jumpOnDoubleClick()) DoubleClickArmed = !DoubleClickArmed;
        break;
      case ListStep::Rearm:
        DoubleClickArmed = !DoubleClickArmed;
        break;
      case ListStep::PassOn:
        break;
    }
  }
  return CallNextHookEx(ListCallWndProcHook, code, sentByThisThread, message);
}

}  // namespace lumo
