// The locator on a store on disk, with a stub host: finding and marking in
// one folder, the walk over every mailbox in listing order, the trash folder,
// the folder test, and ids that try to leave the data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file.h"
#include "resolve/locator/locator.h"
#include "stub_host.h"
#include "support/store_paths.h"
#include "support/temp_dir.h"
#include "text/id_limits.h"

namespace lumo {
namespace {

namespace fs = std::filesystem;
using lumo::testing::readBytes;
using lumo::testing::StubHost;
using lumo::testing::TempDir;
using lumo::testing::visible;
using lumo::testing::writeBytes;

using lumo::testing::folderIndexLine;

class LocatorStore : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(data);
    host.dataFolder = data.string() + "\\";
  }
  void TearDown() override { lumo::platform::clearFaults(); }

  // The directory of a folder id ("Box.mb\Inbox\").
  fs::path dirOf(const std::string& folderId) const { return lumo::testing::folderDir(data, folderId); }
  // Creates the folder with an index of these lines (CR LF after each).
  void folder(const std::string& folderId, const std::vector<std::string>& lines = {}) {
    fs::create_directories(dirOf(folderId));
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    writeBytes((dirOf(folderId) / "Folder.idx").string(), text);
  }
  std::string indexOf(const std::string& folderId) const {
    return readBytes((dirOf(folderId) / "Folder.idx").string());
  }

  TempDir root;
  fs::path data = root.path() / "data";
  StubHost host;
};

TEST_F(LocatorStore, AFolderIdAndItsFullPathGiveTheSameMailIdOnlyTheFullPathShowsTheName) {
  folder("Box.mb\\Inbox\\",
         {folderIndexLine("K1", "<1@x>"), folderIndexLine("K2", "<2@x>"), folderIndexLine("K3", "<2@x>")});
  EXPECT_EQ(FindMailInFolder("<2@x>", "Box.mb\\Inbox\\"), "Box.mb\\Inbox\\?K2");
  EXPECT_TRUE(host.status.empty());
  EXPECT_EQ(FindMailInFolder("<2@x>", host.dataFolder + "Box.mb\\Inbox\\"), "Box.mb\\Inbox\\?K2");
  EXPECT_EQ(host.status, (std::vector<std::string>{"name of Box.mb\\Inbox\\"}));
  EXPECT_EQ(host.statusWindows, "");  // shown without a window
  EXPECT_EQ(FindMailInFolder("<9@x>", "Box.mb\\Inbox\\"), "");
}

// A reply listed before its original holds the original's Message-ID in its
// own line: every look-up takes the line of the mail whose own Message-ID
// it is, as the host's header of that mail says.
TEST_F(LocatorStore, AReplysLineIsPassedOverForTheOriginalsOwn) {
  const std::string reply = folderIndexLine("K1", "<r@x>", '0', "Re: Target", "<t@x>");
  const std::string original = folderIndexLine("K2", "<t@x>");
  folder("Box.mb\\A\\", {reply});
  folder("Box.mb\\B\\", {reply, original});
  EXPECT_EQ(FindMailInFolder("<t@x>", "Box.mb\\B\\"), "Box.mb\\B\\?K2");
  EXPECT_EQ(FindMailInFolder("<t@x>", "Box.mb\\A\\"), "");
  // Whichever folder the walk reads first.
  EXPECT_EQ(FindMailInMailboxes("<t@x>"), "Box.mb\\B\\?K2");
  EXPECT_EQ(MarkFolderIndexEntry("<t@x>", "Box.mb\\B\\"), 1);
  EXPECT_EQ(indexOf("Box.mb\\B\\"), reply + "\r\n" + folderIndexLine("K2", "<t@x>", '1') + "\r\n");
  EXPECT_EQ(MarkFolderIndexEntry("<t@x>", "Box.mb\\A\\"), 0);
  EXPECT_EQ(indexOf("Box.mb\\A\\"), reply + "\r\n");
  // The host's header decides, not the line: a mail whose header has
  // another Message-ID (or none) is no hit.
  host.headers["Box.mb\\B\\?K2"] = "Message-ID: <t@x>\r\nMessage-ID: <u@x>\r\n\r\n";
  EXPECT_EQ(FindMailInFolder("<t@x>", "Box.mb\\B\\"), "");
  host.headers["Box.mb\\B\\?K2"] = "Subject: <t@x>\r\n\r\n";
  EXPECT_EQ(FindMailInFolder("<t@x>", "Box.mb\\B\\"), "");
}

