// The host runs the plug-in's own settings loader on the file, so what it
// shows is what the plug-in holds after loading it.
#include "host-sim/core/settings_view.h"

#include <algorithm>
#include <cstdint>
#include <ostream>

#include "host-sim/core/cp932.h"
#include "settings/settings_store.h"

namespace lumo::hostsim {

std::vector<LoadedSetting> loadedSettings(const std::string& iniPath) {
  // A plug-in linked into this program shares these values: keep them as they were.
  const SettingsValues kept = Settings;
  std::uint16_t keptHotkeys[HotkeyCount];
  std::copy(HotkeyTable, HotkeyTable + HotkeyCount, keptHotkeys);
  loadSettings(iniPath.c_str());
  const SettingsValues s = Settings;
  std::uint16_t hotkeys[HotkeyCount];
  std::copy(HotkeyTable, HotkeyTable + HotkeyCount, hotkeys);
  Settings = kept;
  std::copy(keptHotkeys, keptHotkeys + HotkeyCount, HotkeyTable);

  const SettingsValues defaults;
  std::vector<LoadedSetting> all;
  auto number = [&](const char* key, int value, int defaultValue) {
    all.push_back({key, std::to_string(value), value == defaultValue});
  };
  auto text = [&](const char* key, const char* value, const char* defaultValue) {
    all.push_back({key, "\"" + std::string(value) + "\"", std::string(value) == defaultValue});
  };
  number(KeyCreScMailCheck, s.creScMailCheck, defaults.creScMailCheck);
  number(KeySubCh, s.subCh, defaults.subCh);
  number(KeyToDel, s.toDel, defaults.toDel);
  number(KeyRealMail, s.realMail, defaults.realMail);
  number(KeyMsgSt, s.msgSt, defaults.msgSt);
  number(KeySetFolder, s.setFolder, defaults.setFolder);
  number(KeyRetFolder, s.retFolder, defaults.retFolder);
  text(KeyScTag, s.scTag, defaults.scTag);
  text(KeySetScPath, s.setScPath, defaults.setScPath);
  text(KeyRetScPath, s.retScPath, defaults.retScPath);
  number(KeyLumoCount, s.lumoCount, defaults.lumoCount);
  for (int i = 0; i < HotkeyCount; ++i) number(HotkeyKeys[i], hotkeys[i], 0);
  return all;
}

void printSettings(std::ostream& out, const std::string& iniPath) {
  for (const LoadedSetting& s : loadedSettings(iniPath))
    out << "  " << s.key << " = " << cp932ToUtf8(s.value) << (s.isDefault ? "  (default)" : "") << "\n";
}

}  // namespace lumo::hostsim
