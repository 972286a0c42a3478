// Finding, updating, storing and appending link index lines in a real file,
// including every failing write step.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "linkindex/link_record.h"
#include "platform/file.h"
#include "support/store_paths.h"
#include "support/temp_dir.h"

namespace {

using lumo::LinkFindKind;
using lumo::LinkRecord;
using lumo::LinkUpdateField;
using lumo::platform::FileStep;
using lumo::testing::readBytes;
using lumo::testing::TempDir;
using lumo::testing::visible;
using lumo::testing::writeBytes;

constexpr auto L = lumo::testing::linkLine;

const std::string kA = L("2711_12", "m.mb\\Inbox\\", "?k1", "<a@b>", "m.mb\\Links\\?s1");
const std::string kB = L("2711_1", "m.mb\\Inbox\\", "?k2", "<c@d>", "m.mb\\Links\\");
const std::string kC = L("2a_3", "m.mb\\Old\\", "m.mb\\New\\?k3", "", "");

class LinkFileTest : public ::testing::Test {
 protected:
  void TearDown() override { lumo::platform::clearFaults(); }
  const char* path() const { return path_.c_str(); }
  void write(const std::string& bytes) { writeBytes(path_, bytes); }
  std::string bytes() const { return readBytes(path_); }
  bool exists() const { return std::filesystem::exists(path_); }
  bool tempLeft() const { return std::filesystem::exists(path_ + ".tmp"); }

