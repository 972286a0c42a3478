// A settings write that fails at any step of replacing the file reports 0
// and leaves the old file whole.
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

}  // namespace
