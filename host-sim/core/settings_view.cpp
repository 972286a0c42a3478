// The host reads the plug-in's settings file from outside, as any Windows
// program would: with the profile functions and its own table of the keys,
// their defaults and the buffers the plug-in keeps them in. Nothing of the
// plug-in's loader runs here, so a fault in it shows as a difference.
#include "host-sim/core/settings_view.h"

#include <ostream>
#include <vector>

#include "host-sim/core/cp932.h"
#include "platform/win32.h"

namespace lumo::hostsim {
namespace {

enum class Kind { Number, Text, Hotkey };

struct SettingKey {
  const char* key;
  Kind kind;
  int defaultNumber;
  const char* defaultText;
  DWORD textBytes;  // the longest text the plug-in keeps
};

// Every key the plug-in loads at start, in its loading order.
constexpr SettingKey kSettingKeys[] = {
    {"CreSCMailCheck", Kind::Number, 0, "", 0}, {"SubCh", Kind::Number, 1, "", 0},
    {"ToDel", Kind::Number, 1, "", 0},          {"RealMail", Kind::Number, 1, "", 0},
    {"MsgSt", Kind::Number, 0, "", 0},          {"SetFolder", Kind::Number, 0, "", 0},
    {"RetFolder", Kind::Number, 0, "", 0},      {"Sc-Tag", Kind::Text, 0, "->", 31},
    {"SetSC-Path", Kind::Text, 0, "", 255},     {"RetSC-Path", Kind::Text, 0, "", 255},
    {"Lumo-Count", Kind::Number, 0, "", 0},     {"SCMMakeKey", Kind::Hotkey, 0, "", 0},
    {"SCMFolderKey", Kind::Hotkey, 0, "", 0},   {"SCFindKey", Kind::Hotkey, 0, "", 0},
    {"SCMLinkJumpKey", Kind::Hotkey, 0, "", 0}, {"SCMEMOEditKey", Kind::Hotkey, 0, "", 0},
    {"SCMailALLKey", Kind::Hotkey, 0, "", 0},
};

constexpr const char* kSection = "Settings";

LoadedSetting read(const SettingKey& s, const char* file) {
  if (s.kind == Kind::Text) {
    std::vector<char> buffer(s.textBytes + 1, '\0');
    GetPrivateProfileStringA(kSection, s.key, s.defaultText, buffer.data(), s.textBytes + 1, file);
    std::string value = buffer.data();
    return {s.key, "\"" + value + "\"", value == s.defaultText};
  }
  // Integers read as a signed 32-bit value; a hotkey keeps its low 16 bits.
  auto value = static_cast<int>(GetPrivateProfileIntA(kSection, s.key, s.defaultNumber, file));
  if (s.kind == Kind::Hotkey) value &= 0xffff;
  return {s.key, std::to_string(value), value == s.defaultNumber};
}

}  // namespace

std::vector<LoadedSetting> loadedSettings(const std::string& iniPath) {
  std::vector<LoadedSetting> all;
  for (const SettingKey& s : kSettingKeys) all.push_back(read(s, iniPath.c_str()));
  return all;
}

void printSettings(std::ostream& out, const std::string& iniPath) {
  for (const LoadedSetting& s : loadedSettings(iniPath))
    out << "  " << s.key << " = " << cp932ToUtf8(s.value) << (s.isDefault ? "  (default)" : "") << "\n";
}

}  // namespace lumo::hostsim
