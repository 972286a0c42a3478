// Window hook procedures. Each hands the message on to the next hook with its
// own hook handle; the plug-in's reactions to host commands hang off these.
#include "ui/hooks.h"

#include "host/module_state.h"

namespace lumo {

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
