// Exit inside the substitute host: once the shortcut counter has passed the
// threshold, the link index is left holding exactly the live links, found
// where the host's store has them now.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "host-sim/core/fixture.h"
#include "host/api/module_state.h"
#include "host/entry_points.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"

namespace {

using lumo::testing::readBytes;
using lumo::testing::TempDir;
using lumo::testing::visible;
using lumo::testing::writeBytes;

std::string L(const std::string& id, const std::string& folder, const std::string& mail,
              const std::string& messageId, const std::string& location) {
  return id + '\x01' + folder + '\x01' + mail + '\x01' + messageId + '\x01' + location + "\r\n";
}

class ExitCleanupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fx.loadLinkedPlugin());
    std::strcpy(lumo::SettingsPath, settings.c_str());
    std::strcpy(lumo::LinkIndexPath, index.c_str());
    fx.addFolder("Box.mb\\Inbox\\");
    fx.addFolder("Box.mb\\Links\\");
    fx.addFolder("Box.mb\\Other\\");
    fx.addFolder("Old.mb\\Keep\\");
  }
  // A target mail in the inbox and its shortcut mail in `folder`.
  std::string target(int n) {
    return fx.addMail("Box.mb\\Inbox\\", mail(n, "<t" + std::to_string(n) + "@x>"));
  }
  std::string shortcut(int n, const std::string& folder) {
    return fx.addMail(folder, mail(n, "<t" + std::to_string(n) + "@" + id(n) + ".LuMO.x>"));
  }
  static std::string id(int n) { return std::to_string(2710 + n) + "_12"; }
  static std::string mail(int n, const std::string& messageId) {
    return lumo::hostsim::HostFixture::mailSource("Mail " + std::to_string(n), messageId);
  }
  // The link index line of shortcut n with this location.
  std::string link(int n, const std::string& targetId, const std::string& location) {
    return L(id(n), "Box.mb\\Inbox\\", targetId.substr(targetId.find('?')), "<t" + std::to_string(n) + "@x>",
             location);
  }

  lumo::hostsim::HostFixture fx;
  TempDir dir;
  std::string settings = dir.file("lumo.ini");
  std::string index = dir.file("lumo.idx");
};

TEST_F(ExitCleanupTest, ExitLeavesExactlyTheLiveLinks) {
  // 1: where it was made. 2: made, then its mail deleted (moved on since).
  // 3: dragged into Other (location: the folder). 4: never located. 5: never
  // located and gone. 6: a target without Message-ID, shortcut still there.
  std::string t1 = target(1), t2 = target(2), t3 = target(3), t4 = target(4), t5 = target(5), t6 = target(6);
  std::string s1 = shortcut(1, "Box.mb\\Links\\");
  std::string s2old = "Box.mb\\Links\\?000000FF";
  shortcut(2, "Old.mb\\Keep\\");  // alive, but not where its line says
  std::string s3 = shortcut(3, "Box.mb\\Other\\");
  std::string s4 = shortcut(4, "Old.mb\\Keep\\");
  std::string s6 = fx.addMail("Box.mb\\Links\\", mail(6, "<no-id-shortcut@y>"));
  const std::string line6 = L(id(6), "Box.mb\\Inbox\\", t6.substr(t6.find('?')), "", s6);
  writeBytes(index, link(1, t1, s1) + link(2, t2, s2old) + link(3, t3, "Box.mb\\Other\\") + link(4, t4, "") +
                        link(5, t5, "") + line6);
  writeBytes(settings, "[Settings]\r\nLumo-Count=5\r\n");
  lumo::loadSettings(lumo::SettingsPath);

  EXPECT_EQ(fx.run("start\nexit\nexpect result 0"), "");
  EXPECT_EQ(visible(readBytes(index)), visible(link(1, t1, s1) + link(3, t3, s3) + link(4, t4, s4) + line6));
  EXPECT_EQ(lumo::readSettingInt(settings.c_str(), "Lumo-CleanInt", -1), 201);
  EXPECT_FALSE(std::filesystem::exists(index + ".tmp"));
}

TEST_F(ExitCleanupTest, BelowTheThresholdExitLeavesTheIndexAlone) {
  std::string t1 = target(1);
  const std::string dead = link(1, t1, "Box.mb\\Links\\?00000009");
  writeBytes(index, dead);
  writeBytes(settings, "[Settings]\r\nLumo-CleanInt=300\r\nLumo-Count=300\r\n");
  lumo::loadSettings(lumo::SettingsPath);
  EXPECT_EQ(fx.run("exit"), "");
  EXPECT_EQ(readBytes(index), dead);
  // One shortcut more passes the threshold: the dead line goes.
  writeBytes(settings, "[Settings]\r\nLumo-CleanInt=300\r\nLumo-Count=301\r\n");
  lumo::loadSettings(lumo::SettingsPath);
  EXPECT_EQ(fx.run("exit"), "");
  EXPECT_EQ(readBytes(index), "");
  EXPECT_EQ(lumo::readSettingInt(settings.c_str(), "Lumo-CleanInt", -1), 501);
}

TEST_F(ExitCleanupTest, AnIndexThatDoesNotParseIsKeptAndTheThresholdStillRises) {
  std::string t1 = target(1);
  const std::string content = link(1, t1, "") + "not a link line\r\n";
  writeBytes(index, content);
  writeBytes(settings, "[Settings]\r\nLumo-Count=5\r\n");
  lumo::loadSettings(lumo::SettingsPath);
  EXPECT_EQ(fx.run("exit"), "");
  EXPECT_EQ(readBytes(index), content);
  EXPECT_EQ(lumo::readSettingInt(settings.c_str(), "Lumo-CleanInt", -1), 201);
}

}  // namespace
