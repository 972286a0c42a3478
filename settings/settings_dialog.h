// The setup dialog (template IDD_SETTINGS): shows the options, the subject
// tag, the two chosen folders and the six hotkeys, and on OK stores them in
// memory and in the settings file; Cancel changes nothing.
#pragma once

#include "platform/win32.h"

namespace lumo {

// Shows the dialog modally over `owner`; IDOK after OK, IDCANCEL after
// Cancel.
INT_PTR OpenSettingsDialog(HWND owner);

// The dialog's procedure; commands are told apart by control id alone.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace lumo
