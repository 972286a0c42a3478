// The state procedures: the conditions read afresh at every call.
#include "ui/item_states.h"

#include "resolve/locator/locator.h"
#include "settings/settings_store.h"
#include "shortcut/session_state.h"

namespace lumo {

ItemConditions currentItemConditions() {
  ItemConditions c;
  c.creationPending = CreationPending != 0;
  c.shortcutOpened = ShortcutOpened != 0;
  c.memoOpened = MemoOpened != 0;
  c.usableFolder = IsUsableFolder(nullptr);
  c.creationFolderOn = Settings.setFolder != 0;
  c.retrieveFolderOn = Settings.retFolder != 0;
  c.creationFolderChosen = Settings.setScPath[0] != '\0';
  c.retrieveFolderChosen = Settings.retScPath[0] != '\0';
  return c;
}

UINT WINAPI CreateItemState(HWND, LPARAM) { return createItemState(currentItemConditions()); }
UINT WINAPI FindItemState(HWND, LPARAM) { return findItemState(currentItemConditions()); }
UINT WINAPI ShortcutItemState(HWND, LPARAM) { return shortcutItemState(currentItemConditions()); }
UINT WINAPI DeleteMemoItemState(HWND, LPARAM) { return deleteMemoItemState(currentItemConditions()); }
UINT WINAPI CreationFolderItemState(HWND, LPARAM) { return creationFolderItemState(currentItemConditions()); }
UINT WINAPI RetrieveFolderItemState(HWND, LPARAM) { return retrieveFolderItemState(currentItemConditions()); }

}  // namespace lumo
