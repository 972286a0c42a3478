// The locator against the substitute host: its store writes "Folder.idx" with
// its own code, the plug-in reads it with its own, so each checks the other.
// Display names, the status bar, the selection and the trash folder are the
// host's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host-sim/core/fixture.h"
#include "host/api/host_api.h"
#include "resolve/locator/locator.h"

namespace lumo {
namespace {

using hostsim::HostFixture;

class LocatorOnHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(bindHostApi(), 1);  // as the plug-in does when it loads
    fx.addFolder("Main.mb\\!!!!Inbox\\", "Inbox");
    fx.addFolder("Main.mb\\!Trash\\", "Trash");
    fx.addFolder("Main.mb\\Work\\", "Work");
    fx.addFolder("Main.mb\\Work\\2024\\", "Work 2024");
    fx.addFolder("Second.mb\\!!!!Inbox\\", "Inbox 2");
  }
  std::string indexFile(const std::string& folderId) {
    return fx.store().folderPath(folderId).string() + "/Folder.idx";
  }
  HostFixture fx;
};

TEST_F(LocatorOnHost, EveryMailTheHostStoredIsFoundUnderItsOwnMailId) {
  std::vector<std::string> ids;
  for (int i = 0; i < 30; ++i)
    ids.push_back(fx.addMail(
        "Main.mb\\Work\\",
        HostFixture::mailSource("Mail " + std::to_string(i), "<m" + std::to_string(i) + "@example.com>")));
  // A long subject before the next mails' lines.
  ids.push_back(
      fx.addMail("Main.mb\\Work\\", HostFixture::mailSource(std::string(5000, 'S'), "<long@example.com>")));
  ids.push_back(fx.addMail("Main.mb\\Work\\", HostFixture::mailSource("After", "<after@example.com>")));
  for (int i = 0; i < 30; ++i)
    EXPECT_EQ(FindMailInFolder("<m" + std::to_string(i) + "@example.com>", "Main.mb\\Work\\"), ids[i]);
  EXPECT_EQ(FindMailInFolder("<long@example.com>", "Main.mb\\Work\\"), ids[30]);
  EXPECT_EQ(FindMailInFolder("<after@example.com>", "Main.mb\\Work\\"), ids[31]);
  EXPECT_EQ(FindMailInFolder("<after@example.com>", "Main.mb\\!!!!Inbox\\"), "");
}

TEST_F(LocatorOnHost, TheMarkIsTheReadStateTheHostReads) {
  std::string a = fx.addMail("Main.mb\\Work\\", HostFixture::mailSource("A", "<a@x>"));
  std::string b = fx.addMail("Main.mb\\Work\\", HostFixture::mailSource("B", "<b@x>"));
  std::string c = fx.addMail("Main.mb\\Work\\", HostFixture::mailSource("C", "<c@x>"), true);
  auto size = std::filesystem::file_size(indexFile("Main.mb\\Work\\"));
  EXPECT_EQ(MarkFolderIndexEntry("<b@x>", "Main.mb\\Work\\"), 1);
  EXPECT_FALSE(fx.store().entry(a)->read);
  EXPECT_TRUE(fx.store().entry(b)->read);
  EXPECT_TRUE(fx.store().entry(c)->read);
  EXPECT_EQ(std::filesystem::file_size(indexFile("Main.mb\\Work\\")), size);
  // The host unmarks it with its own writer; the plug-in marks it again.
  ASSERT_TRUE(fx.store().setRead(b, false));
  EXPECT_EQ(MarkFolderIndexEntry("<b@x>", "Main.mb\\Work\\"), 1);
  EXPECT_TRUE(fx.store().entry(b)->read);
  EXPECT_EQ(MarkFolderIndexEntry("<c@x>", "Main.mb\\Work\\"), 1);  // already read
  EXPECT_EQ(MarkFolderIndexEntry("<d@x>", "Main.mb\\Work\\"), 0);
}

TEST_F(LocatorOnHost, AMailboxWideSearchShowsEachFolderNameItReads) {
  std::string target = fx.addMail("Second.mb\\!!!!Inbox\\", HostFixture::mailSource("T", "<t@x>"));
  fx.host().statusLog.clear();
  EXPECT_EQ(FindMailInMailboxes("<t@x>"), target);
  // Listing order: "!!!!Inbox" before "!Trash"; "2024" before its parent's
  // own "Folder.idx"; a mailbox's own index where "Folder.idx" is listed.
  EXPECT_EQ(fx.host().statusLog,
            (std::vector<std::string>{"Inbox", "Trash", "Main", "Work 2024", "Work", "Inbox 2"}));
  fx.host().statusLog.clear();
  EXPECT_EQ(FindMailInMailboxes("<none@x>"), "");
  EXPECT_EQ(fx.host().statusText, "Second");  // the last folder read stays shown
}

TEST_F(LocatorOnHost, TheSelectionGoesToTheMailboxTrash) {
  std::string mail = fx.addMail("Main.mb\\Work\\", HostFixture::mailSource("Gone", "<gone@x>"));
  fx.host().openFolder("Main.mb\\Work\\");
  fx.host().select({mail});
  EXPECT_EQ(MoveSelectionToTrash(), 1);
  EXPECT_TRUE(fx.store().mailIds("Main.mb\\Work\\").empty());
  EXPECT_EQ(FindMailInFolder("<gone@x>", "Main.mb\\!Trash\\"), fx.store().mailIds("Main.mb\\!Trash\\").at(0));
}

TEST_F(LocatorOnHost, TheCurrentFolderIsTestedWithTheHostsAnswer) {
  fx.host().openFolder("Main.mb\\!!!!Inbox\\");
  EXPECT_TRUE(IsUsableFolder(nullptr));
  fx.host().openFolder("Main.mb\\!Trash\\");
  EXPECT_FALSE(IsUsableFolder(nullptr));
  EXPECT_TRUE(IsUsableFolder("Main.mb\\!Trash\\"));
  fx.host().openFolder("Main.mb\\");
  EXPECT_FALSE(IsUsableFolder(nullptr));
}

}  // namespace
}  // namespace lumo
