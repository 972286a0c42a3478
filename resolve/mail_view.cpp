// The host's mail view editor: found once by walking the main window's
// descendants, and taken out of edit mode while a shortcut is shown.
#include <cstring>

#include "host/api/host_api.h"
#include "resolve/open_mail.h"
#include "resolve/open_steps.h"
#include "shortcut/session_state.h"

namespace lumo {
namespace {

constexpr int kMailViewEditorId = 114;
// Command messages the hooks let pass after "EditMode" before they refuse
// direct editing again.
constexpr int kCommandsLetPass = 2;

}  // namespace

BOOL CALLBACK FindMailViewEditor(HWND window, LPARAM) {
  char className[31] = "";
  GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "Edit") != 0 || GetDlgCtrlID(window) != kMailViewEditorId) return TRUE;
  MailViewEditor = window;
  return FALSE;
}

void leaveEditMode() {
  if (!MailViewEditor) {
    HWND windows[4] = {};
    HostApi.BKA_GetWindowHandles(&windows[0], &windows[1], &windows[2], &windows[3]);
    if (windows[0]) EnumChildWindows(windows[0], FindMailViewEditor, 0);
  }
  if (!MailViewEditor || (GetWindowLongA(MailViewEditor, GWL_STYLE) & ES_READONLY) != 0) return;
  EditRefusalCount = kCommandsLetPass;
  HostApi.BKA_Command(nullptr, "EditMode");
}

}  // namespace lumo
