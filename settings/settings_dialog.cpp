// The setup dialog (see settings_dialog.h). While it is open it keeps its own
// copy of the six hotkeys and the slot being edited; only OK hands them on.
#include "settings/settings_dialog.h"

#include <array>
#include <cstring>

#include "host/api/host_api.h"
#include "host/api/module_state.h"
#include "host/api/user_messages.h"
#include "res/resource_ids.h"
#include "settings/settings_dialog_texts.h"
#include "settings/settings_store.h"
#include "text/cp932.h"

namespace lumo {
namespace {

// Each option's check box, in the order OK takes them.
struct OptionBox {
  int id;
  int SettingsValues::*value;
};
constexpr OptionBox kOptionBoxes[] = {
    {IDC_CRE_SC_MAIL_CHECK, &SettingsValues::creScMailCheck},
    {IDC_SUB_CH, &SettingsValues::subCh},
    {IDC_TO_DEL, &SettingsValues::toDel},
    {IDC_REAL_MAIL, &SettingsValues::realMail},
    {IDC_MSG_ST, &SettingsValues::msgSt},
    {IDC_SET_FOLDER, &SettingsValues::setFolder},
    {IDC_RET_FOLDER, &SettingsValues::retFolder},
};

// The modifier byte of Ctrl+Alt alone, which the dialog refuses.
constexpr int kCtrlAlt = 6;
constexpr int kNoSlot = -1;

// The open dialog's state: one modal dialog at a time.
std::uint16_t WorkingKeys[HotkeyCount];
int CurrentSlot = kNoSlot;

void setHotkeyField(HWND dialog, std::uint16_t code) {
  SendDlgItemMessageA(dialog, IDC_HOTKEY, HKM_SETHOTKEY, code, 0);
}

std::uint16_t hotkeyField(HWND dialog) {
  return static_cast<std::uint16_t>(SendDlgItemMessageA(dialog, IDC_HOTKEY, HKM_GETHOTKEY, 0, 0));
}

bool isChecked(HWND dialog, int id) {
  return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The folder's display name replaces the template's "none chosen" text,
// unless there is no folder or the host names it with empty text.
void showFolderName(HWND dialog, int id, const char* folderId) {
  if (folderId[0] == '\0') return;
  const char* name = HostApi.BKA_GetFolderDisplayName(folderId);
  if (name && name[0] != '\0') SetDlgItemTextA(dialog, id, name);
}

void fillHotkeyList(HWND dialog) {
  for (int slot = 0; slot < HotkeyCount; ++slot) {
    LRESULT at = SendDlgItemMessageA(dialog, IDC_HOTKEY_LIST, LB_INSERTSTRING, static_cast<WPARAM>(slot),
                                     reinterpret_cast<LPARAM>(settings_text::HotkeyCaptions[slot]));
    if (at >= 0) SendDlgItemMessageA(dialog, IDC_HOTKEY_LIST, LB_SETITEMDATA, static_cast<WPARAM>(at), slot);
  }
}

void initialise(HWND dialog) {
  SetDlgItemTextA(dialog, IDC_SC_TAG, Settings.scTag);
  showFolderName(dialog, IDC_SET_FOLDER_NAME, Settings.setScPath);
  showFolderName(dialog, IDC_RET_FOLDER_NAME, Settings.retScPath);
  for (const OptionBox& box : kOptionBoxes)
    SendDlgItemMessageA(dialog, box.id, BM_SETCHECK, Settings.*box.value ? BST_CHECKED : BST_UNCHECKED, 0);
  fillHotkeyList(dialog);
  std::memcpy(WorkingKeys, HotkeyTable, sizeof WorkingKeys);
  CurrentSlot = kNoSlot;
  setHotkeyField(dialog, 0);
}

// The key being edited goes back into its slot before another is chosen.
void keepFieldInSlot(HWND dialog) {
  if (CurrentSlot != kNoSlot) WorkingKeys[CurrentSlot] = hotkeyField(dialog);
}

// The slot carried by the selected list item, or none when nothing (or an
// item of no slot) is selected.
int selectedSlot(HWND dialog) {
  LRESULT at = SendDlgItemMessageA(dialog, IDC_HOTKEY_LIST, LB_GETCURSEL, 0, 0);
  if (at == LB_ERR) return kNoSlot;
  LRESULT slot = SendDlgItemMessageA(dialog, IDC_HOTKEY_LIST, LB_GETITEMDATA, static_cast<WPARAM>(at), 0);
  return slot >= 0 && slot < HotkeyCount ? static_cast<int>(slot) : kNoSlot;
}

// With no slot chosen the field is emptied, so that nothing typed there
// looks as if it belonged to a slot (it is dropped at OK).
void chooseSlot(HWND dialog) {
  keepFieldInSlot(dialog);
  CurrentSlot = selectedSlot(dialog);
  setHotkeyField(dialog, CurrentSlot == kNoSlot ? 0 : WorkingKeys[CurrentSlot]);
}

void refuseCtrlAlt(HWND dialog) {
  if ((hotkeyField(dialog) >> 8) != kCtrlAlt) return;
  showMessageBox(dialog, settings_text::KeyRefused, MessageTitle, MB_OK | MB_ICONSTOP);
  setHotkeyField(dialog, 0);
}

void noticeWhenChecked(HWND dialog, int id, const char* text) {
  if (isChecked(dialog, id)) showNotice(dialog, text);
}

// The typed tag, cut to the tag buffer without splitting a two-byte
// character; an empty field gives the default tag.
void takeTag(HWND dialog) {
  std::array<char, 2 * sizeof Settings.scTag> typed{};
  GetDlgItemTextA(dialog, IDC_SC_TAG, typed.data(), static_cast<int>(typed.size()));
  std::size_t length = cp932CutLength(typed.data(), sizeof Settings.scTag - 1);
  if (length == 0) {
    std::strcpy(Settings.scTag, "->");
    return;
  }
  std::memcpy(Settings.scTag, typed.data(), length);
  Settings.scTag[length] = '\0';
}

void storeAndClose(HWND dialog) {
  takeTag(dialog);
  keepFieldInSlot(dialog);
  for (const OptionBox& box : kOptionBoxes) Settings.*box.value = isChecked(dialog, box.id) ? 1 : 0;
  std::memcpy(HotkeyTable, WorkingKeys, sizeof WorkingKeys);
  writeDialogSettings(SettingsPath);
  EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR OpenSettingsDialog(HWND owner) {
  return DialogBoxParamA(ModuleHandle, MAKEINTRESOURCEA(IDD_SETTINGS), owner, SettingsDialogProc, 0);
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    initialise(dialog);
    return TRUE;  // the system puts the focus on the first control
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_HOTKEY_LIST:
      chooseSlot(dialog);
      return TRUE;
    case IDC_HOTKEY:
      refuseCtrlAlt(dialog);
      return TRUE;
    case IDC_MSG_ST:
      noticeWhenChecked(dialog, IDC_MSG_ST, settings_text::MsgStNotice);
      return TRUE;
    case IDC_SET_FOLDER:
      noticeWhenChecked(dialog, IDC_SET_FOLDER, settings_text::SetFolderNotice);
      return TRUE;
    case IDC_RET_FOLDER:
      noticeWhenChecked(dialog, IDC_RET_FOLDER, settings_text::RetFolderNotice);
      return TRUE;
    case IDOK:
      storeAndClose(dialog);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace lumo
