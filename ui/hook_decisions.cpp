// The rules of the window hooks and the hotkeys (see hook_decisions.h).
#include "ui/hook_decisions.h"

#include "text/ascii_case.h"
#include "text/cp932.h"

namespace lumo {
namespace {

unsigned commandId(WPARAM wParam) { return static_cast<unsigned>(wParam & 0xFFFF); }

}  // namespace

CommandReaction decideQueuedMessage(UINT message, WPARAM wParam, bool removed, bool shortcutOpened,
                                    int& refusalCount) {
  CommandReaction reaction = CommandReaction::None;
  if (message == WM_COMMAND) {
    unsigned id = commandId(wParam);
    if (id == CommandDirectEdit && shortcutOpened && refusalCount == 0) {
      // Only looked at: the refusal waits until the command is taken.
      if (!removed) return CommandReaction::None;
      reaction = CommandReaction::RefuseEdit;
    } else if (removed) {
      --refusalCount;
      if (id == CommandDelete) reaction = CommandReaction::RemoveLinks;
    }
  }
  if (refusalCount < 0) refusalCount = 0;
  return reaction;
}

CommandReaction decideSentMessage(UINT message, WPARAM wParam, bool shortcutOpened, int& refusalCount) {
  CommandReaction reaction = CommandReaction::None;
  if (message == WM_COMMAND) {
    unsigned id = commandId(wParam);
    if (id == CommandDirectEdit && shortcutOpened)
      reaction = CommandReaction::RefuseEdit;
    else if (id == CommandDelete)
      reaction = CommandReaction::RemoveLinks;
  }
  if (refusalCount < 0) refusalCount = 0;
  return reaction;
}

ListStep classifyListMessage(UINT message, const NMHDR* header, HWND listWindow, int armed) {
  if (message != WM_NOTIFY || header == nullptr || header->code != static_cast<UINT>(NM_DBLCLK))
    return ListStep::PassOn;
  if (listWindow == nullptr || header->hwndFrom != listWindow) return ListStep::PassOn;
  return armed ? ListStep::Act : ListStep::Rearm;
}

DoubleClickJump chooseDoubleClickJump(bool realMail, bool shortcutOpened, bool targetKnown) {
  if (!targetKnown) return DoubleClickJump::None;
  if (realMail) return shortcutOpened ? DoubleClickJump::ToTarget : DoubleClickJump::BackWhenCurrentIsTarget;
  return shortcutOpened ? DoubleClickJump::ToTargetWhenStatusClear : DoubleClickJump::None;
}

bool statusTestPasses(std::string_view status) {
  return status.size() >= 24 && status.substr(16, 8) == "00000000";
}

bool sameMailId(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (isCp932LeadByte(a[i]) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (asciiLower(a[i]) != asciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

int expectedShiftState(int modifiers) {
  switch (modifiers) {
    case 1:
      return 0x40;  // Shift
    case 2:
      return 0x20;  // Ctrl
    case 3:
      return 0x60;  // Shift+Ctrl
    case 4:
      return 0xFE;  // Alt
    case 5:
      return 0xFF;  // Shift+Alt
    default:
      return modifiers;
  }
}

int matchHotkey(const std::uint16_t (&table)[HotkeyCount], int key, int shiftState) {
  for (int slot = 0; slot < HotkeyCount; ++slot) {
    int code = table[slot] & 0xFF;
    int modifiers = table[slot] >> 8;
    if (key == code && shiftState == expectedShiftState(modifiers)) return slot;
  }
  return NoHotkey;
}

}  // namespace lumo
