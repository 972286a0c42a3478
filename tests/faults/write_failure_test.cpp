// Writes that fail: a full disk (a file-size limit on a child process), a
// read-only link index or settings file, and a folder that vanishes during
// the cleanup's walk. Every operation reports the failure through its result,
// leaves the old file whole, and the next operation, once the fault is gone,
// works.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "host-sim/core/fixture.h"
#include "linkindex/link_record.h"
#include "platform/file.h"
#include "resolve/locator/multi_search.h"
#include "settings/settings_store.h"
#include "support/store_paths.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using lumo::LinkRecord;
using lumo::LinkUpdateField;
using lumo::testing::readBytes;
using lumo::testing::visible;
using lumo::testing::writeBytes;

std::string line(const std::string& id, const std::string& location) {
  return lumo::testing::linkLine(id, "Box.mb\\Inbox\\", "?k", "<m@x>", location);
}

class WriteFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeBytes(index, old);
    writeBytes(settings, oldSettings);
    fresh.setFields("abc_1", "Box.mb\\Inbox\\", "Box.mb\\Inbox\\?new", "<new@x>", "Box.mb\\Links\\?t");
  }
  void TearDown() override { lumo::platform::clearFaults(); }

  // The result of `operation` run in a child process that may write no file
  // past `limit` bytes (the system's answer to a full disk: a write is cut
  // short at the limit, the next one fails).
  static int underSizeLimit(rlim_t limit, const std::function<int()>& operation) {
    pid_t pid = ::fork();
    if (pid == 0) {
      std::signal(SIGXFSZ, SIG_IGN);
      struct rlimit size = {limit, limit};
      if (::setrlimit(RLIMIT_FSIZE, &size) != 0) ::_exit(99);
      ::_exit(operation());
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
  }

  int update(const char* value) {
    LinkRecord record;
    return record.updateIn(index.c_str(), "2711_1", value, LinkUpdateField::SetLocation);
  }
  void expectOldFilesWhole(const std::string& when) {
    EXPECT_EQ(visible(readBytes(index)), visible(old)) << when;
    EXPECT_EQ(readBytes(settings), oldSettings) << when;
    EXPECT_FALSE(fs::exists(index + ".tmp")) << when;
    EXPECT_FALSE(fs::exists(settings + ".tmp")) << when;
  }

  lumo::testing::TempDir dir;
  const std::string index = dir.file("lumo.idx");
  const std::string settings = dir.file("lumo.ini");
  const std::string old = line("2711_1", "Box.mb\\Links\\?s1") + line("2711_2", "Box.mb\\Links\\?s2");
  const std::string oldSettings = "[Settings]\r\nLumo-Count=41\r\n";
  LinkRecord fresh;
};

TEST_F(WriteFailureTest, AFullDiskFailsEveryWriteAndLeavesTheOldFilesWhole) {
  // Room for a few bytes more than the index holds: the appended line is cut
  // short by the system.
  EXPECT_EQ(underSizeLimit(old.size() + 10, [&] { return fresh.appendTo(index.c_str()); }), 0);
  expectOldFilesWhole("append");
  // Less room than the files hold: their new copies cannot be written.
  const rlim_t small = oldSettings.size() - 4;
  EXPECT_EQ(underSizeLimit(small, [&] { return update("Box.mb\\Elsewhere\\?z"); }), 0);
  EXPECT_EQ(underSizeLimit(small, [&] { return LinkRecord::removeLinksOf(index.c_str(), {}); }), 1);
  EXPECT_EQ(
      underSizeLimit(small, [&] { return lumo::writeSettingInt(settings.c_str(), lumo::KeyLumoCount, 42); }),
      0);
  expectOldFilesWhole("rewrite");
  // With room again, every write works.
  EXPECT_EQ(fresh.appendTo(index.c_str()), 1);
  EXPECT_EQ(update("Box.mb\\Elsewhere\\?z"), 1);
  EXPECT_EQ(visible(readBytes(index)),
            visible(line("2711_1", "Box.mb\\Elsewhere\\?z") + line("2711_2", "Box.mb\\Links\\?s2") +
                    "abc_1\x01" + "Box.mb\\Inbox\\\x01?new\x01<new@x>\x01" + "Box.mb\\Links\\?t\r\n"));
  EXPECT_EQ(lumo::writeSettingInt(settings.c_str(), lumo::KeyLumoCount, 42), 1);
  EXPECT_EQ(readBytes(settings), "[Settings]\r\nLumo-Count=42\r\n");
}