TEST_F(LocatorStore, NothingIsFoundForAnEmptyTextAMissingIndexOrNoHost) {
  folder("Box.mb\\Inbox\\", {folderIndexLine("K1", "<1@x>")});
  fs::create_directories(dirOf("Box.mb\\NoIndex\\"));
  EXPECT_EQ(FindMailInFolder("", "Box.mb\\Inbox\\"), "");
  EXPECT_EQ(FindMailInFolder("", host.dataFolder + "Box.mb\\Inbox\\"), "");
  EXPECT_TRUE(host.status.empty());
  EXPECT_EQ(FindMailInFolder("<1@x>", ""), "");
  EXPECT_EQ(FindMailInFolder("<1@x>", "Box.mb\\NoIndex\\"), "");
  EXPECT_EQ(FindMailInFolder("<1@x>", "Box.mb\\Gone\\"), "");
  EXPECT_EQ(MarkFolderIndexEntry("<1@x>", "Box.mb\\NoIndex\\"), 0);
  EXPECT_FALSE(fs::exists(dirOf("Box.mb\\NoIndex\\") / "Folder.idx"));  // never created
  EXPECT_FALSE(fs::exists(dirOf("Box.mb\\Gone\\")));
  host.dataFolder.clear();
  EXPECT_EQ(FindMailInFolder("<1@x>", "Box.mb\\Inbox\\"), "");
  EXPECT_EQ(FindMailInMailboxes("<1@x>"), "");
  EXPECT_EQ(MarkFolderIndexEntry("<1@x>", "Box.mb\\Inbox\\"), 0);
}

// The host's ids live in 256-byte buffers: a mail id that would not fit is
// not made (and never cut into another).
TEST_F(LocatorStore, AMailIdLongerThanAnIdMayBeNamesNoMail) {
  const std::string folderId = "Box.mb\\F\\";
  const std::string fits(lumo::kIdMax - folderId.size() - 1, 'k');
  folder(folderId, {folderIndexLine(fits, "<1@x>"), folderIndexLine(fits + "k", "<2@x>")});
  EXPECT_EQ(FindMailInFolder("<1@x>", folderId), folderId + "?" + fits);
  EXPECT_EQ(FindMailInFolder("<2@x>", folderId), "");
  EXPECT_EQ(FindMailInMailboxes("<2@x>"), "");
}

TEST_F(LocatorStore, MarkingChangesOneByteInPlace) {
  // The target's line is long, its Message-ID far past byte 511.
  std::string target = folderIndexLine("K2", "<2@x>", '0', std::string(3000, 's'));
  folder("Box.mb\\Inbox\\",
         {folderIndexLine("K1", "<1@x>", '0'), target, folderIndexLine("K3", "<3@x>", '0')});
  std::string before = indexOf("Box.mb\\Inbox\\");
  EXPECT_EQ(MarkFolderIndexEntry("<2@x>", "Box.mb\\Inbox\\"), 1);
  std::size_t mark = before.find(target) + target.size() - 2;  // before the 13th separator
  ASSERT_EQ(before[mark], '0');
  std::string expected = before;
  expected[mark] = '1';
  std::string after = indexOf("Box.mb\\Inbox\\");
  EXPECT_EQ(after, expected);  // the same length, one byte changed
  // Already marked: left as it is, still 1.
  EXPECT_EQ(MarkFolderIndexEntry("<2@x>", "Box.mb\\Inbox\\"), 1);
  EXPECT_EQ(indexOf("Box.mb\\Inbox\\"), after);
}

