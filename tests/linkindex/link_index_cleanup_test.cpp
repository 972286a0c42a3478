// The link index cleanup on real files, with the mail store answered from a
// table: which lines stay, which are repaired, which go, how the searches are
// batched, and that the old file survives every failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "linkindex/link_lookup.h"
#include "linkindex/link_record.h"
#include "platform/file.h"
#include "support/store_paths.h"
#include "support/temp_dir.h"

namespace {

using lumo::LinkRecord;
using lumo::MailSearch;
using lumo::SearchOutcome;
using lumo::platform::FileStep;
using lumo::testing::readBytes;
using lumo::testing::TempDir;
using lumo::testing::visible;
using lumo::testing::writeBytes;

constexpr auto L = lumo::testing::linkLine;

// A store given as tables, recording what it was asked.
class TableLookup : public lumo::LinkLookup {
 public:
  std::set<std::string> known;                     // mail ids the host knows
  std::map<std::string, std::string> inFolder;     // folder + "|" + text -> mail id
  std::map<std::string, std::string> inMailboxes;  // text -> mail id
  std::set<std::string> unreadable;                // folders (or "*" for the walk) not readable
  std::vector<std::pair<std::string, std::vector<std::string>>> folderCalls;
  std::vector<std::vector<std::string>> walkCalls;

  SearchOutcome lookUpMail(std::string_view mailId) override {
    if (known.count(std::string(mailId)) != 0) return SearchOutcome::Found;
    std::string folder(mailId.substr(0, mailId.find('?')));
    return unreadable.count(folder) != 0 ? SearchOutcome::Unreadable : SearchOutcome::Missing;
  }
  void findInFolder(std::string_view folderId, std::span<MailSearch> searches) override {
    std::vector<std::string> texts;
    for (MailSearch& s : searches) {
      texts.push_back(s.text);
      answer(s, inFolder, std::string(folderId) + "|" + s.text, unreadable.count(std::string(folderId)) != 0);
    }
    folderCalls.emplace_back(std::string(folderId), texts);
  }
  void findInMailboxes(std::span<MailSearch> searches) override {
    std::vector<std::string> texts;
    for (MailSearch& s : searches) {
      texts.push_back(s.text);
      answer(s, inMailboxes, s.text, unreadable.count("*") != 0);
    }
    walkCalls.push_back(texts);
  }

 private:
  static void answer(MailSearch& s, const std::map<std::string, std::string>& table, const std::string& key,
                     bool blocked) {
    auto hit = table.find(key);
    if (hit != table.end()) {
      s.outcome = SearchOutcome::Found;
      s.mailId = hit->second;
    } else {
      s.outcome = blocked ? SearchOutcome::Unreadable : SearchOutcome::Missing;
    }
  }
};

// Lines used throughout: a shortcut whose mail is known where recorded, one
// moved into a folder, one never located, one whose target has no Message-ID.
const std::string kLive = L("2711_12", "m.mb\\Inbox\\", "?k1", "<a@b>", "m.mb\\Links\\?s1");
const std::string kMoved = L("2712_3", "m.mb\\Inbox\\", "?k2", "<c@d>", "m.mb\\Other\\");
const std::string kUnplaced = L("2713_4", "m.mb\\Inbox\\", "?k3", "<e@f>", "");
const std::string kNoMessageId = L("2714_5", "m.mb\\Inbox\\", "?k4", "", "m.mb\\Links\\?s4");

class CleanupTest : public ::testing::Test {
 protected:
  void TearDown() override { lumo::platform::clearFaults(); }
  const char* path() const { return path_.c_str(); }
  void write(const std::string& bytes) { writeBytes(path_, bytes); }
  std::string bytes() const { return readBytes(path_); }
  int clean() {
    LinkRecord r;
    return r.cleanIndex(path(), store);
  }

