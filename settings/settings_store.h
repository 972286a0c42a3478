// The plug-in's settings: their in-memory values and the settings file they
// are loaded from and written to, one key at a time.
#pragma once

#include <cstdint>

namespace lumo {

// The loaded settings; nonzero integers mean "on".
struct SettingsValues {
  int creScMailCheck = 0;    // on retrieve, skip mails of folders marked "IgnoreUnread"
  int subCh = 1;             // put the subject tag into a shortcut's subject
  int toDel = 1;             // leave out the target's To field
  int realMail = 1;          // double-click on a shortcut goes to its target
  int msgSt = 0;             // no start and end confirmations when creating
  int setFolder = 0;         // shortcuts go to the fixed creation folder
  int retFolder = 0;         // make shortcuts of retrieved mails
  char scTag[32] = "->";     // subject tag
  char setScPath[256] = "";  // folder id of the fixed creation folder, empty = none
  char retScPath[256] = "";  // folder id for shortcuts of retrieved mails, empty = none
  int lumoCount = 0;         // shortcut mails made so far
};

extern SettingsValues Settings;

// Hotkey slots, in this order: make shortcuts of the selection, make one in
// the current folder, find the shortcuts of a mail, jump to the target, edit
// the MEMO, the shortcut list. 0 = none; otherwise the low byte is the
// virtual-key code and the high byte the modifiers (1 Shift, 2 Ctrl, 4 Alt,
// 8 extended key).
inline constexpr int HotkeyCount = 6;
extern std::uint16_t HotkeyTable[HotkeyCount];

// The file's only section and its keys.
inline constexpr const char* SettingsSection = "Settings";
inline constexpr const char* KeyCreScMailCheck = "CreSCMailCheck";
inline constexpr const char* KeySubCh = "SubCh";
inline constexpr const char* KeyToDel = "ToDel";
inline constexpr const char* KeyRealMail = "RealMail";
inline constexpr const char* KeyMsgSt = "MsgSt";
inline constexpr const char* KeySetFolder = "SetFolder";
inline constexpr const char* KeyRetFolder = "RetFolder";
inline constexpr const char* KeyScTag = "Sc-Tag";
inline constexpr const char* KeySetScPath = "SetSC-Path";
inline constexpr const char* KeyRetScPath = "RetSC-Path";
inline constexpr const char* KeyLumoCount = "Lumo-Count";
inline constexpr const char* KeyScmMakeKey = "SCMMakeKey";
inline constexpr const char* KeyScmFolderKey = "SCMFolderKey";
inline constexpr const char* KeyScFindKey = "SCFindKey";
inline constexpr const char* KeyScmLinkJumpKey = "SCMLinkJumpKey";
inline constexpr const char* KeyScmMemoEditKey = "SCMEMOEditKey";
inline constexpr const char* KeyScMailAllKey = "SCMailALLKey";
inline constexpr const char* KeyLumoCleanInt = "Lumo-CleanInt";

// The hotkey keys, in slot order.
inline constexpr const char* HotkeyKeys[HotkeyCount] = {
    KeyScmMakeKey, KeyScmFolderKey, KeyScFindKey, KeyScmLinkJumpKey, KeyScmMemoEditKey, KeyScMailAllKey};

// Loads every setting from the file into `Settings` and `HotkeyTable`, each
// taking its default when the key is absent (or the file is, or the path is
// null or empty). Texts are cut to their buffers (31 and 255 bytes), hotkeys
// to their low 16 bits. "Lumo-CleanInt" is not loaded.
void loadSettings(const char* settingsPath);

// Writes one key of the settings file: text as it is, integers as decimal
// text. Every other byte of the file stays as it was, and a failed write
// leaves the old file whole. (On Windows the system's profile function
// rewrites the file in place: a crash during that write can cut it.) 1 on
// success, 0 on failure (also for a null or
// empty path). The in-memory value is the caller's to change.
int writeSettingText(const char* settingsPath, const char* key, const char* value);
int writeSettingInt(const char* settingsPath, const char* key, int value);

// Reads one integer key afresh from the file; `defaultValue` when absent.
int readSettingInt(const char* settingsPath, const char* key, int defaultValue);

// Writes what the settings dialog's OK stores, from the in-memory values, in
// this order: "Sc-Tag", "CreSCMailCheck", "SubCh", "ToDel", "RealMail",
// "MsgSt", "SetFolder", "RetFolder", then the six hotkeys in slot order. All
// keys are written even after a failure; 1 when every write succeeded.
int writeDialogSettings(const char* settingsPath);

}  // namespace lumo
