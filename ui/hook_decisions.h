// What the window hooks and the hotkeys decide, as plain functions of the
// message, a few flags and the host's answers. The hook procedures only
// translate the platform's messages into these calls and carry out the
// result, so every rule here is testable without windows.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/win32.h"
#include "settings/settings_store.h"

namespace lumo {

// Host command ids the hooks watch: direct editing of the mail on view, and
// the deletion of the selected mails.
inline constexpr unsigned CommandDirectEdit = 108;
inline constexpr unsigned CommandDelete = 32836;

// What a command message passing a main-thread hook asks the plug-in to do
// before it is handed on.
enum class CommandReaction {
  None,
  RefuseEdit,   // show the refusal, then let the next command pass once
  RemoveLinks,  // remove the link index lines of the selected shortcuts
};

// A message taken from (removed = true) or only looked at in (false) the
// main thread's queue. `refusalCount` is EditRefusalCount: lowered for each
// command that passes when taken, never left below 0.
CommandReaction decideQueuedMessage(UINT message, WPARAM wParam, bool removed, bool shortcutOpened,
                                    int& refusalCount);

// A message sent to a window of the main thread. Sent commands never lower
// `refusalCount`; a direct edit of a shortcut is refused whatever it holds.
CommandReaction decideSentMessage(UINT message, WPARAM wParam, bool shortcutOpened, int& refusalCount);

// What a message sent to the mail list's thread means for the double-click
// jump. Only NM_DBLCLK notifications from the list count; of those the
// first, third, fifth... act (the flag DoubleClickArmed is set) and the
// others only arm the next one.
enum class ListStep {
  PassOn,  // not a double-click from the list
  Rearm,   // a double-click that only sets the flag again
  Act,     // a double-click that may jump; the flag flips unless the folder is refused
};
ListStep classifyListMessage(UINT message, const NMHDR* header, HWND listWindow, int armed);

// The jump an acting double-click asks for, from the setting "RealMail",
// whether the mail on view is a shortcut and whether its target is known.
enum class DoubleClickJump {
  None,
  ToTarget,                 // select the shortcut's target
  ToTargetWhenStatusClear,  // the same, when the status test on the current mail passes
  BackWhenCurrentIsTarget,  // back to the shortcut, when the current mail is the target
};
DoubleClickJump chooseDoubleClickJump(bool realMail, bool shortcutOpened, bool targetKnown);

// The status test on an "X-B2-Status" value: its 17th to 24th characters
// are "00000000". A shorter value fails.
bool statusTestPasses(std::string_view status);

// Whether two mail ids name the same mail, ASCII letters compared without
// regard to case. The second byte of a two-byte character is compared
// exactly, so two different Japanese folder names never match.
bool sameMailId(std::string_view a, std::string_view b);

// The shift state a hotkey's modifier bits (1 Shift, 2 Ctrl, 4 Alt, 8
// extended) are matched against; combinations without their own state
// expect the modifier value itself.
int expectedShiftState(int modifiers);

// The first slot of `table` whose key code and expected shift state equal
// `key` and `shiftState`; NoHotkey when none does.
inline constexpr int NoHotkey = -1;
int matchHotkey(const std::uint16_t (&table)[HotkeyCount], int key, int shiftState);

// The hotkey slots, in the order of HotkeyTable.
enum HotkeySlot : int {
  SlotMakeShortcuts = 0,
  SlotCreateInFolder = 1,
  SlotFindShortcut = 2,
  SlotJumpToTarget = 3,
  SlotEditMemo = 4,
  SlotMailList = 5,
};

}  // namespace lumo