TEST_F(LocatorStore, MarkingLeavesEverythingAloneWithoutALineOfThirteenSeparatorsOrWithoutText) {
  std::string shortLine = "0\x01K1\x01<1@x>" + std::string(9, '\x01') + "0";  // 11 separators
  folder("Box.mb\\Inbox\\",
         {folderIndexLine("K0", "<0@x>", '0'), shortLine, folderIndexLine("K1b", "<1@x>", '0')});
  std::string before = indexOf("Box.mb\\Inbox\\");
  EXPECT_EQ(MarkFolderIndexEntry("<1@x>", "Box.mb\\Inbox\\"), 0);  // the first matching line decides
  EXPECT_EQ(MarkFolderIndexEntry("<9@x>", "Box.mb\\Inbox\\"), 0);
  // An empty Message-ID would stand in the first line of any folder.
  EXPECT_EQ(MarkFolderIndexEntry("", "Box.mb\\Inbox\\"), 0);
  EXPECT_EQ(MarkFolderIndexEntry("<0@x>", ""), 0);
  EXPECT_EQ(indexOf("Box.mb\\Inbox\\"), before);
  // A write that fails is no success.
  lumo::platform::failStep(lumo::platform::FileStep::Write);
  EXPECT_EQ(MarkFolderIndexEntry("<0@x>", "Box.mb\\Inbox\\"), 0);
  EXPECT_EQ(indexOf("Box.mb\\Inbox\\"), before);
}

// The listing order of a store on this machine: on Linux our stand-in lists
// as NTFS does ("." and ".." first, then names compared in upper case).
class LocatorWalk : public LocatorStore {
 protected:
  void SetUp() override {
    LocatorStore::SetUp();
    // Every folder holds the same Message-ID: the walk's order alone decides.
    for (std::string id :
         {"b.mb\\", "b.mb\\Inbox\\", "A.mb\\", "A.mb\\Zeta\\", "A.mb\\Inbox\\", "A.mb\\Inbox\\Archive\\",
          "A.mb\\Inbox\\Zeta\\", "A.mb\\_under\\", "A.mb\\apple\\"})
      folder(id, {folderIndexLine("K-" + id, "<same@x>")});
  }
};

TEST_F(LocatorWalk, FoldersAreSearchedInListingOrderAndTheFirstHitWins) {
  // The first folder listed: "A.mb" before "b.mb", its "." first, "apple"
  // before its own "Folder.idx".
  EXPECT_EQ(FindMailInMailboxes("<same@x>"), "A.mb\\apple\\?K-A.mb\\apple\\");
  EXPECT_EQ(host.status, (std::vector<std::string>{"name of A.mb\\apple\\"}));
  host.status.clear();
  EXPECT_EQ(FindMailInMailboxes("<absent@x>"), "");
  // Depth first; a folder's own index comes where "Folder.idx" is listed
  // among its subfolders; the last name shown stays in the status bar.
  EXPECT_EQ(host.status, (std::vector<std::string>{
                             "name of A.mb\\apple\\", "name of A.mb\\", "name of A.mb\\Inbox\\Archive\\",
                             "name of A.mb\\Inbox\\", "name of A.mb\\Inbox\\Zeta\\", "name of A.mb\\Zeta\\",
                             "name of A.mb\\_under\\", "name of b.mb\\", "name of b.mb\\Inbox\\"}));
  EXPECT_EQ(SearchFolderTree("<same@x>", host.dataFolder + "A.mb\\Inbox"),
            "A.mb\\Inbox\\Archive\\?K-A.mb\\Inbox\\Archive\\");
  EXPECT_EQ(SearchFolderTree("", host.dataFolder + "A.mb\\Inbox"), "");
}

TEST_F(LocatorWalk, AMailboxNamedFileListedFirstEndsTheSearchOneListedLaterIsPassedOver) {
  writeBytes((data / "zz.mb").string(), "a file");
  EXPECT_EQ(FindMailInMailboxes("<same@x>"), "A.mb\\apple\\?K-A.mb\\apple\\");
  fs::remove_all(data / "A.mb");
  EXPECT_EQ(FindMailInMailboxes("<same@x>"), "b.mb\\?K-b.mb\\");
  writeBytes((data / "0.mb").string(), "a file listed before every mailbox");
  EXPECT_EQ(FindMailInMailboxes("<same@x>"), "");
}

TEST_F(LocatorWalk, OnlyAnIndexNamedExactlyFolderIdxIsRead) {
  fs::remove_all(data / "A.mb");
  // Made anew: a rename that changes only the letter case may keep the old
  // name on a file system that ignores case.
  for (auto [id, name] :
       {std::pair<std::string, std::string>{"b.mb\\", "folder.idx"}, {"b.mb\\Inbox\\", "FOLDER.IDX"}}) {
    std::string index = indexOf(id);
    fs::remove(dirOf(id) / "Folder.idx");
    writeBytes((dirOf(id) / name).string(), index);
  }
  EXPECT_EQ(FindMailInMailboxes("<same@x>"), "");
  EXPECT_TRUE(host.status.empty());
}

