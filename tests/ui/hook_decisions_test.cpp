// The rules of the window hooks and hotkeys, without windows.
#include "ui/hook_decisions.h"

#include <gtest/gtest.h>

namespace lumo {
namespace {

constexpr WPARAM kEdit = CommandDirectEdit;
constexpr WPARAM kDelete = CommandDelete;

// --- Commands taken from or looked at in the main thread's queue ---

TEST(QueuedCommand, DirectEditOfShortcutIsRefusedOnlyWhenTaken) {
  int count = 0;
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, kEdit, false, true, count), CommandReaction::None);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, kEdit, true, true, count), CommandReaction::RefuseEdit);
  EXPECT_EQ(count, 0);  // the refusal itself sets the count
}

TEST(QueuedCommand, AfterARefusalTheNextCommandPassesAndTheOneAfterIsRefusedAgain) {
  int count = 1;  // as the refusal leaves it
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, kEdit, true, true, count), CommandReaction::None);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, kEdit, true, true, count), CommandReaction::RefuseEdit);
}

TEST(QueuedCommand, AnyCommandTakenLowersTheCountButNeverBelowZero) {
  int count = 2;  // as opening a shortcut in edit mode leaves it
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, 40001, true, true, count), CommandReaction::None);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, 40001, true, true, count), CommandReaction::None);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, 40001, true, true, count), CommandReaction::None);
  EXPECT_EQ(count, 0);
}

TEST(QueuedCommand, CommandsOnlyLookedAtChangeNothing) {
  int count = 2;
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, kDelete, false, true, count), CommandReaction::None);
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, kEdit, false, true, count), CommandReaction::None);
  EXPECT_EQ(count, 2);
}

TEST(QueuedCommand, DirectEditOfAnOrdinaryMailPasses) {
  int count = 0;
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, kEdit, true, false, count), CommandReaction::None);
  EXPECT_EQ(count, 0);
}

TEST(QueuedCommand, DeleteRemovesLinksWhenTakenWithOrWithoutAShortcutOnView) {
  int count = 1;
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, kDelete, true, true, count), CommandReaction::RemoveLinks);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, kDelete, true, false, count), CommandReaction::RemoveLinks);
  EXPECT_EQ(count, 0);
}

TEST(QueuedCommand, TheIdIsTheLowWordOfTheFirstParameter) {
  int count = 0;
  // A notification code in the high word (menu 0, accelerator 1) is not part of the id.
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, (1u << 16) | kDelete, true, false, count),
            CommandReaction::RemoveLinks);
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, (1u << 16) | kEdit, true, true, count),
            CommandReaction::RefuseEdit);
  EXPECT_EQ(decideQueuedMessage(WM_COMMAND, kDelete + 0x10000u * 3 + 1, true, false, count),
            CommandReaction::None);
}

TEST(QueuedCommand, OtherMessagesOnlyMendANegativeCount) {
  int count = -3;
  EXPECT_EQ(decideQueuedMessage(WM_NOTIFY, kDelete, true, true, count), CommandReaction::None);
  EXPECT_EQ(count, 0);
  count = 2;
  EXPECT_EQ(decideQueuedMessage(0x0100 /* WM_KEYDOWN */, kEdit, true, true, count), CommandReaction::None);
  EXPECT_EQ(count, 2);
}

// --- Commands sent to the main thread ---

TEST(SentCommand, DirectEditOfShortcutIsRefusedWhateverTheCount) {
  for (int start : {0, 1, 2}) {
    int count = start;
    EXPECT_EQ(decideSentMessage(WM_COMMAND, kEdit, true, count), CommandReaction::RefuseEdit);
    EXPECT_EQ(count, start);  // sent commands never lower it
  }
}

