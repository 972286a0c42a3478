// The settings file, read through the platform's profile-file functions (the
// real ones on Windows) so that it looks the same wherever it was written.
#include "settings/settings_store.h"

#include <cstdio>

#include "platform/win32.h"

namespace lumo {

SettingsValues Settings;
std::uint16_t HotkeyTable[HotkeyCount] = {};

namespace {

// Without a settings file name nothing is read or written: reading some other
// file (the profile functions look for a bare name in the system folder)
// would be worse than running on defaults.
bool usable(const char* settingsPath) { return settingsPath != nullptr && *settingsPath != '\0'; }

int readInt(const char* settingsPath, const char* key, int defaultValue) {
  return static_cast<int>(GetPrivateProfileIntA(SettingsSection, key, defaultValue, settingsPath));
}

void readText(const char* settingsPath, const char* key, const char* defaultValue, char* buffer, DWORD size) {
  GetPrivateProfileStringA(SettingsSection, key, defaultValue, buffer, size, settingsPath);
}

}  // namespace

void loadSettings(const char* settingsPath) {
  Settings = SettingsValues{};
  for (std::uint16_t& hotkey : HotkeyTable) hotkey = 0;
  if (!usable(settingsPath)) return;
  Settings.creScMailCheck = readInt(settingsPath, KeyCreScMailCheck, 0);
  Settings.subCh = readInt(settingsPath, KeySubCh, 1);
  Settings.toDel = readInt(settingsPath, KeyToDel, 1);
  Settings.realMail = readInt(settingsPath, KeyRealMail, 1);
  Settings.msgSt = readInt(settingsPath, KeyMsgSt, 0);
  Settings.setFolder = readInt(settingsPath, KeySetFolder, 0);
  Settings.retFolder = readInt(settingsPath, KeyRetFolder, 0);
  readText(settingsPath, KeyScTag, "->", Settings.scTag, sizeof Settings.scTag);
  Settings.setScPath[0] = '\0';
  readText(settingsPath, KeySetScPath, "", Settings.setScPath, sizeof Settings.setScPath);
  readText(settingsPath, KeyRetScPath, "", Settings.retScPath, sizeof Settings.retScPath);
  Settings.lumoCount = readInt(settingsPath, KeyLumoCount, 0);
  for (int slot = 0; slot < HotkeyCount; ++slot)
    HotkeyTable[slot] = static_cast<std::uint16_t>(
        GetPrivateProfileIntA(SettingsSection, HotkeyKeys[slot], 0, settingsPath) & 0xffffu);
}

int writeSettingText(const char* settingsPath, const char* key, const char* value) {
  if (!usable(settingsPath) || key == nullptr || value == nullptr) return 0;
  return WritePrivateProfileStringA(SettingsSection, key, value, settingsPath) ? 1 : 0;
}

int writeSettingInt(const char* settingsPath, const char* key, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return writeSettingText(settingsPath, key, text);
}

int readSettingInt(const char* settingsPath, const char* key, int defaultValue) {
  if (!usable(settingsPath) || key == nullptr) return defaultValue;
  return readInt(settingsPath, key, defaultValue);
}

int writeDialogSettings(const char* settingsPath) {
  int ok = writeSettingText(settingsPath, KeyScTag, Settings.scTag);
  const struct {
    const char* key;
    int value;
  } values[] = {{KeyCreScMailCheck, Settings.creScMailCheck},
                {KeySubCh, Settings.subCh},
                {KeyToDel, Settings.toDel},
                {KeyRealMail, Settings.realMail},
                {KeyMsgSt, Settings.msgSt},
                {KeySetFolder, Settings.setFolder},
                {KeyRetFolder, Settings.retFolder}};
  for (const auto& v : values) ok &= writeSettingInt(settingsPath, v.key, v.value);
  for (int slot = 0; slot < HotkeyCount; ++slot)
    ok &= writeSettingInt(settingsPath, HotkeyKeys[slot], HotkeyTable[slot]);
  return ok;
}

}  // namespace lumo
