// The host's own reading of the settings file held against the plug-in's
// loader: for every file the two must agree on every key, so a fault on
// either side (a default, a limit, a key name, the loading order) shows.
#include "host-sim/core/settings_view.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "settings/settings_store.h"
#include "support/temp_dir.h"

namespace lumo::hostsim {
namespace {

using namespace std::string_literals;
using lumo::testing::TempDir;
using lumo::testing::writeBytes;

// What the plug-in holds after loading, in the host's notation.
std::vector<std::pair<std::string, std::string>> pluginValues() {
  auto text = [](const char* value) { return "\"" + std::string(value) + "\""; };
  std::vector<std::pair<std::string, std::string>> values = {
      {KeyCreScMailCheck, std::to_string(Settings.creScMailCheck)},
      {KeySubCh, std::to_string(Settings.subCh)},
      {KeyToDel, std::to_string(Settings.toDel)},
      {KeyRealMail, std::to_string(Settings.realMail)},
      {KeyMsgSt, std::to_string(Settings.msgSt)},
      {KeySetFolder, std::to_string(Settings.setFolder)},
      {KeyRetFolder, std::to_string(Settings.retFolder)},
      {KeyScTag, text(Settings.scTag)},
      {KeySetScPath, text(Settings.setScPath)},
      {KeyRetScPath, text(Settings.retScPath)},
      {KeyLumoCount, std::to_string(Settings.lumoCount)}};
  for (int slot = 0; slot < HotkeyCount; ++slot)
    values.emplace_back(HotkeyKeys[slot], std::to_string(HotkeyTable[slot]));
  return values;
}

const std::string kLong(300, 'a');

// Each content is a file of its own: a system that caches profile files by
// modification time must never see two contents under one name.
const std::map<std::string, std::string> kFiles = {
    {"missing", ""},
    {"full",
     "[Settings]\r\nCreSCMailCheck=1\r\nSubCh=0\r\nToDel=0\r\nRealMail=0\r\nMsgSt=1\r\nSetFolder=1\r\n"
     "RetFolder=1\r\nSc-Tag=[SC]\r\nSetSC-Path=Main.mb\\Set\\\r\nRetSC-Path=Main.mb\\Ret\\\r\nLumo-Count="
     "42\r\n"
     "SCMMakeKey=582\r\nSCMFolderKey=583\r\nSCFindKey=584\r\nSCMLinkJumpKey=585\r\nSCMEMOEditKey=586\r\n"
     "SCMailALLKey=587\r\n"},
    {"odd shapes",
     "[settings]\r\n  subch = 0 \r\nTODEL=7x\r\nRealMail=abc\r\nSc-Tag=\"=>\"\r\nSetSC-Path= Mail.mb\\Work\\ "
     "\r\n"
     "SCMMakeKey=70000\r\nSCFindKey=-1\r\nLumo-Count=-5\r\n[Other]\r\nMsgSt=1\r\n"},
    {"long texts",
     "[Settings]\r\nSc-Tag=" + kLong + "\r\nSetSC-Path=" + kLong + "\r\nRetSC-Path=" + kLong + "\r\n"},
    {"empty tag", "[Settings]\r\nSc-Tag=\r\nSCMailALLKey=65536\r\n"},
    {"garbage", "\x00\x01\xff\xfe garbage\r\n[Settings\r\nSubCh=0\r\n\x81\x40=\x82\xa0\r\n=\r\n[\r\n"s},
};

TEST(SettingsView, TheHostReadsEveryKeyAsThePluginLoadsIt) {
  TempDir dir;
  int n = 0;
  for (const auto& [name, content] : kFiles) {
    std::string path = dir.file("lumo" + std::to_string(n++) + ".ini");
    if (name != "missing") writeBytes(path, content);
    loadSettings(path.c_str());
    auto expected = pluginValues();
    auto shown = loadedSettings(path);
    ASSERT_EQ(shown.size(), expected.size()) << name;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      EXPECT_EQ(shown[i].key, expected[i].first) << name << ": the loading order";
      EXPECT_EQ(shown[i].value, expected[i].second) << name << ": " << shown[i].key;
    }
  }
}

TEST(SettingsView, DefaultsAreMarked) {
  TempDir dir;
  std::string path = dir.file("lumo.ini");
  writeBytes(path, "[Settings]\r\nSubCh=1\r\nToDel=0\r\nSc-Tag=\r\n");
  std::map<std::string, bool> isDefault;
  for (const LoadedSetting& s : loadedSettings(path)) isDefault[s.key] = s.isDefault;
  EXPECT_TRUE(isDefault["SubCh"]) << "a stored value equal to the default is the default";
  EXPECT_FALSE(isDefault["ToDel"]);
  EXPECT_FALSE(isDefault["Sc-Tag"]) << "an empty tag is not the default \"->\"";
  EXPECT_TRUE(isDefault["SCMailALLKey"]);
}

}  // namespace
}  // namespace lumo::hostsim