  TempDir dir;
  std::string path_ = dir.file("lumo.idx");
  TableLookup store;
};

TEST_F(CleanupTest, AllLiveLinksAreRewrittenByteForByteWithoutAnySearch) {
  const std::string content = kLive + L("2a_1", "x.mb\\F\\", "x.mb\\G\\?q", "<p@q>", "x.mb\\L\\?z") +
                              L("2b_2", "x.mb\\F\\", "", "", "x.mb\\L\\?y");
  write(content);
  store.known = {"m.mb\\Links\\?s1", "x.mb\\L\\?z", "x.mb\\L\\?y"};
  EXPECT_EQ(clean(), 1);
  EXPECT_EQ(visible(bytes()), visible(content));
  EXPECT_TRUE(store.folderCalls.empty());
  EXPECT_TRUE(store.walkCalls.empty());
  EXPECT_FALSE(std::filesystem::exists(path_ + ".tmp"));
}

TEST_F(CleanupTest, ShortcutFoundInItsRecordedFolderGetsTheFoundMailIdAndIsReformatted) {
  // Field 3 written whole comes back relative to its folder id.
  write(L("2712_3", "m.mb\\Inbox\\", "m.mb\\Inbox\\?k2", "<c@d>", "m.mb\\Other\\"));
  store.inFolder["m.mb\\Other\\|<c@2712_3.LuMO.d>"] = "m.mb\\Other\\?s2";
  EXPECT_EQ(clean(), 1);
  EXPECT_EQ(visible(bytes()), visible(L("2712_3", "m.mb\\Inbox\\", "?k2", "<c@d>", "m.mb\\Other\\?s2")));
  ASSERT_EQ(store.folderCalls.size(), 1u);
  EXPECT_EQ(store.folderCalls[0].first, "m.mb\\Other\\");
}

TEST_F(CleanupTest, LineWhoseRecordedMailIsGoneIsDroppedEvenIfTheShortcutLiesElsewhere) {
  write(kLive + kUnplaced);
  store.inMailboxes["<a@2711_12.LuMO.b>"] = "m.mb\\Else\\?s9";
  store.inMailboxes["<e@2713_4.LuMO.f>"] = "m.mb\\Links\\?s3";
  EXPECT_EQ(clean(), 1);
  EXPECT_EQ(visible(bytes()), visible(L("2713_4", "m.mb\\Inbox\\", "?k3", "<e@f>", "m.mb\\Links\\?s3")));
  ASSERT_EQ(store.walkCalls.size(), 1u);
  EXPECT_EQ(store.walkCalls[0], std::vector<std::string>{"<e@2713_4.LuMO.f>"});
  EXPECT_TRUE(store.folderCalls.empty());  // a mail id names no folder to search
}

TEST_F(CleanupTest, LineWithoutAShortcutMessageIdStaysOnlyWhileItsMailIsKnown) {
  const std::string noAt = L("2715_6", "m.mb\\Inbox\\", "?k5", "<noat>", "m.mb\\Links\\?s5");
  const std::string noIdUnplaced = L("2716_7", "m.mb\\Inbox\\", "?k6", "", "");
  write(kNoMessageId + noAt + noIdUnplaced);
  store.known = {"m.mb\\Links\\?s4"};
  EXPECT_EQ(clean(), 1);
  EXPECT_EQ(visible(bytes()), visible(kNoMessageId));
  EXPECT_TRUE(store.walkCalls.empty());
  EXPECT_TRUE(store.folderCalls.empty());
}

TEST_F(CleanupTest, WhenEveryLineGoesTheFileStaysAndIsEmpty) {
  write(kMoved + kUnplaced + kNoMessageId);
  EXPECT_EQ(clean(), 1);
  EXPECT_TRUE(std::filesystem::exists(path_));
  EXPECT_EQ(bytes(), "");
}

TEST_F(CleanupTest, MissingFileBecomesAnEmptyFile) {
  EXPECT_EQ(clean(), 1);
  EXPECT_TRUE(std::filesystem::exists(path_));
  EXPECT_EQ(bytes(), "");
}

TEST_F(CleanupTest, ALineThatDoesNotParseAbandonsTheCleanupWithTheFileUntouched) {
  const std::string bad[] = {"\r\n", "\n",
                             "a\x01"
                             "b\x01"
                             "c\x01"
                             "d\r\n"};
  for (const std::string& line : bad) {
    SCOPED_TRACE(visible(line));
    // Even after lines that would be dropped or repaired.
    const std::string content = kMoved + kUnplaced + line + kLive;
    write(content);
    store.inMailboxes["<e@2713_4.LuMO.f>"] = "m.mb\\Links\\?s3";
    store.folderCalls.clear();
    store.walkCalls.clear();
    EXPECT_EQ(clean(), 0);
    EXPECT_EQ(visible(bytes()), visible(content));
    EXPECT_TRUE(store.folderCalls.empty());
    EXPECT_TRUE(store.walkCalls.empty());
  }
}

TEST_F(CleanupTest, UnreadableIndexFileGivesZeroAndWritesNothing) {
  write(kMoved);
  lumo::platform::failStep(FileStep::OpenRead);
  EXPECT_EQ(clean(), 0);
  EXPECT_EQ(bytes(), kMoved);
  std::string adir = dir.file("adir");
  std::filesystem::create_directory(adir);
  LinkRecord r;
  EXPECT_EQ(r.cleanIndex(adir.c_str(), store), 0);
  EXPECT_TRUE(std::filesystem::is_directory(adir));
  EXPECT_EQ(r.cleanIndex(nullptr, store), 0);
}

TEST_F(CleanupTest, SearchOrMailLookUpThatCouldNotReadKeepsTheLineAsItIs) {
  // The store could not be read at all (moved away, a drive gone): nothing
  // is proved gone, every line stays.
  write(kMoved + kUnplaced + kLive);
  store.unreadable = {"m.mb\\Other\\", "*", "m.mb\\Links\\"};
  EXPECT_EQ(clean(), 1);
  EXPECT_EQ(visible(bytes()), visible(kMoved + kUnplaced + kLive));
  // Only the recorded mail's folder could be read: that mail is gone.
  store.unreadable = {"m.mb\\Other\\", "*"};
  EXPECT_EQ(clean(), 1);
  EXPECT_EQ(visible(bytes()), visible(kMoved + kUnplaced));
  // A hit counts even when some other folder could not be read.
  store.inMailboxes["<e@2713_4.LuMO.f>"] = "m.mb\\Links\\?s3";
  EXPECT_EQ(clean(), 1);
  EXPECT_EQ(visible(bytes()),
            visible(kMoved + L("2713_4", "m.mb\\Inbox\\", "?k3", "<e@f>", "m.mb\\Links\\?s3")));
}

TEST_F(CleanupTest, SearchesAreBatchedOneCallPerFolderAndOneWalk) {
  std::string content;
  const char* folders[] = {"m.mb\\B\\", "m.mb\\A\\", "m.mb\\B\\", "m.mb\\A\\", "m.mb\\B\\"};
  for (int i = 0; i < 5; ++i) {
    content += L("30_" + std::to_string(i), "m.mb\\T\\", "?t", "<f" + std::to_string(i) + "@x>", folders[i]);
    content += L("31_" + std::to_string(i), "m.mb\\T\\", "?t", "<w" + std::to_string(i) + "@x>", "");
  }
  write(content);
  store.inFolder["m.mb\\B\\|<f2@30_2.LuMO.x>"] = "m.mb\\B\\?2";
  store.inMailboxes["<w3@31_3.LuMO.x>"] = "m.mb\\W\\?3";
  EXPECT_EQ(clean(), 1);
  ASSERT_EQ(store.folderCalls.size(), 2u);
  std::map<std::string, std::vector<std::string>> byFolder(store.folderCalls.begin(),
                                                           store.folderCalls.end());
  EXPECT_EQ(byFolder["m.mb\\A\\"], (std::vector<std::string>{"<f1@30_1.LuMO.x>", "<f3@30_3.LuMO.x>"}));
  EXPECT_EQ(byFolder["m.mb\\B\\"],
            (std::vector<std::string>{"<f0@30_0.LuMO.x>", "<f2@30_2.LuMO.x>", "<f4@30_4.LuMO.x>"}));
  ASSERT_EQ(store.walkCalls.size(), 1u);
  EXPECT_EQ(store.walkCalls[0].size(), 5u);
  EXPECT_EQ(store.walkCalls[0][0], "<w0@31_0.LuMO.x>");
  // Each answer went back to its own line.
  EXPECT_EQ(visible(bytes()), visible(L("30_2", "m.mb\\T\\", "?t", "<f2@x>", "m.mb\\B\\?2") +
                                      L("31_3", "m.mb\\T\\", "?t", "<w3@x>", "m.mb\\W\\?3")));
}

TEST_F(CleanupTest, KeptAndRepairedLinesStayInTheirOrder) {
  write(kUnplaced + kLive + kMoved);
  store.known = {"m.mb\\Links\\?s1"};
  store.inMailboxes["<e@2713_4.LuMO.f>"] = "m.mb\\Links\\?s3";
  store.inFolder["m.mb\\Other\\|<c@2712_3.LuMO.d>"] = "m.mb\\Other\\?s2";
  EXPECT_EQ(clean(), 1);
  EXPECT_EQ(visible(bytes()),
            visible(L("2713_4", "m.mb\\Inbox\\", "?k3", "<e@f>", "m.mb\\Links\\?s3") + kLive +
                    L("2712_3", "m.mb\\Inbox\\", "?k2", "<c@d>", "m.mb\\Other\\?s2")));
}

TEST_F(CleanupTest, FoundIdThatWouldOverfillTheLineLeavesTheLineAsRead) {
  write(kUnplaced);
  store.inMailboxes["<e@2713_4.LuMO.f>"] = "m.mb\\Links\\?" + std::string(480, 'k');
  EXPECT_EQ(clean(), 1);
  EXPECT_EQ(visible(bytes()), visible(kUnplaced));
}

TEST_F(CleanupTest, LinesTheIndexNeverParsesAreKeptByteForByte) {
  const std::string overlong = std::string(600, 'z') + "\x01\x01\x01\x01\r\n";
  const std::string lfOnly = "2711_12\x01m.mb\\Inbox\\\x01?k1\x01<a@b>\x01m.mb\\Links\\?s1\n";
  const std::string tail = "2a_1\x01x\x01y\x01<no@x>\x01";  // unfinished last line
  write(kMoved + overlong + lfOnly + tail);
  store.known = {"m.mb\\Links\\?s1"};
  EXPECT_EQ(clean(), 1);
  EXPECT_EQ(visible(bytes()), visible(overlong + kLive + tail));
}

TEST_F(CleanupTest, FailedRewriteLeavesTheOldFileWhole) {
  const std::string content = kLive + kMoved + kUnplaced;
  store.known = {"m.mb\\Links\\?s1"};
  for (FileStep step : {FileStep::OpenTemp, FileStep::Write, FileStep::Flush, FileStep::Rename}) {
    write(content);
    lumo::platform::failStep(step);
    EXPECT_EQ(clean(), 0) << static_cast<int>(step);
    lumo::platform::clearFaults();
    EXPECT_EQ(bytes(), content) << static_cast<int>(step);
    EXPECT_FALSE(std::filesystem::exists(path_ + ".tmp")) << static_cast<int>(step);
  }
}

TEST_F(CleanupTest, ACrashAtAnyMomentOfTheRewriteFindsTheOldFileWhole) {
  const std::string content = kLive + kMoved + kUnplaced;
  store.known = {"m.mb\\Links\\?s1"};
  for (FileStep step : {FileStep::OpenTemp, FileStep::Write, FileStep::Flush, FileStep::Rename}) {
    write(content);
    std::string seen;
    // What a crash just before this step would leave at the index's path.
    lumo::platform::atStep(step, [&] { seen = bytes(); });
    EXPECT_EQ(clean(), 1);
    lumo::platform::clearFaults();
    EXPECT_EQ(seen, content) << static_cast<int>(step);
    EXPECT_EQ(bytes(), kLive);
  }
}

}  // namespace