TEST(SentCommand, DeleteRemovesLinksAndOrdinaryEditPasses) {
  int count = 0;
  EXPECT_EQ(decideSentMessage(WM_COMMAND, kDelete, false, count), CommandReaction::RemoveLinks);
  EXPECT_EQ(decideSentMessage(WM_COMMAND, kDelete, true, count), CommandReaction::RemoveLinks);
  EXPECT_EQ(decideSentMessage(WM_COMMAND, kEdit, false, count), CommandReaction::None);
  EXPECT_EQ(decideSentMessage(WM_COMMAND, 40001, true, count), CommandReaction::None);
  count = -1;
  EXPECT_EQ(decideSentMessage(WM_NOTIFY, kEdit, true, count), CommandReaction::None);
  EXPECT_EQ(count, 0);
}

// --- Double-click notifications on the mail list's thread ---

class ListMessages : public ::testing::Test {
 protected:
  HWND list = reinterpret_cast<HWND>(0x1002);
  HWND other = reinterpret_cast<HWND>(0x1003);
  NMHDR header(HWND from, long long code) { return NMHDR{from, 102, static_cast<UINT>(code)}; }
};

TEST_F(ListMessages, DoubleClicksFromTheListAlternateBetweenActingAndRearming) {
  NMHDR dbl = header(list, NM_DBLCLK);
  EXPECT_EQ(classifyListMessage(WM_NOTIFY, &dbl, list, 1), ListStep::Act);
  EXPECT_EQ(classifyListMessage(WM_NOTIFY, &dbl, list, 0), ListStep::Rearm);
}

TEST_F(ListMessages, EverythingElsePassesOn) {
  NMHDR fromOther = header(other, NM_DBLCLK);
  NMHDR click = header(list, -2 /* NM_CLICK */);
  NMHDR dbl = header(list, NM_DBLCLK);
  EXPECT_EQ(classifyListMessage(WM_NOTIFY, &fromOther, list, 1), ListStep::PassOn);
  EXPECT_EQ(classifyListMessage(WM_NOTIFY, &click, list, 1), ListStep::PassOn);
  EXPECT_EQ(classifyListMessage(WM_COMMAND, &dbl, list, 1), ListStep::PassOn);
  EXPECT_EQ(classifyListMessage(WM_NOTIFY, nullptr, list, 1), ListStep::PassOn);
  // Before the list is known, no notification comes from it.
  NMHDR fromNowhere = header(nullptr, NM_DBLCLK);
  EXPECT_EQ(classifyListMessage(WM_NOTIFY, &fromNowhere, nullptr, 1), ListStep::PassOn);
}

TEST(DoubleClickJump, RealMailOnJumpsToTheTargetOrBackToTheShortcut) {
  EXPECT_EQ(chooseDoubleClickJump(true, true, true), DoubleClickJump::ToTarget);
  EXPECT_EQ(chooseDoubleClickJump(true, false, true), DoubleClickJump::BackWhenCurrentIsTarget);
}

TEST(DoubleClickJump, RealMailOffJumpsOnlyFromAShortcutWithClearStatus) {
  EXPECT_EQ(chooseDoubleClickJump(false, true, true), DoubleClickJump::ToTargetWhenStatusClear);
  EXPECT_EQ(chooseDoubleClickJump(false, false, true), DoubleClickJump::None);
}

TEST(DoubleClickJump, WithoutAKnownTargetNothingHappens) {
  for (bool realMail : {false, true})
    for (bool opened : {false, true})
      EXPECT_EQ(chooseDoubleClickJump(realMail, opened, false), DoubleClickJump::None);
}

TEST(StatusTest, EightZerosAtTheSeventeenthToTwentyFourthCharacter) {
  EXPECT_TRUE(statusTestPasses("0123456789ABCDEF00000000"));
  EXPECT_TRUE(statusTestPasses("0123456789ABCDEF00000000tail"));
  EXPECT_FALSE(statusTestPasses("00000000"));
  EXPECT_FALSE(statusTestPasses("0123456789ABCDEF0000000"));  // 23 characters
  EXPECT_FALSE(statusTestPasses("0123456789ABCDEF00000001"));
  EXPECT_FALSE(statusTestPasses("0123456789ABCDE00000000X"));  // zeros one place early
  EXPECT_FALSE(statusTestPasses(""));
}

