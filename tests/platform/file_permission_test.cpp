// Replacing a file in a folder the writer may not change. Permission bits do
// not stop root, under whom the tests may run, so the writer takes an
// ordinary user's file-system identity for the duration.
#include <gtest/gtest.h>
#include <sys/fsuid.h>

#include <filesystem>
#include <string>

#include "platform/file.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using lumo::testing::readBytes;
using lumo::testing::writeBytes;

// While it lives, this thread checks file permissions as user 65534; root
// loses its power to override them (setfsuid drops it), anyone else keeps
// their own identity, which a read-only folder stops as well.
class AsOrdinaryUser {
 public:
  AsOrdinaryUser() : previous_(setfsuid(65534)) {}
  AsOrdinaryUser(const AsOrdinaryUser&) = delete;
  AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
  ~AsOrdinaryUser() { setfsuid(static_cast<uid_t>(previous_)); }

 private:
  int previous_;
};

class ReadOnlyFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeBytes(path, "old\r\n");
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  }
  void TearDown() override { fs::permissions(dir.path(), fs::perms::owner_all); }

  lumo::testing::TempDir dir;
  std::string path = dir.file("lumo.ini");
};

TEST_F(ReadOnlyFolderTest, ReplacementFailsAndCreatesNothing) {
  {
    AsOrdinaryUser user;
    lumo::platform::FileReplacement out(path.c_str());
    EXPECT_FALSE(out.ok());
    EXPECT_FALSE(out.write("new\r\n"));
    EXPECT_FALSE(out.commit());
    EXPECT_FALSE(lumo::platform::replaceFile(path.c_str(), "new\r\n"));
  }
  EXPECT_EQ(readBytes(path), "old\r\n");
  EXPECT_FALSE(fs::exists(path + ".tmp"));
}

// A temporary file left behind by a crash can still be written, but the
// system refuses the rename: the commit reports it and the old file stays.
TEST_F(ReadOnlyFolderTest, CommitFailsWhenTheRenameIsRefused) {
  fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::add);
  writeBytes(path + ".tmp", "left by a crash");
  fs::permissions(path + ".tmp", fs::perms::all);
  fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::remove);
  {
    AsOrdinaryUser user;
    lumo::platform::FileReplacement out(path.c_str());
    ASSERT_TRUE(out.ok());
    ASSERT_TRUE(out.write("new\r\n"));
    EXPECT_FALSE(out.commit());
    EXPECT_FALSE(lumo::platform::replaceFile(path.c_str(), "new\r\n"));
  }
  EXPECT_EQ(readBytes(path), "old\r\n");
}

}  // namespace
