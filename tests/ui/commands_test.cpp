// The jump command and the two folder commands inside the substitute host:
// the questions they ask, and what they store on OK and leave on Cancel.
#include "ui/commands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host-sim/core/cp932.h"
#include "host-sim/core/fixture.h"
#include "host/api/module_state.h"
#include "settings/settings_store.h"
#include "shortcut/session_state.h"
#include "support/temp_dir.h"

namespace {

using lumo::Settings;
using lumo::hostsim::cp932ToUtf8;
using lumo::testing::readBytes;

class FolderCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fx.loadLinkedPlugin());
    settings = dir.file("lumo.ini");
    std::strcpy(lumo::SettingsPath, settings.c_str());
    Settings = lumo::SettingsValues();
    owner = fx.windows().mainWindow();
  }
  void TearDown() override { Settings = lumo::SettingsValues(); }

  // The folder settings as the loader reads the file afresh.
  lumo::SettingsValues stored() {
    lumo::SettingsValues inMemory = Settings;
    lumo::loadSettings(lumo::SettingsPath);
    lumo::SettingsValues fromFile = Settings;
    Settings = inMemory;
    return fromFile;
  }
  void answer(int button) { fx.windows().queueAnswer(button); }

  lumo::hostsim::HostFixture fx;
  lumo::testing::TempDir dir;
  std::string settings;
  HWND owner = nullptr;
};

TEST_F(FolderCommandTest, OkStoresTheCurrentFolderAsTheCreationFolder) {
  fx.host().currentFolder = "Sample.mb\\Work\\";
  answer(IDOK);
  lumo::SetCreationFolderCommand(owner, 0);
  ASSERT_EQ(fx.windows().messageBoxes().size(), 1u);
  const auto& box = fx.windows().messageBoxes().back();
  EXPECT_EQ(cp932ToUtf8(box.text), "ショートカット作成専用フォルダにしますか？");
  EXPECT_EQ(box.title, "Message from LuMO");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OKCANCEL | MB_TASKMODAL | MB_TOPMOST));
  EXPECT_EQ(box.owner, owner);
  EXPECT_STREQ(Settings.setScPath, "Sample.mb\\Work\\");
  EXPECT_STREQ(Settings.retScPath, "");
  EXPECT_STREQ(stored().setScPath, "Sample.mb\\Work\\");
  EXPECT_EQ(readBytes(settings).find("RetSC-Path"), std::string::npos);
}

TEST_F(FolderCommandTest, OkStoresTheCurrentFolderAsTheRetrievalFolder) {
  fx.host().currentFolder = "Sample.mb\\!!!!Inbox\\";
  std::strcpy(Settings.setScPath, "Sample.mb\\Work\\");
  answer(IDOK);
  lumo::SetRetrieveFolderCommand(nullptr, 0);
  const auto& box = fx.windows().messageBoxes().back();
  EXPECT_EQ(cp932ToUtf8(box.text), "メール受信時のショートカット作成用フォルダにしますか？");
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_STREQ(Settings.retScPath, "Sample.mb\\!!!!Inbox\\");
  EXPECT_STREQ(Settings.setScPath, "Sample.mb\\Work\\");
  EXPECT_STREQ(stored().retScPath, "Sample.mb\\!!!!Inbox\\");
  EXPECT_EQ(readBytes(settings).find("SetSC-Path"), std::string::npos);
}

TEST_F(FolderCommandTest, ChoosingAgainReplacesTheFolder) {
  fx.host().currentFolder = "Sample.mb\\Work\\";
  answer(IDOK);
  lumo::SetCreationFolderCommand(owner, 0);
  fx.host().currentFolder = "Other.mb\\Archive\\";
  answer(IDOK);
  lumo::SetCreationFolderCommand(owner, 0);
  EXPECT_STREQ(Settings.setScPath, "Other.mb\\Archive\\");
  EXPECT_STREQ(stored().setScPath, "Other.mb\\Archive\\");
}

TEST_F(FolderCommandTest, CancelChangesNothing) {
  fx.host().currentFolder = "Sample.mb\\Work\\";
  std::strcpy(Settings.setScPath, "Sample.mb\\Old\\");
  answer(IDCANCEL);
  lumo::SetCreationFolderCommand(owner, 0);
  answer(IDCANCEL);
  lumo::SetRetrieveFolderCommand(owner, 0);
  EXPECT_EQ(fx.windows().messageBoxes().size(), 2u);
  EXPECT_STREQ(Settings.setScPath, "Sample.mb\\Old\\");
  EXPECT_STREQ(Settings.retScPath, "");
  EXPECT_FALSE(std::filesystem::exists(settings));
}

TEST_F(FolderCommandTest, WithoutACurrentFolderOkChangesNothing) {
  std::strcpy(Settings.retScPath, "Sample.mb\\Old\\");
  answer(IDOK);
  lumo::SetRetrieveFolderCommand(owner, 0);
  EXPECT_EQ(fx.windows().messageBoxes().size(), 1u);
  EXPECT_STREQ(Settings.retScPath, "Sample.mb\\Old\\");
  EXPECT_FALSE(std::filesystem::exists(settings));
}

// The setting holds 255 bytes: a longer folder id is not cut into the id of
// another folder but left unstored, keeping the folder chosen before.
TEST_F(FolderCommandTest, AFolderIdTheSettingCannotHoldIsNotStored) {
  std::string fits = "Sample.mb\\" + std::string(244, 'f') + "\\";
  ASSERT_EQ(fits.size(), 255u);
  fx.host().currentFolder = fits;
  answer(IDOK);
  lumo::SetCreationFolderCommand(owner, 0);
  EXPECT_EQ(Settings.setScPath, fits);
  EXPECT_EQ(stored().setScPath, fits);

  fx.host().currentFolder = "Sample.mb\\" + std::string(245, 'g') + "\\";
  answer(IDOK);
  lumo::SetCreationFolderCommand(owner, 0);
  EXPECT_EQ(Settings.setScPath, fits);
  EXPECT_EQ(stored().setScPath, fits);

  // A line break would end the key's line and start another in the file.
  fx.host().currentFolder = "Sample.mb\\x\r\nRetSC-Path=Evil\\";
  answer(IDOK);
  lumo::SetRetrieveFolderCommand(owner, 0);
  EXPECT_STREQ(Settings.retScPath, "");
  EXPECT_STREQ(stored().retScPath, "");
}

TEST_F(FolderCommandTest, JumpSelectsTheTargetOfTheShortcutOpenedLast) {
  fx.addFolder("Sample.mb\\Work\\");
  std::string target = fx.addMail("Sample.mb\\Work\\", lumo::hostsim::HostFixture::mailSource("Hi", "<t@x>"));
  fx.host().currentMail.clear();
  lumo::SelectedTargetId[0] = '\0';
  lumo::JumpToTargetCommand(owner, 0);
  EXPECT_EQ(fx.host().currentMail, "");

  std::strcpy(lumo::SelectedTargetId, target.c_str());
  lumo::JumpToTargetCommand(owner, 0);
  EXPECT_EQ(fx.host().currentMail, target);
  EXPECT_TRUE(fx.windows().messageBoxes().empty());
  lumo::SelectedTargetId[0] = '\0';
}

}  // namespace
