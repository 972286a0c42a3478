// The hotkeys (see hotkeys.h).
#include "ui/hotkeys.h"

#include "host/api/host_api.h"
#include "host/api/user_messages.h"
#include "settings/settings_store.h"
#include "shortcut/creation.h"
#include "shortcut/creation_texts.h"
#include "shortcut/memo_notes.h"
#include "shortcut/session_state.h"
#include "ui/find_shortcut.h"
#include "ui/hook_decisions.h"
#include "ui/hook_texts.h"
#include "ui/select_mail.h"

namespace lumo {

int OnKeyDispatch(HWND, int key, int shiftState) {
  int slot = matchHotkey(HotkeyTable, key, shiftState);
  if (slot == NoHotkey) return 0;
  runHotkey(slot);
  return 1;
}

void runHotkey(int slot) {
  switch (slot) {
    case SlotMakeShortcuts:
      CollectSelectedMails();
      break;
    case SlotCreateInFolder: {
      const char* folder = HostApi.BKA_GetCurrentFolder();
      if (!CreatePendingInFolder(folder))
        showMessageBox(nullptr, creation_text::Failed, hook_text::CreationFailedTitle, MB_OK | MB_ICONHAND);
      break;
    }
    case SlotFindShortcut:
      FindShortcutOfSelected(nullptr, 0);
      break;
    case SlotJumpToTarget:
      selectMail(SelectedTargetId);
      break;
    case SlotEditMemo:
      if (!CreationPending && ShortcutOpened == 1) EditMemo(nullptr, 0);
      break;
    default:  // SlotMailList: taken, with nothing attached
      break;
  }
}

}  // namespace lumo