TEST_F(LocatorStore, TheSelectionMovesToTheFirstTrashFolderOfTheCurrentMailbox) {
  fs::create_directories(data / "Box.mb" / "!Trash");
  fs::create_directories(data / "Box.mb" / "Inbox");
  host.mailbox = "Box.mb\\";
  EXPECT_EQ(MoveSelectionToTrash(), 1);
  ASSERT_EQ(host.moves.size(), 1u);
  EXPECT_EQ(host.moves[0].first, "Box.mb\\!Trash\\");
  EXPECT_EQ(host.moves[0].second, FALSE);  // moved, not copied
  host.moveResult = FALSE;
  EXPECT_EQ(MoveSelectionToTrash(), 0);  // the host's answer

  // The first entry matching "*Trash" is a file: nothing moves.
  writeBytes((data / "Box.mb" / "!!Trash").string(), "x");
  host.moves.clear();
  EXPECT_EQ(MoveSelectionToTrash(), 0);
  host.mailbox = "Other.mb\\";
  fs::create_directories(data / "Other.mb" / "Inbox");
  EXPECT_EQ(MoveSelectionToTrash(), 0);
  host.mailbox.clear();
  EXPECT_EQ(MoveSelectionToTrash(), 0);
  host.mailbox = "..\\";
  EXPECT_EQ(MoveSelectionToTrash(), 0);
  EXPECT_TRUE(host.moves.empty());
}

TEST_F(LocatorStore, FirstMatchGivesTheBareNameAndTheKind) {
  fs::create_directories(data / "Box.mb" / "!Trash");
  writeBytes((data / "Box.mb" / "notes.txt").string(), "x");
  std::string path = host.dataFolder + "Box.mb\\*Trash";
  EXPECT_EQ(FindFirstMatch(path), 0);
  EXPECT_EQ(path, "!Trash");
  path = host.dataFolder + "Box.mb\\*.txt";
  EXPECT_EQ(FindFirstMatch(path), 1);
  EXPECT_EQ(path, "notes.txt");
  path = host.dataFolder + "Box.mb\\*.none";
  EXPECT_EQ(FindFirstMatch(path), 0);
  EXPECT_EQ(path, host.dataFolder + "Box.mb\\*.none");  // unchanged
}

// Forged folder ids try to reach an index outside the data folder that holds
// the Message-ID. Nothing is found or marked, and no file is even opened.
TEST_F(LocatorStore, IdsFromHeadersNeverReachOutsideTheDataFolder) {
  fs::path outside = root.path() / "outside";
  fs::create_directories(outside);
  std::string sentinel = folderIndexLine("STOLEN", "<target@x>", '0') + "\r\n";
  writeBytes((outside / "Folder.idx").string(), sentinel);
  folder("Box.mb\\Inbox\\", {folderIndexLine("K1", "<other@x>")});
  std::string outsidePath = outside.string() + "\\";
  std::vector<std::string> forged = {"..\\outside\\",
                                     "Box.mb\\..\\..\\outside\\",
                                     "Box.mb/../../outside/",
                                     outsidePath,
                                     host.dataFolder + "..\\outside\\",
                                     host.dataFolder + "Box.mb\\..\\..\\outside\\",
                                     "..\\outside\\?STOLEN",
                                     "CON\\",
                                     "Box.mb\\NUL\\"};
  for (const std::string& id : forged) {
    lumo::platform::failStep(lumo::platform::FileStep::OpenRead);  // an open would take this
    EXPECT_EQ(FindMailInFolder("<target@x>", id), "") << id;
    EXPECT_EQ(MarkFolderIndexEntry("<target@x>", id), 0) << id;
    EXPECT_FALSE(IsUsableFolder(id.c_str())) << id;
    EXPECT_TRUE(lumo::platform::stepFails(lumo::platform::FileStep::OpenRead))
        << "a file was opened for " << id;
  }
  EXPECT_EQ(SearchFolderTree("<target@x>", outside.string()), "");
  EXPECT_EQ(SearchFolderTree("<target@x>", host.dataFolder + ".."), "");
  EXPECT_EQ(readBytes((outside / "Folder.idx").string()), sentinel);
  EXPECT_TRUE(host.status.empty());

  // The same index inside the data folder is found and marked: the refusals
  // above are the id test's doing.
  writeBytes((dirOf("Box.mb\\Inbox\\") / "Folder.idx").string(), sentinel);
  EXPECT_EQ(FindMailInFolder("<target@x>", "Box.mb\\Inbox\\"), "Box.mb\\Inbox\\?STOLEN");
  EXPECT_EQ(MarkFolderIndexEntry("<target@x>", "Box.mb\\Inbox\\"), 1);
}