  TempDir dir;
  std::string path_ = dir.file("lumo.idx");
};

TEST_F(LinkFileTest, FindsByEveryKind) {
  write(kA + kB + kC);
  struct Case {
    const char* key;
    LinkFindKind kind;
    const char* foundId;  // nullptr: nothing found
  } cases[] = {
      {"2711_12", LinkFindKind::ByShortcutId, "2711_12"},
      {"2711_1", LinkFindKind::ByShortcutId, "2711_1"},
      {"2711_", LinkFindKind::ByShortcutId, nullptr},
      {"<c@d>", LinkFindKind::ByMessageId, "2711_1"},
      {"<c@d", LinkFindKind::ByMessageId, nullptr},
      {"m.mb\\Inbox\\", LinkFindKind::ByFolderId, "2711_12"},
      {"m.mb\\Inbox\\?k2", LinkFindKind::ByMailId, "2711_1"},
      {"?k2", LinkFindKind::ByMailId, nullptr},
      {"m.mb\\New\\?k3", LinkFindKind::ByMailId, "2a_3"},
      {"m.mb\\Links\\", LinkFindKind::ByLocation, "2711_1"},
      {"m.mb\\Links\\?s1", LinkFindKind::ByMailIdOrLocation, "2711_12"},
      {"m.mb\\Inbox\\?k2", LinkFindKind::ByMailIdOrLocation, "2711_1"},
      {"", LinkFindKind::ByMessageId, nullptr},  // an absent field never matches
      {"", LinkFindKind::ByLocation, nullptr},
      {"<a@b>", static_cast<LinkFindKind>(6), nullptr},
      {"<a@b>", static_cast<LinkFindKind>(-1), nullptr},
  };
  for (const auto& c : cases) {
    LinkRecord r;
    int found = r.findIn(path(), c.key, c.kind);
    EXPECT_EQ(found, c.foundId ? 1 : 0) << "key " << c.key << " kind " << static_cast<int>(c.kind);
    if (found && c.foundId) {
      EXPECT_STREQ(r.shortcutId(), c.foundId) << "key " << c.key;
    }
  }
  EXPECT_EQ(bytes(), kA + kB + kC);
}

TEST_F(LinkFileTest, FindGivesTheWholeRecord) {
  write(kA);
  LinkRecord r;
  ASSERT_EQ(r.findIn(path(), "<a@b>", LinkFindKind::ByMessageId), 1);
  EXPECT_STREQ(r.shortcutId(), "2711_12");
  EXPECT_STREQ(r.targetFolderId(), "m.mb\\Inbox\\");
  EXPECT_STREQ(r.targetMailId(), "m.mb\\Inbox\\?k1");
  EXPECT_STREQ(r.shortcutLocation(), "m.mb\\Links\\?s1");
}

// With a test of its own, a find takes the first matching line the test
// accepts, whatever kind of key found it.
TEST_F(LinkFileTest, FindWithATestTakesTheFirstMatchingLineItAccepts) {
  const std::string copy = L("2711_13", "m.mb\\Work\\", "?k9", "<a@b>", "m.mb\\Links\\?s2");
  write(kA + kB + copy);
  auto inWork = [](const LinkRecord& r) { return std::string(r.targetFolderId()) == "m.mb\\Work\\"; };
  auto never = [](const LinkRecord&) { return false; };
  LinkRecord r;
  ASSERT_EQ(r.findIn(path(), "<a@b>", LinkFindKind::ByMessageId, inWork), 1);
  EXPECT_STREQ(r.shortcutId(), "2711_13");
  EXPECT_EQ(r.findIn(path(), "<a@b>", LinkFindKind::ByMessageId, never), 0);
  ASSERT_EQ(r.findIn(path(), "2711_12", LinkFindKind::ByShortcutId, nullptr), 1);
  EXPECT_EQ(r.findIn(path(), "2711_12", LinkFindKind::ByShortcutId, never), 0);
}

TEST_F(LinkFileTest, FindSkipsUnparsableOverlongAndUnfinishedLines) {
  std::string longLine = L("5_5", "f\\", "?k", "<long@x>", std::string(600, 'x'));
  write("5_5\x01only\x01three\r\n" + longLine + L("5_5", "f\\", "?k", "<ok@x>", "") +
        "6_6\x01\x01\x01<t@x>\x01");
  LinkRecord r;
  ASSERT_EQ(r.findIn(path(), "5_5", LinkFindKind::ByShortcutId), 1);
  EXPECT_STREQ(r.targetMessageId(), "<ok@x>");
  EXPECT_EQ(r.findIn(path(), "<long@x>", LinkFindKind::ByMessageId), 0);
  EXPECT_EQ(r.findIn(path(), "6_6", LinkFindKind::ByShortcutId), 0);
  EXPECT_EQ(r.findIn(path(), "<t@x>", LinkFindKind::ByMessageId), 0);
}

TEST_F(LinkFileTest, FindReadsLinesEndedByLineFeedOnly) {
  write(
      "1_1\x01"
      "f\\\x01?k\x01<m@x>\x01\n2_2\x01"
      "f\\\x01?j\x01<n@x>\x01loc\n");
  LinkRecord r;
  ASSERT_EQ(r.findIn(path(), "<n@x>", LinkFindKind::ByMessageId), 1);
  EXPECT_STREQ(r.shortcutLocation(), "loc");
}

TEST_F(LinkFileTest, MalformedEmptyAndOverlongIdsSelectNothingAndAreNeverWritten) {
  write("x_y\x01\x01\x01\x01\r\n" + L("", "f\\", "?k", "<e@x>", "") + L("2A_3", "f\\", "?k", "<u@x>", "") +
        kA);
  const std::string before = bytes();
  // Upper-case hexadecimal is never written, so "2A_3" is no id, not even for
  // the line that begins with it.
  const std::string bad[] = {
      "", "x_y", "2711", "2711_12\x01", "2711_12 ", std::string(300, 'a') + "_1", "2A_3", "27A1_12"};
  for (const auto& id : bad) {
    LinkRecord r;
    EXPECT_EQ(r.findIn(path(), id.c_str(), LinkFindKind::ByShortcutId), 0) << visible(id);
    EXPECT_EQ(r.updateIn(path(), id.c_str(), "v", LinkUpdateField::SetLocation), 0) << visible(id);
    EXPECT_EQ(r.updateIn(path(), id.c_str(), "", LinkUpdateField::Remove), 0) << visible(id);
    EXPECT_EQ(r.storeIn(path(), id.c_str(), "f\\", "f\\?k", "<m@x>", "", 1), 0) << visible(id);
    ASSERT_EQ(r.setFields(id.c_str(), "f\\", "?k", "<m@x>", nullptr), id.find('\x01') == std::string::npos);
    EXPECT_EQ(r.appendTo(path()), 0) << visible(id);
    EXPECT_EQ(visible(bytes()), visible(before)) << visible(id);
  }
  LinkRecord r;
  EXPECT_EQ(r.findIn(path(), nullptr, LinkFindKind::ByShortcutId), 0);
  EXPECT_EQ(r.updateIn(path(), nullptr, "v", LinkUpdateField::SetLocation), 0);
  EXPECT_EQ(r.storeIn(path(), nullptr, "f\\", "f\\?k", "<m@x>", "", 1), 0);
  EXPECT_EQ(visible(bytes()), visible(before));
}

TEST_F(LinkFileTest, MissingFileReadsAsEmpty) {
  LinkRecord r;
  EXPECT_EQ(r.findIn(path(), "2711_12", LinkFindKind::ByShortcutId), 0);
  EXPECT_EQ(r.updateIn(path(), "2711_12", "x", LinkUpdateField::SetLocation), 1);  // no line: nothing to do
  EXPECT_EQ(r.storeIn(path(), "2711_12", "f\\", "f\\?k", "<m@x>", "", 0), 0);
  EXPECT_FALSE(exists());
  EXPECT_EQ(r.storeIn(path(), "2711_12", "f\\", "f\\?k", "<m@x>", "", 1), 1);
  EXPECT_EQ(visible(bytes()), visible(L("2711_12", "f\\", "?k", "<m@x>", "")));
}

TEST_F(LinkFileTest, UnreadableFileFailsEveryScan) {
  for (int how = 0; how < 2; ++how) {
    SCOPED_TRACE(how == 0 ? "path is a directory" : "open fails");
    std::string target = path_;
    if (how == 0) {
      target = dir.file("adir");
      std::filesystem::create_directory(target);
    } else {
      write(kA);
    }
    LinkRecord r;
    auto failRead = [&] {
      if (how == 1) lumo::platform::failStep(FileStep::OpenRead);
    };
    failRead();
    EXPECT_EQ(r.findIn(target.c_str(), "2711_12", LinkFindKind::ByShortcutId), 0);
    failRead();
    EXPECT_EQ(r.updateIn(target.c_str(), "2711_12", "x", LinkUpdateField::SetLocation), 0);
    failRead();
    EXPECT_EQ(r.storeIn(target.c_str(), "2711_12", "f\\", "f\\?k", "<m@x>", "", 1), 0);
    lumo::platform::clearFaults();
    if (how == 1) {
      EXPECT_EQ(bytes(), kA);
    }
  }
}

TEST_F(LinkFileTest, UpdateChangesOneFieldAndKeepsTheOtherLines) {
  struct Case {
    const char* name;
    LinkUpdateField field;
    const char* value;
    std::string expected;  // the whole file afterwards
  } cases[] = {
      {"location", LinkUpdateField::SetLocation, "m.mb\\Else\\",
       kB + L("2711_12", "m.mb\\Inbox\\", "?k1", "<a@b>", "m.mb\\Else\\") + kC},
      {"location emptied", LinkUpdateField::SetLocation, "",
       kB + L("2711_12", "m.mb\\Inbox\\", "?k1", "<a@b>", "") + kC},
      {"message id", LinkUpdateField::SetMessageId, "<z@y>",
       kB + L("2711_12", "m.mb\\Inbox\\", "?k1", "<z@y>", "m.mb\\Links\\?s1") + kC},
      {"folder: mail id now whole", LinkUpdateField::SetFolderId, "m.mb\\Dest\\",
       kB + L("2711_12", "m.mb\\Dest\\", "m.mb\\Inbox\\?k1", "<a@b>", "m.mb\\Links\\?s1") + kC},
      {"mail id in the same folder", LinkUpdateField::SetMailId, "m.mb\\Inbox\\?k7",
       kB + L("2711_12", "m.mb\\Inbox\\", "?k7", "<a@b>", "m.mb\\Links\\?s1") + kC},
      {"mail id moved to parent of a subfolder", LinkUpdateField::SetMailId, "m.mb\\?k7",
       kB + L("2711_12", "m.mb\\Inbox\\", "m.mb\\?k7", "<a@b>", "m.mb\\Links\\?s1") + kC},
      {"remove", LinkUpdateField::Remove, "ignored", kB + kC},
  };
  for (const auto& c : cases) {
    write(kB + kA + kC);
    LinkRecord r;
    EXPECT_EQ(r.updateIn(path(), "2711_12", c.value, c.field), 1) << c.name;
    EXPECT_EQ(visible(bytes()), visible(c.expected)) << c.name;
    EXPECT_FALSE(tempLeft()) << c.name;
  }
}

TEST_F(LinkFileTest, UpdateMovedMailIsFoundAgainByItsWholeId) {
  write(L("1_1", "m.mb\\In\\Sub\\", "?k", "<a@b>", ""));
  LinkRecord r;
  ASSERT_EQ(r.updateIn(path(), "1_1", "m.mb\\In\\?k", LinkUpdateField::SetMailId), 1);
  LinkRecord again;
  ASSERT_EQ(again.findIn(path(), "m.mb\\In\\?k", LinkFindKind::ByMailId), 1);
  EXPECT_STREQ(again.targetFolderId(), "m.mb\\In\\Sub\\");
  EXPECT_EQ(again.findIn(path(), "m.mb\\In\\Sub\\?k", LinkFindKind::ByMailId), 0);
}

TEST_F(LinkFileTest, UpdateLeavesTheFileUntouchedWhenNothingIsToBeDone) {
  const std::string content = kA + "\r\n" + kB + "lf only\n";
  const std::string tooLong(480, 'v');
  struct Case {
    const char* name;
    const char* id;
    const char* value;
    LinkUpdateField field;
    int result;
  } cases[] = {
      {"value already stored", "2711_12", "m.mb\\Links\\?s1", LinkUpdateField::SetLocation, 0},
      {"no line of that id", "2711_123", "x", LinkUpdateField::SetLocation, 1},
      {"prefix of an id", "2711", "x", LinkUpdateField::Remove, 0},
      {"value would break the line", "2711_12", "a\r\nb", LinkUpdateField::SetLocation, 0},
      {"value with separator", "2711_12",
       "a\x01"
       "b",
       LinkUpdateField::SetMessageId, 0},
      {"line would not fit", "2711_12", tooLong.c_str(), LinkUpdateField::SetLocation, 0},
      {"unknown field", "2711_12", "x", static_cast<LinkUpdateField>(0), 0},
      {"unknown field", "2711_12", "x", static_cast<LinkUpdateField>(6), 0},
  };
  for (const auto& c : cases) {
    write(content);
    // A rewrite attempt would fail here and so be visible in the result.
    lumo::platform::failStep(FileStep::OpenTemp);
    LinkRecord r;
    EXPECT_EQ(r.updateIn(path(), c.id, c.value, c.field), c.result) << c.name;
    lumo::platform::clearFaults();
    EXPECT_EQ(visible(bytes()), visible(content)) << c.name;
  }
}

TEST_F(LinkFileTest, UpdateStopsAtAnUnparsableLineOfItsId) {
  const std::string content = kB +
                              "2711_12\x01"
                              "broken\r\n" +
                              kA;
  write(content);
  LinkRecord r;
  EXPECT_EQ(r.updateIn(path(), "2711_12", "x", LinkUpdateField::SetLocation), 0);
  EXPECT_EQ(r.updateIn(path(), "2711_12", "", LinkUpdateField::Remove), 0);
  EXPECT_EQ(bytes(), content);
}

TEST_F(LinkFileTest, UpdateRefusesAFolderBesideAnAbsentMailId) {
  // Written, the folder alone would read back as the mail id.
  const std::string content = L("1_1", "", "", "<a@b>", "");
  write(content);
  LinkRecord r;
  EXPECT_EQ(r.updateIn(path(), "1_1", "m.mb\\In\\", LinkUpdateField::SetFolderId), 0);
  EXPECT_EQ(r.updateIn(path(), "1_1", "?k", LinkUpdateField::SetMailId), 1);
  EXPECT_EQ(r.updateIn(path(), "1_1", "m.mb\\In\\", LinkUpdateField::SetFolderId), 0);  // "?k" not in folder
  EXPECT_EQ(visible(bytes()), visible(L("1_1", "", "?k", "<a@b>", "")));
}

TEST_F(LinkFileTest, RemovingTheOnlyLineLeavesAnEmptyFile) {
  write(kA);
  LinkRecord r;
  EXPECT_EQ(r.updateIn(path(), "2711_12", "", LinkUpdateField::Remove), 1);
  EXPECT_TRUE(exists());
  EXPECT_EQ(bytes(), "");
}

// The lines of many deleted shortcut mails go in one rewrite: each line of a
// mail's id whose link is that mail's (its Message-ID is the one the link
// gave its shortcut; a link without one takes any mail).
TEST_F(LinkFileTest, RemovingTheLinksOfManyDeletedShortcutsTakesOnlyTheirOwnLines) {
  const std::string unparsable = "2b_4\x01only\x01three\r\n";
  write(kA + kB + kC + unparsable + kA);
  std::vector<lumo::DeletedShortcut> deleted = {
      {"2711_1", "<c@2711_1.LuMO.d>"},  // kB's own shortcut; not kA's ("2711_12")
      {"2711_12", "<forged@b>"},        // carries kA's id, not its Message-ID
      {"2a_3", ""},                     // kC's link has no Message-ID
      {"2b_4", ""},                     // a line that does not parse stays
      {"2ZZ", "<a@2711_12.LuMO.b>"}};   // a malformed id selects nothing
  lumo::platform::recordSteps();
  EXPECT_EQ(LinkRecord::removeLinksOf(path(), deleted), 1);
  EXPECT_EQ(visible(bytes()), visible(kA + unparsable + kA));
  const std::vector<FileStep>& steps = lumo::platform::recordedSteps();
  EXPECT_EQ(std::count(steps.begin(), steps.end(), FileStep::Rename), 1);
  deleted = {{"2711_12", "<a@2711_12.LuMO.b>"}};
  EXPECT_EQ(LinkRecord::removeLinksOf(path(), deleted), 1);
  EXPECT_EQ(visible(bytes()), visible(unparsable));
  // Nothing to remove: the file is not rewritten; one that cannot be read
  // or rewritten gives 0 and stays.
  lumo::platform::recordSteps();
  EXPECT_EQ(LinkRecord::removeLinksOf(path(), deleted), 1);
  EXPECT_EQ(std::count(steps.begin(), steps.end(), FileStep::Rename), 0);
  write(kA);
  lumo::platform::failStep(FileStep::OpenRead);
  EXPECT_EQ(LinkRecord::removeLinksOf(path(), deleted), 0);
  lumo::platform::failStep(FileStep::Rename);
  EXPECT_EQ(LinkRecord::removeLinksOf(path(), deleted), 0);
  EXPECT_EQ(bytes(), kA);
}

TEST_F(LinkFileTest, RewriteNormalisesLineEndsButKeepsOverlongLinesAndTheUnfinishedTail) {
  std::string longLine(700, 'z');
  write(kB + "\r\n\n" + "lf\n" + longLine + "\n" + "cr\r\r\n" + kA + "tail\x01no end");
  LinkRecord r;
  ASSERT_EQ(r.updateIn(path(), "2711_12", "", LinkUpdateField::Remove), 1);
  EXPECT_EQ(visible(bytes()), visible(kB + "lf\r\n" + longLine + "\n" + "cr\r\r\n" + "tail\x01no end"));
}

TEST_F(LinkFileTest, OverlongLineBeginningWithTheIdIsNeverTouched) {
  std::string longLine = "2711_12\x01" + std::string(600, 'q') + "\x01\x01\x01\r\n";
  write(longLine + kB);
  LinkRecord r;
  EXPECT_EQ(r.updateIn(path(), "2711_12", "", LinkUpdateField::Remove), 1);  // no usable line of that id
  EXPECT_EQ(bytes(), longLine + kB);
  EXPECT_EQ(r.storeIn(path(), "2711_12", "f\\", "f\\?k", "<m@x>", "", 1), 1);
  EXPECT_EQ(visible(bytes()), visible(longLine + kB + L("2711_12", "f\\", "?k", "<m@x>", "")));
}

TEST_F(LinkFileTest, StoreLeavesAnAlreadyCurrentLineWithoutWriting) {
  const std::string content = kB + kA + kC;
  write(content);
  lumo::platform::failStep(FileStep::OpenTemp);
  lumo::platform::failStep(FileStep::OpenAppend);
  LinkRecord r;
  EXPECT_EQ(r.storeIn(path(), "2711_12", "m.mb\\Inbox\\", "m.mb\\Inbox\\?k1", "<a@b>", "m.mb\\Links\\?s1", 1),
            1);
  EXPECT_EQ(r.storeIn(path(), "2a_3", "m.mb\\Old\\", "m.mb\\New\\?k3", "", "", 1), 1);  // empty equals absent
  EXPECT_EQ(r.storeIn(path(), "2a_3", nullptr, nullptr, nullptr, nullptr, 1), 1);       // null: leave alone
  EXPECT_EQ(bytes(), content);
}

TEST_F(LinkFileTest, StoreRewritesAChangedLineInPlace) {
  write(kB + kA + kC);
  LinkRecord r;
  EXPECT_EQ(r.storeIn(path(), "2711_12", "m.mb\\Inbox\\", "m.mb\\Inbox\\?k9", "<a@b>", "", 1), 1);
  EXPECT_EQ(visible(bytes()), visible(kB + L("2711_12", "m.mb\\Inbox\\", "?k9", "<a@b>", "") + kC));
  EXPECT_STREQ(r.targetMailId(), "m.mb\\Inbox\\?k9");
}

TEST_F(LinkFileTest, StoreBringsEveryLineOfTheIdInStep) {
  const std::string stale = L("7_7", "f\\", "?old", "<m@x>", "");
  const std::string current = L("7_7", "f\\", "?new", "<m@x>", "");
  write(stale + kB + current);
  LinkRecord r;
  EXPECT_EQ(r.storeIn(path(), "7_7", "f\\", "f\\?new", "<m@x>", "", 1), 1);
  EXPECT_EQ(visible(bytes()), visible(current + kB + current));
  LinkRecord found;
  ASSERT_EQ(found.findIn(path(), "7_7", LinkFindKind::ByShortcutId), 1);
  EXPECT_STREQ(found.targetMailId(), "f\\?new");
}

TEST_F(LinkFileTest, StoreAppendsAMissingLineAtTheEnd) {
  const std::string content = kB + "lf only\n" + kC;
  write(content);
  LinkRecord r;
  EXPECT_EQ(r.storeIn(path(), "2711_12", "m.mb\\Inbox\\", "m.mb\\Inbox\\?k1", "<a@b>", "m.mb\\L\\?s", 0), 0);
  EXPECT_EQ(bytes(), content);
  EXPECT_EQ(r.storeIn(path(), "2711_12", "m.mb\\Inbox\\", "m.mb\\Inbox\\?k1", "<a@b>", "m.mb\\L\\?s", 1), 1);
  EXPECT_EQ(visible(bytes()),
            visible(content + L("2711_12", "m.mb\\Inbox\\", "?k1", "<a@b>", "m.mb\\L\\?s")));
}

TEST_F(LinkFileTest, StoreRefusesBadValuesAndUnparsableLines) {
  LinkRecord r;
  write(kB +
        "2711_12\x01"
        "broken\r\n" +
        kA);
  EXPECT_EQ(r.storeIn(path(), "2711_12", "f\\", "f\\?k", "<a@b>", "", 1), 0);
  EXPECT_EQ(bytes(), kB +
                         "2711_12\x01"
                         "broken\r\n" +
                         kA);
  write(kB);
  EXPECT_EQ(r.storeIn(path(), "2711_12", "f\\", "f\\?k", "<a\r\n@b>", "", 1), 0);
  EXPECT_EQ(r.storeIn(path(), "2711_12", "f\\", "f\\?k", "<a@b>", "x\x01y", 1), 0);
  EXPECT_EQ(r.storeIn(path(), "2711_12", "f\\", "f\\?k", "<a@b>", std::string(500, 'l').c_str(), 1), 0);
  EXPECT_EQ(bytes(), kB);
}

// On behalf of one mail, the first line of the id that parses says whose
// the lines are: the mail's (stored as storeIn would) or another's (left
// alone, 0); with no such line they are the mail's without asking.
TEST_F(LinkFileTest, StoreOnBehalfOfAMailWritesOnlyTheLinesThatAreItsOwn) {
  const std::string broken = std::string("2711_12\x01") + "broken\r\n";
  const std::string content = kB + broken + kA + L("2711_12", "m.mb\\Other\\", "?k7", "<z@y>", "");
  std::vector<std::string> asked;
  auto ownedBy = [&](const char* messageId) {
    return [&asked, messageId](const LinkRecord& line) {
      asked.emplace_back(line.targetMessageId());
      return std::string(line.targetMessageId()) == messageId;
    };
  };
  LinkRecord r;
  bool owned = true;
  write(content);
  EXPECT_EQ(r.storeOwnedIn(path(), "2711_12", "f\\", "f\\?k", "<a@b>", "", 1, ownedBy("<z@y>"), owned), 0);
  EXPECT_FALSE(owned);
  EXPECT_EQ(bytes(), content);
  EXPECT_EQ(asked, std::vector<std::string>{"<a@b>"});

  write(kB + kA);
  EXPECT_EQ(r.storeOwnedIn(path(), "2711_12", "f\\", "f\\?k", "<a@b>", "", 1, ownedBy("<a@b>"), owned), 1);
  EXPECT_TRUE(owned);
  EXPECT_EQ(visible(bytes()), visible(kB + L("2711_12", "f\\", "?k", "<a@b>", "")));

  asked.clear();
  write(kB + broken);
  EXPECT_EQ(r.storeOwnedIn(path(), "2711_12", "f\\", "f\\?k", "<a@b>", "", 1, ownedBy("<none>"), owned), 0);
  EXPECT_TRUE(owned) << "no line of the id parses";
  write(kB);
  EXPECT_EQ(r.storeOwnedIn(path(), "2711_12", "f\\", "f\\?k", "<a@b>", "", 1, ownedBy("<none>"), owned), 1);
  EXPECT_TRUE(owned);
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(visible(bytes()), visible(kB + L("2711_12", "f\\", "?k", "<a@b>", "")));
}

TEST_F(LinkFileTest, AppendCreatesTheFileWithCrLfLines) {
  LinkRecord r;
  ASSERT_EQ(r.setFields("2711_12", "m.mb\\Inbox\\", "?k1", "<a@b>", nullptr), 1);
  EXPECT_EQ(r.appendTo(path()), 1);
  ASSERT_EQ(r.setFields("2711_1", "m.mb\\Inbox\\", "?k2", "<c@d>", "m.mb\\Links\\"), 1);
  EXPECT_EQ(r.appendTo(path()), 1);
  EXPECT_EQ(visible(bytes()), visible(L("2711_12", "m.mb\\Inbox\\", "?k1", "<a@b>", "") + kB));
}

TEST_F(LinkFileTest, AppendNeverMergesWithAnUnfinishedLastLine) {
  write(kB + "half a li");
  LinkRecord r;
  ASSERT_EQ(r.setFields("2711_12", "m.mb\\Inbox\\", "?k1", "<a@b>", "m.mb\\Links\\?s1"), 1);
  EXPECT_EQ(r.appendTo(path()), 1);
  EXPECT_EQ(visible(bytes()), visible(kB + "half a li\r\n" + kA));
  LinkRecord found;
  EXPECT_EQ(found.findIn(path(), "2711_12", LinkFindKind::ByShortcutId), 1);
}

TEST_F(LinkFileTest, AppendRefusesRecordsThatCannotBeWritten) {
  write(kB);
  LinkRecord r;
  EXPECT_EQ(r.appendTo(path()), 0);  // all fields absent
  ASSERT_EQ(r.setFields("2711_12", nullptr, nullptr, nullptr, std::string(505, 'l').c_str()), 1);
  EXPECT_EQ(r.appendTo(path()), 0);
  ASSERT_EQ(r.parseLine("2711_12\x01\x01\x01\x01"
                        "a\x01"
                        "b"),
            1);  // field 5 holds a separator
  EXPECT_EQ(r.appendTo(path()), 0);
  EXPECT_EQ(bytes(), kB);
}

TEST_F(LinkFileTest, FailedAppendIsReportedAndStorePassesItOn) {
  LinkRecord r;
  ASSERT_EQ(r.setFields("2711_12", "m.mb\\Inbox\\", "?k1", "<a@b>", nullptr), 1);
  std::string dirPath = dir.file("adir");
  std::filesystem::create_directory(dirPath);
  EXPECT_EQ(r.appendTo(dirPath.c_str()), 0);
  EXPECT_EQ(r.appendTo(dir.file("no\\such/dir/x.idx").c_str()), 0);
  for (FileStep step : {FileStep::OpenAppend, FileStep::Write}) {
    write(kB);
    lumo::platform::failStep(step);
    EXPECT_EQ(r.appendTo(path()), 0) << static_cast<int>(step);
    lumo::platform::failStep(step);
    EXPECT_EQ(r.storeIn(path(), "2711_12", "m.mb\\Inbox\\", "m.mb\\Inbox\\?k1", "<a@b>", "", 1), 0)
        << static_cast<int>(step);
    lumo::platform::clearFaults();
    EXPECT_EQ(bytes(), kB);
  }
}

TEST_F(LinkFileTest, FailedRewriteLeavesTheOldFileWhole) {
  const std::string content = kB + kA + "\n" + kC;
  const FileStep steps[] = {FileStep::OpenRead, FileStep::OpenTemp, FileStep::Write, FileStep::Flush,
                            FileStep::Rename};
  for (FileStep step : steps) {
    for (int op = 0; op < 3; ++op) {
      write(content);
      lumo::platform::failStep(step);
      LinkRecord r;
      int result = op == 0   ? r.updateIn(path(), "2711_12", "m.mb\\X\\", LinkUpdateField::SetLocation)
                   : op == 1 ? r.updateIn(path(), "2711_12", "", LinkUpdateField::Remove)
                             : r.storeIn(path(), "2a_3", "m.mb\\New\\", "m.mb\\New\\?k3", "<n@x>", "", 1);
      lumo::platform::clearFaults();
      EXPECT_EQ(result, 0) << "step " << static_cast<int>(step) << " op " << op;
      EXPECT_EQ(visible(bytes()), visible(content)) << "step " << static_cast<int>(step) << " op " << op;
      EXPECT_FALSE(tempLeft()) << "step " << static_cast<int>(step) << " op " << op;
    }
  }
  // The same operations succeed once nothing fails.
  LinkRecord r;
  EXPECT_EQ(r.storeIn(path(), "2a_3", "m.mb\\New\\", "m.mb\\New\\?k3", "<n@x>", "", 1), 1);
  EXPECT_EQ(visible(bytes()), visible(kB + kA + L("2a_3", "m.mb\\New\\", "?k3", "<n@x>", "")));
}

}  // namespace
