// The plug-in's menu items: their texts, where they go, and their insertion.
#include "ui/menu_layout.h"

#include "host/api/host_api.h"
#include "ui/menu_texts.h"

namespace lumo {
namespace {

constexpr PluginMenuText Texts[PluginMenuItemCount] = {
    {menu_text::CreateCaption, menu_text::CreateStatus},
    {menu_text::FindCaption, menu_text::FindStatus},
    {menu_text::JumpCaption, menu_text::JumpStatus},
    {menu_text::AddMemoCaption, menu_text::AddMemoStatus},
    {menu_text::EditMemoCaption, menu_text::EditMemoStatus},
    {menu_text::DeleteMemoCaption, menu_text::DeleteMemoStatus},
    {menu_text::CreationFolderCaption, menu_text::CreationFolderStatus},
    {menu_text::RetrieveFolderCaption, menu_text::RetrieveFolderStatus},
};

void add(MenuPlan& plan, PluginMenuItem item, UINT offset) {
  plan.steps[plan.count++] = {false, item, offset};
}

void addSeparator(MenuPlan& plan, UINT offset) { plan.steps[plan.count++] = {true, {}, offset}; }

// Mail-list menu. After the anchor and a separator: "create" and "find" for
// an ordinary mail; "jump", the MEMO item and "delete MEMO" for a shortcut;
// a pending creation keeps "create" in front of the shortcut's items, so
// that it can be cancelled.
MenuPlan planMailListMenu(const MenuView& view) {
  MenuPlan plan;
  addSeparator(plan, 1);
  if (view.shortcutOpened) {
    add(plan, PluginMenuItem::JumpToTarget, 2);
    add(plan, view.memoOpened ? PluginMenuItem::EditMemo : PluginMenuItem::AddMemo, 3);
    add(plan, PluginMenuItem::DeleteMemo, 4);
  } else {
    add(plan, PluginMenuItem::FindShortcut, 2);
  }
  if (view.creationPending || !view.shortcutOpened) add(plan, PluginMenuItem::CreateShortcut, 2);
  return plan;
}

// Folder-tree menu: after the anchor and a separator, "retrieve folder" and
// then "creation folder".
MenuPlan planFolderTreeMenu() {
  MenuPlan plan;
  addSeparator(plan, 1);
  add(plan, PluginMenuItem::CreationFolder, 2);
  add(plan, PluginMenuItem::RetrieveFolder, 2);
  return plan;
}

}  // namespace

const PluginMenuText& menuItemText(PluginMenuItem item) { return Texts[static_cast<int>(item)]; }

MenuPlan planMenu(int menuType, const MenuView& view) {
  if (menuType == MailListMenu) return planMailListMenu(view);
  if (menuType == FolderTreeMenu) return planFolderTreeMenu();
  return {};
}

int findMenuAnchor(HMENU menu, UINT anchorId) {
  int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position)
    if (GetMenuItemID(menu, position) == anchorId) return position;
  return count;
}

void addPluginItems(HMENU menu, int menuType, const MenuView& view, const MenuProcedureTable& procedures) {
  MenuPlan plan = planMenu(menuType, view);
  if (plan.count == 0) return;
  int anchor = findMenuAnchor(menu, menuType == MailListMenu ? MailListAnchor : FolderTreeAnchor);
  if (anchor < 0) return;
  for (int i = 0; i < plan.count; ++i) {
    const MenuInsertion& step = plan.steps[i];
    UINT position = static_cast<UINT>(anchor) + step.offset;
    if (step.separator) {
      InsertMenuA(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const PluginMenuText& text = menuItemText(step.item);
    const MenuProcedures& procs = procedures[static_cast<int>(step.item)];
    UINT id = HostApi.BKA_RegisterCommand(text.statusText, menuType, procs.command);
    HostApi.BKA_RegisterUICallback(id, procs.state);
    InsertMenuA(menu, position, MF_BYPOSITION | MF_STRING, id, text.caption);
  }
}

}  // namespace lumo
