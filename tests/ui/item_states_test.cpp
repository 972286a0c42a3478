// The state procedures as the host calls them: the creation and view flags,
// the folder settings and the host's current folder, read at every call.
#include "ui/item_states.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host-sim/core/fixture.h"
#include "settings/settings_store.h"
#include "shortcut/session_state.h"

namespace {

using lumo::ItemChecked;
using lumo::ItemDisabled;

class ItemStatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fx.loadLinkedPlugin());
    reset();
  }
  void TearDown() override { reset(); }
  static void reset() {
    lumo::Settings = lumo::SettingsValues();
    lumo::CreationPending = lumo::ShortcutOpened = lumo::MemoOpened = 0;
  }
  // The six procedures' answers, in the order create, find, shortcut,
  // delete MEMO, creation folder, retrieval folder.
  std::vector<UINT> states() {
    HWND w = fx.windows().mainWindow();
    return {lumo::CreateItemState(w, 0),         lumo::FindItemState(w, 0),
            lumo::ShortcutItemState(w, 0),       lumo::DeleteMemoItemState(w, 0),
            lumo::CreationFolderItemState(w, 0), lumo::RetrieveFolderItemState(w, 0)};
  }

  lumo::hostsim::HostFixture fx;
};

using States = std::vector<UINT>;

// Every item that depends on the folder is disabled where the plug-in does
// not act: no folder, a mailbox alone, a special folder other than the inbox.
TEST_F(ItemStatesTest, TheCurrentFolderDecidesWhereItemsAct) {
  lumo::ShortcutOpened = lumo::MemoOpened = 1;
  lumo::Settings.setFolder = lumo::Settings.retFolder = 1;
  struct Case {
    const char* folder;
    bool usable;
  } cases[] = {
      {"", false},
      {"Sample.mb\\", false},
      {"Sample.mb\\!Trash\\", false},
      {"Sample.mb\\Work\\!Drafts\\", false},
      {"Sample.mb\\!!!!Inbox\\", true},
      {"Sample.mb\\!!!!Inbox\\Sub\\", true},
      {"Sample.mb\\Work\\", true},
      {"Sample.mb\\Work\\Projects\\", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    fx.host().currentFolder = c.folder;
    // A shortcut on view, no creation pending: create and find are off anyway.
    UINT on = c.usable ? 0 : ItemDisabled;
    EXPECT_EQ(states(), (States{ItemDisabled, ItemDisabled, on, on, on, on}));
  }
}

TEST_F(ItemStatesTest, FlagsAndSettingsAreReadAtEveryCall) {
  fx.host().currentFolder = "Sample.mb\\Work\\";
  EXPECT_EQ(states(), (States{0, 0, 1, 1, 1, 1}));
  lumo::CreationPending = 1;
  EXPECT_EQ(states(), (States{ItemChecked, 1, 1, 1, 1, 1}));
  lumo::CreationPending = 0;
  lumo::ShortcutOpened = 1;
  lumo::MemoOpened = 1;
  EXPECT_EQ(states(), (States{1, 1, 0, 0, 1, 1}));
  lumo::Settings.setFolder = 1;
  std::strcpy(lumo::Settings.retScPath, "Sample.mb\\Inbox\\");
  EXPECT_EQ(states(), (States{1, 1, 0, 0, 0, ItemDisabled | ItemChecked}));
}

}  // namespace
