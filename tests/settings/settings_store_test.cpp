// Loading and writing the settings file through the platform's profile
// functions (the system's own on Windows).
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace {

using lumo::HotkeyTable;
using lumo::Settings;
using lumo::testing::readBytes;
using lumo::testing::TempDir;
using lumo::testing::visible;
using lumo::testing::writeBytes;

class SettingsStoreTest : public ::testing::Test {
 protected:
  // Every content gets a file of its own: a system that caches profile files
  // by modification time must never see two contents under one name.
  std::string fileWith(std::string_view content) {
    std::string path = freshPath();
    writeBytes(path, content);
    return path;
  }
  std::string freshPath() { return dir.file("lumo" + std::to_string(counter++) + ".ini"); }
  TempDir dir;
  int counter = 0;
};

void expectDefaults() {
  EXPECT_EQ(Settings.creScMailCheck, 0);
  EXPECT_EQ(Settings.subCh, 1);
  EXPECT_EQ(Settings.toDel, 1);
  EXPECT_EQ(Settings.realMail, 1);
  EXPECT_EQ(Settings.msgSt, 0);
  EXPECT_EQ(Settings.setFolder, 0);
  EXPECT_EQ(Settings.retFolder, 0);
  EXPECT_STREQ(Settings.scTag, "->");
  EXPECT_STREQ(Settings.setScPath, "");
  EXPECT_STREQ(Settings.retScPath, "");
  EXPECT_EQ(Settings.lumoCount, 0);
  for (int slot = 0; slot < lumo::HotkeyCount; ++slot) EXPECT_EQ(HotkeyTable[slot], 0) << "slot " << slot;
}

const char* const FullFile =
    "[Settings]\r\nCreSCMailCheck=1\r\nSubCh=0\r\nToDel=0\r\nRealMail=0\r\nMsgSt=1\r\nSetFolder=1\r\n"
    "RetFolder=1\r\nSc-Tag=[SC]\r\nSetSC-Path=Main.mb\\Set\\\r\nRetSC-Path=Main.mb\\Ret\\\r\nLumo-Count="
    "42\r\n"
    "SCMMakeKey=582\r\nSCMFolderKey=583\r\nSCFindKey=584\r\nSCMLinkJumpKey=585\r\nSCMEMOEditKey=586\r\n"
    "SCMailALLKey=587\r\nLumo-CleanInt=201\r\n";

TEST_F(SettingsStoreTest, FreshInstallationRunsOnDefaults) {
  lumo::loadSettings(fileWith(FullFile).c_str());
  lumo::loadSettings(freshPath().c_str());  // no file: everything back to defaults
  expectDefaults();
}

TEST_F(SettingsStoreTest, LoadsEveryKey) {
  lumo::loadSettings(fileWith(FullFile).c_str());
  EXPECT_EQ(Settings.creScMailCheck, 1);
  EXPECT_EQ(Settings.subCh, 0);
  EXPECT_EQ(Settings.toDel, 0);
  EXPECT_EQ(Settings.realMail, 0);
  EXPECT_EQ(Settings.msgSt, 1);
  EXPECT_EQ(Settings.setFolder, 1);
  EXPECT_EQ(Settings.retFolder, 1);
  EXPECT_STREQ(Settings.scTag, "[SC]");
  EXPECT_STREQ(Settings.setScPath, "Main.mb\\Set\\");
  EXPECT_STREQ(Settings.retScPath, "Main.mb\\Ret\\");
  EXPECT_EQ(Settings.lumoCount, 42);
  for (int slot = 0; slot < lumo::HotkeyCount; ++slot)
    EXPECT_EQ(HotkeyTable[slot], 582 + slot) << "slot " << slot;
}

TEST_F(SettingsStoreTest, HotkeysKeepTheirLow16Bits) {
  lumo::loadSettings(fileWith("[Settings]\r\nSCMMakeKey=66118\r\nSCFindKey=-1\r\n").c_str());
  EXPECT_EQ(HotkeyTable[0], 582);  // 65536 + 582: Ctrl+F
  EXPECT_EQ(HotkeyTable[2], 0xffff);
}

TEST_F(SettingsStoreTest, EmptyTagPresentLoadsEmpty) {
  lumo::loadSettings(fileWith("[Settings]\r\nSc-Tag=\r\n").c_str());
  EXPECT_STREQ(Settings.scTag, "");
}

TEST_F(SettingsStoreTest, OverLongTextsAreCutToTheirBuffers) {
  std::string tag(100, 't'), folder(400, 'f');
  lumo::loadSettings(fileWith("[Settings]\r\nSc-Tag=" + tag + "\r\nSetSC-Path=" + folder +
                              "\r\nRetSC-Path=" + folder + "\r\n")
                         .c_str());
  EXPECT_EQ(std::string(Settings.scTag), tag.substr(0, 31));
  EXPECT_EQ(std::string(Settings.setScPath), folder.substr(0, 255));
  EXPECT_EQ(std::string(Settings.retScPath), folder.substr(0, 255));
}

TEST_F(SettingsStoreTest, BadFilesLoadDefaultsWithoutHarm) {
  const std::string files[] = {
      "garbage without any structure",
      std::string("\0\x01\x02\xff\xfe\x80[\0]\r\n=\r\n==\r\n", 17),
      "[Other]\r\nSubCh=0\r\nSc-Tag=x\r\n",  // keys of another section
      "SubCh=0\r\nSc-Tag=x\r\n",             // keys before any section
      "[Settings\r\nSubCh=0\r\n",            // broken header
      std::string(100000, '['),
  };
  for (const std::string& content : files) {
    lumo::loadSettings(fileWith(content).c_str());
    SCOPED_TRACE(visible(content.substr(0, 60)));
    expectDefaults();
  }
}

TEST_F(SettingsStoreTest, NumbersInOddShapes) {
  lumo::loadSettings(
      fileWith("[settings]\r\n  subch = \"0\" \r\nToDel=0junk\r\nLumo-Count=-5\r\nMsgSt=yes\r\n").c_str());
  EXPECT_EQ(Settings.subCh, 0);
  EXPECT_EQ(Settings.toDel, 0);
  EXPECT_EQ(Settings.lumoCount, -5);
  EXPECT_EQ(Settings.msgSt, 0);  // text without digits reads as 0
}

TEST_F(SettingsStoreTest, WritingOneKeyKeepsTheRestOfTheFile) {
  const std::string before = std::string(FullFile) + "[Other]\r\nkey=value\r\n";
  std::string path = fileWith(before);
  ASSERT_EQ(lumo::writeSettingInt(path.c_str(), lumo::KeyLumoCount, 43), 1);
  std::string expected = before;
  expected.replace(expected.find("Lumo-Count=42"), 13, "Lumo-Count=43");
  EXPECT_EQ(visible(readBytes(path)), visible(expected));
  ASSERT_EQ(lumo::writeSettingText(path.c_str(), lumo::KeySetScPath, "Box.mb\\New\\"), 1);
  expected.replace(expected.find("Main.mb\\Set\\"), 12, "Box.mb\\New\\");
  EXPECT_EQ(visible(readBytes(path)), visible(expected));
  ASSERT_EQ(lumo::writeSettingInt(path.c_str(), "Added", -7), 1);
  expected.insert(expected.find("[Other]"), "Added=-7\r\n");
  EXPECT_EQ(visible(readBytes(path)), visible(expected));
}

TEST_F(SettingsStoreTest, FirstWriteCreatesTheFile) {
  std::string path = freshPath();
  ASSERT_EQ(lumo::writeSettingInt(path.c_str(), lumo::KeyLumoCount, 1), 1);
  EXPECT_EQ(visible(readBytes(path)), visible("[Settings]\r\nLumo-Count=1\r\n"));
  EXPECT_EQ(lumo::readSettingInt(path.c_str(), lumo::KeyLumoCount, 9), 1);
  EXPECT_EQ(lumo::readSettingInt(path.c_str(), lumo::KeyLumoCleanInt, 0), 0);
}

TEST_F(SettingsStoreTest, DialogWritesItsFourteenKeysInOrder) {
  lumo::loadSettings(fileWith(FullFile).c_str());
  std::strcpy(Settings.scTag, "=>");
  HotkeyTable[5] = 0xffff;
  std::string path = freshPath();
  ASSERT_EQ(lumo::writeDialogSettings(path.c_str()), 1);
  EXPECT_EQ(
      visible(readBytes(path)),
      visible("[Settings]\r\nSc-Tag==>\r\nCreSCMailCheck=1\r\nSubCh=0\r\nToDel=0\r\nRealMail=0\r\nMsgSt=1\r\n"
              "SetFolder=1\r\nRetFolder=1\r\nSCMMakeKey=582\r\nSCMFolderKey=583\r\nSCFindKey=584\r\n"
              "SCMLinkJumpKey=585\r\nSCMEMOEditKey=586\r\nSCMailALLKey=65535\r\n"));
  lumo::loadSettings(path.c_str());
  EXPECT_STREQ(Settings.scTag, "=>");
  EXPECT_EQ(HotkeyTable[5], 0xffff);
}

TEST_F(SettingsStoreTest, WithoutAPathNothingIsReadOrWritten) {
  lumo::loadSettings(fileWith(FullFile).c_str());
  lumo::loadSettings("");
  expectDefaults();
  lumo::loadSettings(nullptr);
  expectDefaults();
  EXPECT_EQ(lumo::writeSettingInt("", lumo::KeyLumoCount, 1), 0);
  EXPECT_EQ(lumo::writeSettingText(nullptr, lumo::KeyScTag, "x"), 0);
  EXPECT_EQ(lumo::writeDialogSettings(""), 0);
  EXPECT_EQ(lumo::readSettingInt("", lumo::KeyLumoCleanInt, 7), 7);
}

TEST_F(SettingsStoreTest, WriteIntoAMissingFolderFails) {
  EXPECT_EQ(lumo::writeSettingInt(dir.file("absent/lumo.ini").c_str(), lumo::KeyLumoCount, 1), 0);
}

}  // namespace