TEST_F(LocatorStore, UsableFoldersLieInsideAMailbox) {
  EXPECT_TRUE(IsUsableFolder("Box.mb\\Inbox\\"));
  EXPECT_TRUE(IsUsableFolder("Box.mb\\!Trash\\"));  // given explicitly: no "!" test
  EXPECT_TRUE(IsUsableFolder("Box.mb\\Inbox\\Sub\\"));
  EXPECT_FALSE(IsUsableFolder("Box.mb\\"));  // a mailbox alone
  EXPECT_FALSE(IsUsableFolder("Box.mb"));
  EXPECT_FALSE(IsUsableFolder(""));

  // The current folder, with the test for "!" folders.
  EXPECT_FALSE(IsUsableFolder(nullptr));  // none
  host.folder = "Box.mb\\!Trash\\";
  EXPECT_FALSE(IsUsableFolder(nullptr));
  host.folder = "Box.mb\\Inbox\\!Drafts\\";
  EXPECT_FALSE(IsUsableFolder(nullptr));
  host.folder = "Box.mb\\!Inbox\\";
  EXPECT_TRUE(IsUsableFolder(nullptr));
  host.folder = "Box.mb\\!!!!Inbox\\";
  EXPECT_TRUE(IsUsableFolder(nullptr));
  host.folder = "Box.mb\\Work\\";
  EXPECT_TRUE(IsUsableFolder(nullptr));
  host.folder = "Box.mb\\";
  EXPECT_FALSE(IsUsableFolder(nullptr));

  // Code page 932 names whose second byte is that of "\\" ("表" 95 5C,
  // "ソ" 83 5C) separate nothing.
  EXPECT_FALSE(IsUsableFolder("\x95\x5c.mb\\"));     // the mailbox "表.mb" alone
  EXPECT_FALSE(IsUsableFolder("Box.mb\\\x83\x5c"));  // no separator after "ソ"
  EXPECT_TRUE(IsUsableFolder("\x95\x5c.mb\\\x83\x5c\\"));
  host.folder = "Box.mb\\\x83\x5c!\\";  // "ソ!", not a folder beginning with "!"
  EXPECT_TRUE(IsUsableFolder(nullptr));
  host.folder = "\x95\x5c.mb\\\x83\x5c\\!Sent\\";
  EXPECT_FALSE(IsUsableFolder(nullptr));
}

TEST(FindNoCase, FindsTheWordInAnyLetterCase) {
  const char* text = "Subject: x\r\nX-LuMOID: 2711_5\r\n";
  EXPECT_EQ(FindNoCase(text, "x-lumoid"), text + 12);
  EXPECT_EQ(FindNoCase(text, "SUBJECT"), text);
  EXPECT_EQ(FindNoCase(text, "x"), text + 9);
  EXPECT_EQ(FindNoCase(text, "5\r\n"), text + 27);
  EXPECT_EQ(FindNoCase(text, "5\r\n "), nullptr);  // runs past the end
  EXPECT_EQ(FindNoCase(text, "X-MEMO"), nullptr);
  EXPECT_EQ(FindNoCase("", "x"), nullptr);
  EXPECT_EQ(FindNoCase(text, ""), text);
  EXPECT_EQ(FindNoCase(nullptr, "x"), nullptr);
  EXPECT_EQ(FindNoCase(text, nullptr), nullptr);
  // Only ASCII letters fold: other bytes must match exactly.
  EXPECT_EQ(FindNoCase("\x82\xa0@[", "\x82\xa0`{"), nullptr);
}

}  // namespace
}  // namespace lumo
