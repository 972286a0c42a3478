// The plug-in's items in the host's menus: where they go for every state of
// the mail on view, what is registered for each, and which menus are left
// alone. The items' procedures are stand-ins here, so that the layout is
// checked apart from what the commands do.
#include "ui/menu_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host-sim/core/cp932.h"
#include "host-sim/core/fixture.h"

namespace {

using lumo::MenuView;
using lumo::PluginMenuItem;
using lumo::hostsim::cp932ToUtf8;
using Items = std::vector<std::string>;

template <int N>
void WINAPI commandStandIn(HWND, LPARAM) {}
template <int N>
UINT WINAPI stateStandIn(HWND, LPARAM) {
  return N;
}

const lumo::MenuProcedureTable StandIns = {
    {commandStandIn<0>, stateStandIn<10>}, {commandStandIn<1>, stateStandIn<11>},
    {commandStandIn<2>, stateStandIn<12>}, {commandStandIn<3>, stateStandIn<13>},
    {commandStandIn<4>, stateStandIn<14>}, {commandStandIn<5>, stateStandIn<15>},
    {commandStandIn<6>, stateStandIn<16>}, {commandStandIn<7>, stateStandIn<17>},
};

// The host's menus as the substitute host builds them.
const std::vector<lumo::hostsim::MenuItem> MailList = {
    {101, "Open", false}, {108, "Edit", false}, {57642, "Select All", false}, {103, "Properties", false}};
const std::vector<lumo::hostsim::MenuItem> FolderTree = {
    {32790, "New Folder", false}, {32798, "Properties", false}, {32800, "Empty Trash", false}};

const std::string Create = "ショートカットの作成";
const std::string Find = "参照先の検索";
const std::string Jump = "リンク先のメールを表示";
const std::string AddMemo = "MEMOを追加";
const std::string EditMemo = "MEMOを編集";
const std::string DeleteMemo = "MEMOを削除";
const std::string CreationFolder = "ショートカットの作成先に設定";
const std::string RetrieveFolder = "受信時作成先に設定";

class MenuLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fx.loadLinkedPlugin()); }

  // Builds a menu of the host's items, lets the plug-in add its own and
  // returns the captions in UTF-8 ("---" for a separator).
  Items build(int type, const MenuView& view, const std::vector<lumo::hostsim::MenuItem>& hostItems) {
    HMENU menu = fx.windows().createMenu(hostItems);
    lumo::addPluginItems(menu, type, view, StandIns);
    last = fx.windows().menuItems(menu);
    fx.windows().destroyMenu(menu);
    Items captions;
    for (const auto& item : last) captions.push_back(item.separator ? "---" : cp932ToUtf8(item.caption));
    return captions;
  }

  lumo::hostsim::HostFixture fx;
  std::vector<lumo::hostsim::MenuItem> last;
};

MenuView view(bool shortcut, bool memo, bool pending) {
  MenuView v;
  v.shortcutOpened = shortcut;
  v.memoOpened = memo;
  v.creationPending = pending;
  return v;
}

TEST_F(MenuLayoutTest, MailListItemsFollowTheMailOnViewForEveryCombination) {
  const Items before = {"Open", "Edit", "Select All", "---"};
  for (bool shortcut : {false, true})
    for (bool memo : {false, true})
      for (bool pending : {false, true}) {
        SCOPED_TRACE(::testing::Message()
                     << "shortcut " << shortcut << " memo " << memo << " pending " << pending);
        Items plugin;
        if (!shortcut) {
          plugin = {Create, Find};  // an ordinary mail, memo and pending aside
        } else {
          if (pending) plugin.push_back(Create);  // to cancel the creation
          plugin.insert(plugin.end(), {Jump, memo ? EditMemo : AddMemo, DeleteMemo});
        }
        Items expected = before;
        expected.insert(expected.end(), plugin.begin(), plugin.end());
        expected.push_back("Properties");
        EXPECT_EQ(build(1, view(shortcut, memo, pending), MailList), expected);
      }
}

TEST_F(MenuLayoutTest, FolderTreeItemsFollowItsPropertiesItem) {
  EXPECT_EQ(build(2, view(true, true, true), FolderTree),
            (Items{"New Folder", "Properties", "---", RetrieveFolder, CreationFolder, "Empty Trash"}));
}

