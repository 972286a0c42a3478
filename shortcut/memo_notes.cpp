// The MEMO dialog and the MEMO commands, acting on the host's current mail.
#include "shortcut/memo_notes.h"

#include <memory>
#include <optional>
#include <string>

#include "host/api/host_api.h"
#include "host/api/host_text.h"
#include "host/api/module_state.h"
#include "host/api/user_messages.h"
#include "res/resource_ids.h"
#include "shortcut/memo_display.h"
#include "shortcut/memo_source.h"
#include "shortcut/memo_texts.h"
#include "shortcut/session_state.h"

namespace lumo {
namespace {

// The current mail's id, copied: the host's text may change with later calls.
std::optional<std::string> currentMailId() {
  const char* id = HostApi.BKA_GetCurrentMail();
  if (!id) return std::nullopt;
  return std::string(id);
}

// Has the host open the mail again, so that the changed note is shown.
void reselect(const std::string& mailId) { HostApi.BKA_SetCurrentMail(mailId.c_str()); }

void showStoredNote(HWND dialog) {
  std::optional<std::string> mailId = currentMailId();
  const char* source = mailId ? HostApi.BKA_GetSource(mailId->c_str()) : nullptr;
  if (!source) return;
  std::optional<std::string_view> note = memoText(source);
  if (!note) return;
  MemoOpened = 1;
  SetDlgItemTextA(dialog, IDC_MEMO_TEXT, std::string(*note).c_str());
}

// Stores the editor's text as the note. The note replaces a stored one, or is
// appended with the marker when the source holds none: typed text is never
// dropped, even when MemoOpened promised a note that is no longer there.
void storeTypedNote(HWND dialog) {
  std::unique_ptr<char[]> typed(new char[kMemoTextCapacity]);
  UINT length = GetDlgItemTextA(dialog, IDC_MEMO_TEXT, typed.get(), static_cast<int>(kMemoTextCapacity));
  if (length == 0) return;
  std::optional<std::string> mailId = currentMailId();
  const char* source = mailId ? HostApi.BKA_GetSource(mailId->c_str()) : nullptr;
  if (!source) return;
  std::string changed = sourceWithMemo(source, std::string_view(typed.get(), length));
  if (!setSourceText(mailId->c_str(), changed)) return;
  HostApi.BKA_SetSpecifiedHeader("X-MEMO", "ON");
}

// Deletes the note for good: the body goes back to the default.
void deleteNote(HWND owner, const std::string& mailId) {
  const char* source = HostApi.BKA_GetSource(mailId.c_str());
  std::optional<std::string> changed = source ? sourceWithoutMemo(source) : std::nullopt;
  if (!changed) {
    showMessageBox(owner, memo_text::DeleteFailed, memo_text::Caption, MB_OK | MB_ICONSTOP);
    return;
  }
  if (!setSourceText(mailId.c_str(), *changed)) return;
  HostApi.BKA_SetSpecifiedHeader("X-MEMO", "OFF");
}

// Hides the note: the source is handed back unchanged, only "X-MEMO" changes.
void hideNote(const std::string& mailId) {
  const char* source = HostApi.BKA_GetSource(mailId.c_str());
  if (source) setSourceText(mailId.c_str(), source);
  HostApi.BKA_SetSpecifiedHeader("X-MEMO", "OFF");
}

}  // namespace

void WINAPI EditMemo(HWND owner, LPARAM) {
  DialogBoxParamA(ModuleHandle, MAKEINTRESOURCEA(IDD_MEMO), owner, MemoDialogProc, 0);
  if (std::optional<std::string> mailId = currentMailId()) reselect(*mailId);
}

INT_PTR CALLBACK MemoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    showStoredNote(dialog);
    return TRUE;  // the system sets the focus
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK:
      storeTypedNote(dialog);
      EndDialog(dialog, IDOK);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

void WINAPI DeleteMemo(HWND owner, LPARAM) {
  std::optional<std::string> mailId = currentMailId();
  if (!mailId) return;
  if (askOkCancel(owner, memo_text::DeleteQuestion, memo_text::Caption, MB_ICONEXCLAMATION))
    deleteNote(owner, *mailId);
  else
    hideNote(*mailId);
  reselect(*mailId);
}

}  // namespace lumo