TEST(SameMailId, LettersMatchInAnyCaseButTwoByteCharactersOnlyExactly) {
  EXPECT_TRUE(sameMailId("Box.mb\\Inbox\\?0000001A", "box.MB\\inbox\\?0000001a"));
  EXPECT_FALSE(sameMailId("Box.mb\\Inbox\\?1", "Box.mb\\Inbox\\?2"));
  EXPECT_FALSE(sameMailId("Box.mb\\Inbox\\?1", "Box.mb\\Inbox\\?12"));
  // "ア" (83 41) and "ャ" (83 61): the second bytes read as "A" and "a".
  EXPECT_FALSE(sameMailId("B.mb\\\x83\x41\\?1", "B.mb\\\x83\x61\\?1"));
  EXPECT_TRUE(sameMailId("B.mb\\\x83\x41\\?1", "b.mb\\\x83\x41\\?1"));
  // A lead byte at the very end stands alone.
  EXPECT_TRUE(sameMailId("x\x83", "X\x83"));
  EXPECT_TRUE(sameMailId("", ""));
}

// --- Hotkeys ---

TEST(Hotkeys, ExpectedShiftStates) {
  EXPECT_EQ(expectedShiftState(0), 0);
  EXPECT_EQ(expectedShiftState(1), 0x40);
  EXPECT_EQ(expectedShiftState(2), 0x20);
  EXPECT_EQ(expectedShiftState(3), 0x60);
  EXPECT_EQ(expectedShiftState(4), 0xFE);
  EXPECT_EQ(expectedShiftState(5), 0xFF);
  for (int unchanged : {6, 7, 8, 9, 15, 0xFF}) EXPECT_EQ(expectedShiftState(unchanged), unchanged);
}

TEST(Hotkeys, CtrlFMatchesOnlyKeyFWithCtrlState) {
  std::uint16_t table[HotkeyCount] = {0, 0, 0x0246, 0, 0, 0};
  EXPECT_EQ(matchHotkey(table, 0x46, 0x20), SlotFindShortcut);
  EXPECT_EQ(matchHotkey(table, 0x46, 0x40), NoHotkey);
  EXPECT_EQ(matchHotkey(table, 0x46, 0x00), NoHotkey);
  EXPECT_EQ(matchHotkey(table, 0x47, 0x20), NoHotkey);
  EXPECT_EQ(matchHotkey(table, 0x246, 0x20), NoHotkey);  // the key is the low byte alone
}

TEST(Hotkeys, ShiftAndAltCombinations) {
  std::uint16_t table[HotkeyCount] = {0x0146, 0x0441, 0x0542, 0x0343, 0x0844, 0x0645};
  EXPECT_EQ(matchHotkey(table, 0x46, 0x40), SlotMakeShortcuts);
  EXPECT_EQ(matchHotkey(table, 0x41, 0xFE), SlotCreateInFolder);
  EXPECT_EQ(matchHotkey(table, 0x42, 0xFF), SlotFindShortcut);
  EXPECT_EQ(matchHotkey(table, 0x43, 0x60), SlotJumpToTarget);
  EXPECT_EQ(matchHotkey(table, 0x44, 0x08), SlotEditMemo);  // extended key: expected unchanged
  EXPECT_EQ(matchHotkey(table, 0x45, 0x06), SlotMailList);  // Ctrl+Alt: expected unchanged
  EXPECT_EQ(matchHotkey(table, 0x41, 0x04), NoHotkey);
}

TEST(Hotkeys, TheLowerOfTwoEqualSlotsWins) {
  std::uint16_t table[HotkeyCount] = {0, 0, 0, 0x0246, 0x0246, 0};
  EXPECT_EQ(matchHotkey(table, 0x46, 0x20), SlotJumpToTarget);
}

TEST(Hotkeys, AnEmptyTableMatchesOnlyKeyZeroWithoutShift) {
  std::uint16_t table[HotkeyCount] = {};
  EXPECT_EQ(matchHotkey(table, 0, 0), SlotMakeShortcuts);
  EXPECT_EQ(matchHotkey(table, 0, 0x20), NoHotkey);
  EXPECT_EQ(matchHotkey(table, 0x46, 0), NoHotkey);
}

}  // namespace
}  // namespace lumo
