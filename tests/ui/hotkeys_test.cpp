// The six hotkeys through BKC_OnKeyDispatch, as the substitute host hands
// the plug-in a key press (Linux, the plug-in linked in).
#include <cstring>
#include <string>

#include "shortcut/creation_texts.h"
#include "ui/hook_decisions.h"
#include "ui/hook_texts.h"
#include "ui/menu_texts.h"
#include "ui/plugin_on_host.h"

namespace lumo {
namespace {

class Hotkeys : public testing::PluginOnHost {
 protected:
  std::string target;

  void SetUp() override {
    PluginOnHost::SetUp();
    target = fx.addMail(inbox, fx.mailSource("Target", "<t1@example.com>"));
    Settings.msgSt = 1;  // no confirmations around creation
  }

  // Presses a key; returns BKC_OnKeyDispatch's result (1: the key was taken).
  int press(int key, int shift) {
    run("key " + std::to_string(key) + " " + std::to_string(shift));
    return fx.run("expect result 1").empty() ? 1 : 0;
  }
};

TEST_F(Hotkeys, CtrlFOnTheJumpSlotSelectsTheTargetAndTakesTheKey) {
  HotkeyTable[SlotJumpToTarget] = 0x0246;
  std::strcpy(SelectedTargetId, target.c_str());
  EXPECT_EQ(press(0x46, 0x40), 0);  // Shift+F: not this hotkey
  EXPECT_EQ(host().currentMail, "");
  EXPECT_EQ(press(0x46, 0x20), 1);
  EXPECT_EQ(host().currentMail, target);
}

TEST_F(Hotkeys, TheLowerOfTwoSlotsWithOneCodeRuns) {
  HotkeyTable[SlotJumpToTarget] = 0x0146;
  HotkeyTable[SlotEditMemo] = 0x0146;  // would open the MEMO dialog (none is queued)
  ShortcutOpened = 1;
  std::strcpy(SelectedTargetId, target.c_str());
  EXPECT_EQ(press(0x46, 0x40), 1);
  EXPECT_EQ(host().currentMail, target);
  EXPECT_TRUE(fx.windows().dialogs().empty());
}

TEST_F(Hotkeys, TheMemoSlotOpensTheDialogOnlyForAShortcutOutsideACreation) {
  HotkeyTable[SlotEditMemo] = 0x044D;  // Alt+M
  EXPECT_EQ(press(0x4D, 0xFE), 1);     // no shortcut on view: taken, nothing opens
  ShortcutOpened = 1;
  CreationPending = 1;
  EXPECT_EQ(press(0x4D, 0xFE), 1);
  EXPECT_TRUE(fx.windows().dialogs().empty());
  CreationPending = 0;
  run("dialog cancel");
  EXPECT_EQ(press(0x4D, 0xFE), 1);
  ASSERT_EQ(fx.windows().dialogs().size(), 1u);
  EXPECT_EQ(fx.windows().dialogs()[0].templateId, 102);
}

TEST_F(Hotkeys, TheFindSlotRunsTheFindCommandWithoutAWindow) {
  HotkeyTable[SlotFindShortcut] = 0x0246;
  run("open-mail " + target + "\nanswer OK");  // no shortcut of it is recorded
  EXPECT_EQ(press(0x46, 0x20), 1);
  ASSERT_EQ(boxes(), 1u);
  EXPECT_EQ(lastBox().text, menu_text::ShortcutNotFound);
  EXPECT_EQ(lastBox().owner, nullptr);
}

TEST_F(Hotkeys, TheMailListSlotTakesTheKeyAndDoesNothing) {
  HotkeyTable[SlotMailList] = 0x0541;
  EXPECT_EQ(press(0x41, 0xFF), 1);
  EXPECT_EQ(boxes(), 0u);
  EXPECT_EQ(host().currentMail, "");
}

TEST_F(Hotkeys, TheFolderSlotWithoutAPendingCreationTellsOfTheFailure) {
  HotkeyTable[SlotCreateInFolder] = 0x0243;
  // Creation first says that no mail was taken, then the hotkey that it failed.
  run("open-folder " + links + "\nanswer OK OK");
  EXPECT_EQ(press(0x43, 0x20), 1);
  ASSERT_EQ(boxes(), 2u);
  const hostsim::MessageBoxRecord& box = lastBox();
  EXPECT_EQ(box.title, "Message From LuMO");
  EXPECT_EQ(box.text, creation_text::Failed);
  EXPECT_EQ(box.type, 0x42010u);
  EXPECT_EQ(box.owner, nullptr);
}

TEST_F(Hotkeys, TheMakeSlotTakesTheSelectionAndTheFolderSlotCreatesItsShortcuts) {
  HotkeyTable[SlotMakeShortcuts] = 0x0253;   // Ctrl+S
  HotkeyTable[SlotCreateInFolder] = 0x0244;  // Ctrl+D
  run("open-folder " + inbox + "\nselect @1");
  EXPECT_EQ(press(0x53, 0x20), 1);
  EXPECT_EQ(CreationPending, 1);
  host().currentFolder = links;  // the user went to the destination (no plug-in call)
  EXPECT_EQ(press(0x44, 0x20), 1);
  EXPECT_EQ(CreationPending, 0);
  EXPECT_EQ(fx.store().mailIds(links).size(), 1u);
  EXPECT_EQ(boxes(), 0u);
}

TEST_F(Hotkeys, AnEmptyTableTakesOnlyKeyZeroWithoutShift) {
  EXPECT_EQ(press(0x46, 0x20), 0);
  EXPECT_EQ(press(0, 0x20), 0);
}

}  // namespace
}  // namespace lumo