// Without the anchor the positions count from the end of the host's items:
// an insertion past the end appends, one that falls inside the plug-in's
// items lands there, as positions do.
TEST_F(MenuLayoutTest, WithoutTheAnchorTheItemsAreAppended) {
  const std::vector<lumo::hostsim::MenuItem> noAnchor = {{101, "Open", false}, {103, "Properties", false}};
  EXPECT_EQ(build(1, view(false, false, false), noAnchor),
            (Items{"Open", "Properties", "---", Find, Create}));
  EXPECT_EQ(build(1, view(true, false, true), noAnchor),
            (Items{"Open", "Properties", "---", Jump, Create, AddMemo, DeleteMemo}));
  EXPECT_EQ(build(2, view(false, false, false), {}), (Items{"---", CreationFolder, RetrieveFolder}));
  // The tree menu's anchor is no anchor in the mail list's menu.
  EXPECT_EQ(build(1, view(false, false, false), FolderTree),
            (Items{"New Folder", "Properties", "Empty Trash", "---", Find, Create}));
}

TEST_F(MenuLayoutTest, TheAnchorIsTheFirstItemWithItsId) {
  const std::vector<lumo::hostsim::MenuItem> twice = {
      {57642, "Select All", false}, {101, "Open", false}, {57642, "Select All again", false}};
  EXPECT_EQ(build(1, view(false, false, false), twice),
            (Items{"Select All", "---", Create, Find, "Open", "Select All again"}));
  EXPECT_EQ(build(1, view(false, false, false), {{57642, "Select All", false}}),
            (Items{"Select All", "---", Create, Find}));
}

TEST_F(MenuLayoutTest, OtherMenusAreLeftAloneAndNothingIsRegistered) {
  const Items host = {"Open", "Edit", "Select All", "Properties"};
  for (int type : {0, 3, -1, 100}) {
    SCOPED_TRACE(type);
    EXPECT_EQ(build(type, view(false, false, false), MailList), host);
  }
  EXPECT_TRUE(fx.host().commands.empty());
}

TEST_F(MenuLayoutTest, EachItemIsRegisteredWithItsTextsMenuTypeAndProcedures) {
  struct Case {
    int type;
    MenuView view;
    std::vector<PluginMenuItem> items;  // in menu order
  };
  const Case cases[] = {
      {1, view(false, false, false), {PluginMenuItem::CreateShortcut, PluginMenuItem::FindShortcut}},
      {1,
       view(true, true, true),
       {PluginMenuItem::CreateShortcut, PluginMenuItem::JumpToTarget, PluginMenuItem::EditMemo,
        PluginMenuItem::DeleteMemo}},
      {1,
       view(true, false, false),
       {PluginMenuItem::JumpToTarget, PluginMenuItem::AddMemo, PluginMenuItem::DeleteMemo}},
      {2, view(false, false, false), {PluginMenuItem::RetrieveFolder, PluginMenuItem::CreationFolder}},
  };
  const std::string statusTexts[lumo::PluginMenuItemCount] = {
      "選択中のメールのショートカットを作成します。",
      "選択中のメールのショートカットを検索します。",
      "リンク先のメールにジャンプします。",
      "選択中のショートカットにMEMOを追加します。",
      "選択中のショートカットにMEMOを編集します。",
      "選択中のショートカットのMEMOを削除します。",
      "選択中のフォルダをショートカット作成用に設定します。",
      "選択中のフォルダをショートカットの受信時作成先に設定します。",
  };
  for (const Case& c : cases) {
    auto registeredBefore = fx.host().commands.size();
    build(c.type, c.view, c.type == 1 ? MailList : FolderTree);
    ASSERT_EQ(fx.host().commands.size() - registeredBefore, c.items.size());
    std::vector<lumo::hostsim::MenuItem> added;
    for (const auto& item : last)
      if (!item.separator && fx.host().command(item.id)) added.push_back(item);
    ASSERT_EQ(added.size(), c.items.size());
    for (std::size_t i = 0; i < added.size(); ++i) {
      int index = static_cast<int>(c.items[i]);
      SCOPED_TRACE(index);
      const lumo::hostsim::RegisteredCommand* command = fx.host().command(added[i].id);
      ASSERT_NE(command, nullptr);
      EXPECT_EQ(cp932ToUtf8(command->statusText), statusTexts[index]);
      EXPECT_EQ(command->menuType, c.type);
      EXPECT_EQ(command->proc, StandIns[index].command);
      EXPECT_EQ(command->state, StandIns[index].state);
      EXPECT_EQ(fx.host().itemState(added[i].id), static_cast<UINT>(10 + index));
    }
  }
}

// The host asks again at every menu it prepares, and gets new ids each time.
TEST_F(MenuLayoutTest, EveryPreparationRegistersAnew) {
  build(2, view(false, false, false), FolderTree);
  std::vector<lumo::hostsim::MenuItem> first = last;
  build(2, view(false, false, false), FolderTree);
  EXPECT_EQ(fx.host().commands.size(), 4u);
  ASSERT_EQ(first.size(), last.size());
  EXPECT_NE(first[3].id, last[3].id);
  EXPECT_EQ(first[3].caption, last[3].caption);
}

}  // namespace
