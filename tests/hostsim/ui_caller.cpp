#include "ui_caller.h"

#include <cstring>

namespace {

HINSTANCE self = nullptr;
UiDialogOutcome* current = nullptr;

void fill(HWND dialog) {
  SetDlgItemTextA(dialog, 1004, "init");
  SendDlgItemMessageA(dialog, 1000, BM_SETCHECK, BST_CHECKED, 0);
  const char* names[] = {"one", "two", "three"};
  for (int i = 0; i < 3; ++i) {
    LRESULT at = SendDlgItemMessageA(dialog, 1200, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
    SendDlgItemMessageA(dialog, 1200, LB_SETITEMDATA, static_cast<WPARAM>(at), (i + 1) * 10);
  }
  SendDlgItemMessageA(dialog, 1300, HKM_SETHOTKEY, 0x0242, 0);
}

void collect(HWND dialog) {
  GetDlgItemTextA(dialog, 1004, current->text, sizeof current->text);
  current->checked = static_cast<int>(SendDlgItemMessageA(dialog, 1000, BM_GETCHECK, 0, 0));
  LRESULT at = SendDlgItemMessageA(dialog, 1200, LB_GETCURSEL, 0, 0);
  current->selectedData =
      at == LB_ERR ? -1 : SendDlgItemMessageA(dialog, 1200, LB_GETITEMDATA, static_cast<WPARAM>(at), 0);
  current->hotkey = SendDlgItemMessageA(dialog, 1300, HKM_GETHOTKEY, 0, 0);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    fill(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK:
      collect(dialog);
      EndDialog(dialog, IDOK);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    case 1100:
      current->askAnswer = MessageBoxA(dialog, "Sure?", "Caller", MB_YESNO | MB_ICONQUESTION);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

// Windows calls this when it maps the library; elsewhere nothing does and the
// module handle stays null, which the in-memory window system does not need.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) self = module;
  return TRUE;
}

HMODULE uiCallerModule() { return self; }

int uiShowBox(HWND owner, LPCSTR text, LPCSTR title, UINT type) {
  return MessageBoxA(owner, text, title, type);
}

HHOOK uiSetHook(int kind, HOOKPROC proc, DWORD thread) { return SetWindowsHookExA(kind, proc, self, thread); }

BOOL uiUnhook(HHOOK hook) { return UnhookWindowsHookEx(hook); }

INT_PTR uiRunDialog(HWND owner, UiDialogOutcome* outcome) {
  std::memset(outcome, 0, sizeof *outcome);
  current = outcome;
  INT_PTR result = DialogBoxParamA(self, MAKEINTRESOURCEA(100), owner, dialogProc, 0);
  current = nullptr;
  return result;
}