// A file without any write permission is read-only, as a file with the
// read-only attribute is on Windows: it is neither appended to nor replaced,
// even by a user (root) whom the system would let write it.
TEST_F(WriteFailureTest, AReadOnlyIndexOrSettingsFileIsNeitherAppendedToNorReplaced) {
  const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(index, readOnly);
  fs::permissions(settings, readOnly);
  EXPECT_EQ(fresh.appendTo(index.c_str()), 0);
  EXPECT_EQ(update("Box.mb\\Elsewhere\\?z"), 0);
  LinkRecord record;
  EXPECT_EQ(record.storeIn(index.c_str(), "2711_2", nullptr, nullptr, nullptr, "Box.mb\\Else\\?y", 0), 0);
  EXPECT_EQ(lumo::writeSettingInt(settings.c_str(), lumo::KeyLumoCount, 42), 0);
  EXPECT_EQ(lumo::writeSettingText(settings.c_str(), lumo::KeyScTag, "=>"), 0);
  expectOldFilesWhole("read-only");
  EXPECT_EQ(fs::status(index).permissions(), readOnly);
  EXPECT_EQ(fs::status(settings).permissions(), readOnly);

  fs::permissions(index, fs::perms::owner_write, fs::perm_options::add);
  fs::permissions(settings, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(update("Box.mb\\Elsewhere\\?z"), 1);
  EXPECT_EQ(fresh.appendTo(index.c_str()), 1);
  EXPECT_EQ(lumo::writeSettingInt(settings.c_str(), lumo::KeyLumoCount, 42), 1);
}

// A folder removed while the cleanup walks the store (another program, or
// the user in the host) proves no mail gone: the lines that needed it stay
// as they were, and the next cleanup works.
TEST(VanishingFolder, TheCleanupKeepsTheLinesOfAFolderThatVanishedDuringTheWalk) {
  lumo::hostsim::HostFixture fx;
  ASSERT_TRUE(fx.loadLinkedPlugin());
  lumo::testing::TempDir dir;
  const std::string index = dir.file("lumo.idx");
  fx.addFolder("Box.mb\\Inbox\\");
  fx.addFolder("Box.mb\\Links\\");
  fx.addFolder("Box.mb\\Other\\");
  fx.addMail("Box.mb\\Inbox\\", lumo::hostsim::HostFixture::mailSource("T", "<m@x>"));
  fx.addMail("Box.mb\\Other\\", lumo::hostsim::HostFixture::mailSource("S", "<m@2711_1.LuMO.x>"));
  // The shortcut moved to Other, recorded by its folder only.
  const std::string old = line("2711_1", "Box.mb\\Other\\");
  writeBytes(index, old);
  // Gone after the link index is read, before the folder's own index is.
  const fs::path other = fx.store().folderPath("Box.mb\\Other\\");
  lumo::platform::atStep(lumo::platform::FileStep::OpenRead, [&] {
    lumo::platform::atStep(lumo::platform::FileStep::OpenRead, [&] { fs::remove_all(other); });
  });
  LinkRecord record;
  lumo::StoreLinkLookup store;
  EXPECT_EQ(record.cleanIndex(index.c_str(), store), 1);
  lumo::platform::clearFaults();
  EXPECT_EQ(visible(readBytes(index)), visible(old));
  EXPECT_FALSE(fs::exists(index + ".tmp"));
  // The folder is back with the mail: the next cleanup finds it.
  fx.addFolder("Box.mb\\Other\\");
  std::string moved =
      fx.addMail("Box.mb\\Other\\", lumo::hostsim::HostFixture::mailSource("S", "<m@2711_1.LuMO.x>"));
  EXPECT_EQ(record.cleanIndex(index.c_str(), store), 1);
  EXPECT_EQ(visible(readBytes(index)), visible(line("2711_1", moved)));
}

}  // namespace
