// A settings write that fails at any step of replacing the file, or meets
// another writer of the same file, reports 0 and leaves the old file whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"

namespace {

using lumo::platform::FileStep;
using lumo::testing::readBytes;
using lumo::testing::writeBytes;

TEST(SettingsStoreFaults, FailedWriteLeavesTheOldFileWhole) {
  lumo::testing::TempDir dir;
  const std::string path = dir.file("lumo.ini");
  const std::string old = "[Settings]\r\nSubCh=1\r\nLumo-Count=41\r\n";
  const FileStep steps[] = {FileStep::OpenRead, FileStep::OpenTemp, FileStep::Write, FileStep::Flush,
                            FileStep::Rename};
  for (FileStep step : steps) {
    writeBytes(path, old);
    lumo::platform::failStep(step);
    EXPECT_EQ(lumo::writeSettingInt(path.c_str(), lumo::KeyLumoCount, 42), 0) << static_cast<int>(step);
    lumo::platform::clearFaults();
    EXPECT_EQ(readBytes(path), old) << static_cast<int>(step);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  }
  // The dialog's set goes on after a failed key and reports the failure.
  writeBytes(path, old);
  lumo::loadSettings(path.c_str());
  lumo::Settings.subCh = 0;
  lumo::platform::failStep(FileStep::Rename, 2);  // the third key, "SubCh", fails
  EXPECT_EQ(lumo::writeDialogSettings(path.c_str()), 0);
  lumo::platform::clearFaults();
  std::string after = readBytes(path);
  EXPECT_NE(after.find("Sc-Tag=->\r\n"), std::string::npos) << after;
  EXPECT_NE(after.find("SubCh=1\r\n"), std::string::npos) << after;
  EXPECT_NE(after.find("SCMailALLKey=0\r\n"), std::string::npos) << after;
}

// Another process sharing the plug-in folder is rewriting the settings file:
// the write fails and leaves that writer's temporary file as it was, so its
// new content arrives whole.
TEST(SettingsStoreFaults, WriteDuringAnotherRewriteFailsWithoutHarmingIt) {
  lumo::testing::TempDir dir;
  const std::string path = dir.file("lumo.ini");
  writeBytes(path, "[Settings]\r\nLumo-Count=41\r\n");
  const std::string other = "[Settings]\r\nLumo-Count=41\r\nSubCh=0\r\n";
  lumo::platform::FileReplacement rewrite(path.c_str());
  ASSERT_TRUE(rewrite.write(other.substr(0, 20)));
  EXPECT_EQ(lumo::writeSettingInt(path.c_str(), lumo::KeyLumoCount, 42), 0);
  EXPECT_EQ(lumo::writeSettingText(path.c_str(), lumo::KeyScTag, "=>"), 0);
  EXPECT_EQ(readBytes(path), "[Settings]\r\nLumo-Count=41\r\n");
  ASSERT_TRUE(rewrite.write(other.substr(20)));
  ASSERT_TRUE(rewrite.commit());
  EXPECT_EQ(readBytes(path), other);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  // Once it is done, settings are written again.
  EXPECT_EQ(lumo::writeSettingInt(path.c_str(), lumo::KeyLumoCount, 42), 1);
  EXPECT_EQ(readBytes(path), "[Settings]\r\nLumo-Count=42\r\nSubCh=0\r\n");
}

}  // namespace
