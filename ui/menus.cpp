// The plug-in's menu items with the commands and state procedures behind them.
#include "ui/menus.h"

#include "shortcut/creation.h"
#include "shortcut/memo_notes.h"
#include "shortcut/session_state.h"
#include "ui/commands.h"
#include "ui/find_shortcut.h"
#include "ui/item_states.h"
#include "ui/menu_layout.h"

namespace lumo {
namespace {

// Indexed by PluginMenuItem.
constexpr MenuProcedureTable Procedures = {
    {OnCreateShortcutCommand, CreateItemState},           // CreateShortcut
    {FindShortcutOfSelected, FindItemState},              // FindShortcut
    {JumpToTargetCommand, ShortcutItemState},             // JumpToTarget
    {EditMemo, ShortcutItemState},                        // AddMemo
    {EditMemo, ShortcutItemState},                        // EditMemo
    {DeleteMemo, DeleteMemoItemState},                    // DeleteMemo
    {SetCreationFolderCommand, CreationFolderItemState},  // CreationFolder
    {SetRetrieveFolderCommand, RetrieveFolderItemState},  // RetrieveFolder
};

}  // namespace

int OnMenuInit(HWND, HMENU menu, int menuType) {
  MenuView view;
  view.shortcutOpened = ShortcutOpened != 0;
  view.memoOpened = MemoOpened != 0;
  view.creationPending = CreationPending != 0;
  addPluginItems(menu, menuType, view, Procedures);
  return 0;
}

}  // namespace lumo
