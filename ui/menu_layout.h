// Where the plug-in's items go in the host's mail-list and folder-tree menus,
// and how they are put there: each item's command and state procedure are
// registered with the host, then the item is inserted by position after a
// fixed host item (the anchor).
#pragma once

#include "host/api/host_functions.h"
#include "platform/win32.h"

namespace lumo {

// The host's menu types the plug-in adds to, and their anchor items.
inline constexpr int MailListMenu = 1;    // acts on the selected mails
inline constexpr int FolderTreeMenu = 2;  // acts on the selected folder
inline constexpr UINT MailListAnchor = 57642;
inline constexpr UINT FolderTreeAnchor = 32798;

enum class PluginMenuItem : int {
  CreateShortcut,
  FindShortcut,
  JumpToTarget,
  AddMemo,
  EditMemo,
  DeleteMemo,
  CreationFolder,
  RetrieveFolder,
};
inline constexpr int PluginMenuItemCount = 8;

// The caption and the status-bar text of an item.
struct PluginMenuText {
  const char* caption;
  const char* statusText;
};
const PluginMenuText& menuItemText(PluginMenuItem item);

// What the mail-list menu shows depends on the mail on view and on a pending
// creation, as they are when the host prepares the menu.
struct MenuView {
  bool shortcutOpened = false;
  bool memoOpened = false;
  bool creationPending = false;
};

// One insertion, at the anchor's position plus `offset` (past the end of the
// menu appends): a separator or an item.
struct MenuInsertion {
  bool separator = false;
  PluginMenuItem item = PluginMenuItem::CreateShortcut;
  UINT offset = 0;
};

// The insertions for a menu, in the order they are made. Each one counts its
// position in the menu as the insertions before it left it, so two items put
// at the same offset end up in the reverse order of insertion.
struct MenuPlan {
  MenuInsertion steps[5];
  int count = 0;
};

// The plan for the menu type; empty for types other than 1 and 2.
MenuPlan planMenu(int menuType, const MenuView& view);

// The position of the first item whose command id is `anchorId`, or the
// item count when there is none; -1 for a menu the system does not know.
int findMenuAnchor(HMENU menu, UINT anchorId);

// The command and state procedure of each item, indexed by PluginMenuItem.
struct MenuProcedures {
  LumoCommandProc command;
  LumoStateProc state;
};
using MenuProcedureTable = MenuProcedures[PluginMenuItemCount];

// Carries out the plan for the menu type: registers every item it inserts
// (command with its status text and the menu type, then its state procedure)
// and inserts it with the id the host gave. Other menu types, and a menu the
// system does not know, are left alone and nothing is registered.
void addPluginItems(HMENU menu, int menuType, const MenuView& view, const MenuProcedureTable& procedures);

}  // namespace lumo
