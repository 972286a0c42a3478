// Many searches in one walk against the same searches made one at a time
// (FindMailInFolder, FindMailInMailboxes) on random stores; indexes that
// cannot be read; and the link index cleanup against a literal line-by-line
// cleanup that asks the host and the single searches for every line.
#include "resolve/locator/multi_search.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/support/literal_cleanup.h"
#include "linkindex/link_record.h"
#include "platform/file.h"
#include "resolve/locator/locator.h"
#include "stub_host.h"
#include "support/store_paths.h"
#include "support/temp_dir.h"

namespace lumo {
namespace {

namespace fs = std::filesystem;
using lumo::platform::FileStep;
using lumo::testing::readBytes;
using lumo::testing::StubHost;
using lumo::testing::TempDir;
using lumo::testing::visible;
using lumo::testing::writeBytes;

// The host's answer to BKA_GetHeader: a header for the mail ids in `known`,
// and the stub host's own for the mails its folder indexes list.
std::set<std::string>* knownMails = nullptr;
decltype(HostApiTable::BKA_GetHeader) listedHeader = nullptr;

class MultiSearchStore : public ::testing::Test {
 public:
  void SetUp() override {
    fs::create_directories(data);
    host.dataFolder = data.string() + "\\";
    knownMails = &known;
    listedHeader = HostApi.BKA_GetHeader;
    HostApi.BKA_GetHeader = [](LPCSTR id) WINAPI -> LPSTR {
      if (id == nullptr) return nullptr;
      if (knownMails->count(id) == 0) return listedHeader(id);
      char* header = static_cast<char*>(std::malloc(16));
      std::strcpy(header, "Subject: x\r\n");
      return header;
    };
  }
  void TearDown() override {
    lumo::platform::clearFaults();
    knownMails = nullptr;
  }

  fs::path dirOf(const std::string& folderId) const { return lumo::testing::folderDir(data, folderId); }
  void index(const std::string& folderId, const std::string& bytes, const char* name = "Folder.idx") {
    fs::create_directories(dirOf(folderId));
    writeBytes((dirOf(folderId) / name).string(), bytes);
  }

  // Every search made alone, then all together; both must agree.
  void expectSameAsOneAtATime(const std::vector<std::string>& texts,
                              const std::vector<std::string>& folders) {
    std::vector<MailSearch> searches;
    for (const std::string& t : texts) searches.push_back({t, SearchOutcome::Unreadable, "stale"});
    FindMailsInMailboxes(searches);
    for (const MailSearch& s : searches) {
      std::string alone = FindMailInMailboxes(s.text);
      EXPECT_EQ(s.mailId, alone) << "mailboxes, text " << visible(s.text);
      EXPECT_EQ(s.outcome, alone.empty() ? SearchOutcome::Missing : SearchOutcome::Found) << visible(s.text);
    }
    for (const std::string& folder : folders) {
      for (MailSearch& s : searches) s = {s.text, SearchOutcome::Unreadable, "stale"};
      FindMailsInFolder(searches, folder);
      for (const MailSearch& s : searches) {
        std::string alone = FindMailInFolder(s.text, folder);
        EXPECT_EQ(s.mailId, alone) << "folder " << folder << ", text " << visible(s.text);
      }
    }
  }

  TempDir root;
  fs::path data = root.path() / "data";
  StubHost host;
  std::set<std::string> known;
};

// A host-like index line with the key in field 2 and the text in field 3.
std::string line(const std::string& key, const std::string& text) {
  return "0\x01" + key + "\x01" + text + "\x01Subject\x01" + "From\x01To\x01" + "Date\x01" + "9\x01\x01\x01" +
         "3\x01" + "0\x01" + "0\x01\r\n";
}

TEST_F(MultiSearchStore, FirstLineDecidesInAFolderAndTheFirstFolderWithAHitWins) {
  // Box.mb\A: <s1> first in a line without fields (no mail here, go on);
  // <s2> twice (the first line wins). Box.mb\B: <s1> with a key. Box.mb\B\C:
  // <s3> inside another mail's Message-ID (passed over), then its own line.
  index("Box.mb\\A\\", "junk <s1@1_1.LuMO.x> without fields\r\n" + line("A2", "<s2@2_2.LuMO.x>") +
                           line("A3", "<s2@2_2.LuMO.x>"));
  index("Box.mb\\B\\", line("B1", "<s1@1_1.LuMO.x>") + line("B2", "<s2@2_2.LuMO.x>"));
  index("Box.mb\\B\\C\\", line("C0", "zz<s3@3_3.LuMO.x>zz") + line("C1", "<s3@3_3.LuMO.x>"));
  std::vector<MailSearch> s = {{"<s1@1_1.LuMO.x>", {}, {}},
                               {"<s2@2_2.LuMO.x>", {}, {}},
                               {"<s3@3_3.LuMO.x>", {}, {}},
                               {"<s4@4_4.LuMO.x>", {}, {}},
                               {"<s2@2_2.LuMO.x>", {}, {}}};
  FindMailsInMailboxes(s);
  EXPECT_EQ(s[0].mailId, "Box.mb\\B\\?B1");
  EXPECT_EQ(s[1].mailId, "Box.mb\\A\\?A2");
  EXPECT_EQ(s[2].mailId, "Box.mb\\B\\C\\?C1");
  EXPECT_EQ(s[3].outcome, SearchOutcome::Missing);
  EXPECT_EQ(s[4].mailId, "Box.mb\\A\\?A2");  // an equal text gets the same answer
  expectSameAsOneAtATime({"<s1@1_1.LuMO.x>", "<s2@2_2.LuMO.x>", "<s3@3_3.LuMO.x>", "<s4@4_4.LuMO.x>"},
                         {"Box.mb\\A\\", "Box.mb\\B\\", host.dataFolder + "Box.mb\\B\\C\\", "Nope.mb\\"});
}

TEST_F(MultiSearchStore, ShowsEachFolderOfTheWalkOnceAndNoneForAFolderId) {
  index("Box.mb\\A\\", line("A1", "<a@1_1.LuMO.x>"));
  index("Box.mb\\B\\", line("B1", "<b@1_1.LuMO.x>"));
  std::vector<MailSearch> s = {
      {"<b@1_1.LuMO.x>", {}, {}}, {"<a@1_1.LuMO.x>", {}, {}}, {"<c@1_1.LuMO.x>", {}, {}}};
  FindMailsInMailboxes(s);
  EXPECT_EQ(host.status, (std::vector<std::string>{"name of Box.mb\\A\\", "name of Box.mb\\B\\"}));
  host.status.clear();
  FindMailsInFolder(s, "Box.mb\\A\\");
  EXPECT_TRUE(host.status.empty());
  EXPECT_EQ(s[1].mailId, "Box.mb\\A\\?A1");
}

TEST_F(MultiSearchStore, AFolderIndexThatCannotBeReadMakesMissingTextsUnreadable) {
  index("Box.mb\\A\\", line("A1", "<a@1_1.LuMO.x>"));
  index("Box.mb\\B\\", line("B1", "<b@1_1.LuMO.x>"));
  fs::create_directories(dirOf("Box.mb\\D\\") / "Folder.idx");  // a directory where the index should be
  std::vector<MailSearch> s = {{"<a@1_1.LuMO.x>", {}, {}}, {"<z@1_1.LuMO.x>", {}, {}}};
  FindMailsInFolder(s, "Box.mb\\D\\");
  EXPECT_EQ(s[0].outcome, SearchOutcome::Unreadable);
  EXPECT_EQ(s[1].outcome, SearchOutcome::Unreadable);
  fs::create_directories(dirOf("Box.mb\\None\\"));
  FindMailsInFolder(s, "Box.mb\\None\\");  // a folder without an index holds no mail
  EXPECT_EQ(s[0].outcome, SearchOutcome::Missing);
  FindMailsInFolder(s, "Box.mb\\Gone\\");  // a folder that cannot be listed proves nothing
  EXPECT_EQ(s[0].outcome, SearchOutcome::Unreadable);
  // In the walk the first index (A) fails to open: a hit elsewhere still
  // counts, a text found nowhere is not known to be missing.
  lumo::platform::failStep(FileStep::OpenRead);
  FindMailsInMailboxes(s);
  EXPECT_EQ(s[0].outcome, SearchOutcome::Unreadable);
  lumo::platform::failStep(FileStep::OpenRead, 1);
  std::vector<MailSearch> t = {{"<a@1_1.LuMO.x>", {}, {}}, {"<z@1_1.LuMO.x>", {}, {}}};
  FindMailsInMailboxes(t);
  EXPECT_EQ(t[0].outcome, SearchOutcome::Found);
  EXPECT_EQ(t[1].outcome, SearchOutcome::Unreadable);
  lumo::platform::clearFaults();
  FindMailsInMailboxes(t);
  EXPECT_EQ(t[1].outcome, SearchOutcome::Missing);
}

TEST_F(MultiSearchStore, AFolderOfTheWalkThatCannotBeListedMakesMissingTextsUnreadable) {
  index("Box.mb\\A\\", line("A1", "<a@1_1.LuMO.x>"));
  index("Box.mb\\B\\", line("B1", "<b@1_1.LuMO.x>"));
  std::vector<MailSearch> s = {
      {"<a@1_1.LuMO.x>", {}, {}}, {"<b@1_1.LuMO.x>", {}, {}}, {"<z@1_1.LuMO.x>", {}, {}}};
  // Listings: the mailboxes, Box.mb, Box.mb\A, then Box.mb\B fails.
  lumo::platform::failStep(FileStep::List, 3);
  FindMailsInMailboxes(s);
  EXPECT_EQ(s[0].outcome, SearchOutcome::Found);
  EXPECT_EQ(s[1].outcome, SearchOutcome::Unreadable);
  EXPECT_EQ(s[2].outcome, SearchOutcome::Unreadable);
  lumo::platform::clearFaults();
  FindMailsInMailboxes(s);
  EXPECT_EQ(s[1].outcome, SearchOutcome::Found);
  EXPECT_EQ(s[2].outcome, SearchOutcome::Missing);
}

// The store moved away (or its network drive gone) between start and exit:
// the host knows no mail and no folder can be listed, which proves no
// shortcut gone. A recorded folder that cannot be listed proves nothing
// either; a mail the host does not know in a folder that lists is gone.
TEST_F(MultiSearchStore, ACleanupThatCannotListTheStoreKeepsEveryLine) {
  index("Box.mb\\A\\",
        line("A1", "<t1@1_1.LuMO.x>") + line("A2", "<t2@2_1.LuMO.x>") + line("A3", "<t3@3_1.LuMO.x>"));
  auto link = [](const std::string& id, int n, const std::string& location) {
    return id + "\x01T.mb\\In\\\x01?t\x01<t" + std::to_string(n) + "@x>\x01" + location + "\r\n";
  };
  const std::string known1 = link("1_1", 1, "Box.mb\\A\\?A1");
  const std::string moved2 = link("2_1", 2, "Box.mb\\A\\");
  const std::string unplaced3 = link("3_1", 3, "");
  const std::string goneFolder = link("4_1", 4, "Box.mb\\Gone\\");
  const std::string goneFolderMail = link("5_1", 5, "Box.mb\\Gone\\?G5");
  const std::string goneMail = link("6_1", 6, "Box.mb\\A\\?A6");
  const std::string content = known1 + moved2 + unplaced3 + goneFolder + goneFolderMail;
  TempDir files;
  std::string path = files.file("lumo.idx");
  LinkRecord r;
  StoreLinkLookup lookup;
  fs::rename(data, root.path() / "moved");
  writeBytes(path, content + goneMail);
  ASSERT_EQ(r.cleanIndex(path.c_str(), lookup), 1);
  EXPECT_EQ(visible(readBytes(path)), visible(content + goneMail));
  fs::rename(root.path() / "moved", data);
  known = {"Box.mb\\A\\?A1"};
  writeBytes(path, content + goneMail);
  ASSERT_EQ(r.cleanIndex(path.c_str(), lookup), 1);
  EXPECT_EQ(visible(readBytes(path)),
            visible(known1 + link("2_1", 2, "Box.mb\\A\\?A2") + link("3_1", 3, "Box.mb\\A\\?A3") +
                    goneFolder + goneFolderMail));
}

TEST_F(MultiSearchStore, IdsLeavingTheDataFolderNameNothing) {
  index("Box.mb\\A\\", line("A1", "<a@1_1.LuMO.x>"));
  std::vector<MailSearch> s = {{"<a@1_1.LuMO.x>", {}, {}}};
  for (const char* folder : {"Box.mb\\A\\..\\A\\", "..\\data\\Box.mb\\A\\", "C:\\Box.mb\\A\\"}) {
    FindMailsInFolder(s, folder);
    EXPECT_EQ(s[0].outcome, SearchOutcome::Missing) << folder;
  }
  StoreLinkLookup lookup;
  known = {"Box.mb\\A\\?A1", "..\\x\\?A1"};
  EXPECT_EQ(lookup.lookUpMail("Box.mb\\A\\?A1"), SearchOutcome::Found);
  EXPECT_EQ(lookup.lookUpMail("..\\x\\?A1"), SearchOutcome::Missing);
  EXPECT_EQ(lookup.lookUpMail("Box.mb\\A\\?A2"), SearchOutcome::Missing);
}

// A random store: mailboxes (and a file and a folder that are not), nested
// folders, indexes with host lines, lines without fields or with one field,
// LF-only and unfinished lines, texts inside longer texts, equal texts in
// several folders, and an index in the wrong letter case.
class RandomStore {
 public:
  RandomStore(MultiSearchStore& t, unsigned seed) : test_(t), rng_(seed) {}

  int pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

  std::string text(int i) const {
    return "<m" + std::to_string(i) + "@" + std::to_string(i % 7) + "_1.LuMO.x>";
  }

  void build(int textCount) {
    texts_ = textCount;
    const char* boxes[] = {"A.mb", "b.mb", "C.MB", "d.mb"};
    for (const char* box : boxes) addTree(std::string(box) + "\\", 0);
    writeBytes((test_.data / "e.mb").string(), "not a mailbox");
    test_.index("notbox\\", line("N1", text(0)));
  }

  std::vector<std::string> texts() const {
    std::vector<std::string> all;
    for (int i = 0; i < texts_; ++i) all.push_back(text(i));
    all.push_back("<m1@1_1.LuMO.x");  // stands inside <m1@1_1.LuMO.x> and <m1@1_1.LuMO.x>>
    all.push_back("@1_1.LuMO.");
    return all;
  }
  const std::vector<std::string>& folders() const { return folders_; }

 private:
  void addTree(const std::string& folder, int depth) {
    folders_.push_back(folder);
    if (pick(5) != 0) {
      std::string bytes;
      for (int n = pick(12); n > 0; --n) bytes += randomLine();
      if (pick(3) == 0)
        bytes += "0\x01K" + std::to_string(pick(99)) + "\x01" + text(pick(texts_));  // unfinished
      test_.index(folder, bytes, pick(12) == 0 ? "folder.idx" : "Folder.idx");
    }
    if (depth < 3)
      for (int n = pick(3); n > 0; --n)
        addTree(folder + (pick(4) == 0 ? "!Trash" : "F" + std::to_string(pick(9))) + "\\", depth + 1);
  }

  std::string randomLine() {
    std::string t = text(pick(texts_));
    switch (pick(8)) {
      case 0:
        return "no fields " + t + "\r\n";
      case 1:
        return "0\x01" + t + "\r\n";  // one separator: no whole field 2
      case 2:
        return line("L" + std::to_string(pick(99)), t + ">").substr(0);
      case 3: {
        std::string l = line("F" + std::to_string(pick(99)), t);
        return l.substr(0, l.size() - 2) + "\n";  // LF only
      }
      default:
        return line("K" + std::to_string(pick(999)), pick(2) ? t : "x" + t + "y");
    }
  }

  MultiSearchStore& test_;
  std::mt19937 rng_;
  int texts_ = 0;
  std::vector<std::string> folders_;
};

TEST_F(MultiSearchStore, RandomStoresGiveTheAnswersOfTheSearchesMadeOneAtATime) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE(seed);
    fs::remove_all(data);
    fs::create_directories(data);
    RandomStore store(*this, seed);
    store.build(20);
    std::vector<std::string> folders = store.folders();
    folders.push_back(host.dataFolder + folders.back());
    expectSameAsOneAtATime(store.texts(), folders);
  }
}

TEST_F(MultiSearchStore, CleanupGivesWhatTheLiteralLineByLineCleanupGives) {
  TempDir files;
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE(seed);
    fs::remove_all(data);
    fs::create_directories(data);
    RandomStore store(*this, seed);
    store.build(24);
    std::mt19937 rng(seed * 31);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    known.clear();
    std::string content;
    for (int i = 0; i < 60; ++i) {
      // Lines whose shortcut Message-ID is text(k): target <mk@x>, id "k%7_1".
      int k = static_cast<int>(pick(30));
      std::string id = std::to_string(k % 7) + "_1";
      std::string messageId = pick(8) == 0 ? "<nokey>" : "<m" + std::to_string(k) + "@x>";
      std::string location;
      switch (pick(5)) {
        case 0:
          break;  // never located: searched mailbox-wide
        case 1:
          location = store.folders()[pick(store.folders().size())];
          break;
        case 2:
          location = "A.mb\\Gone\\";
          break;
        default:
          location = store.folders()[pick(store.folders().size())] + "?K" + std::to_string(pick(20));
          if (pick(2) == 0) known.insert(location);
      }
      content += id + "\x01" + "T.mb\\In\\\x01?t" + std::to_string(i) + "\x01" + messageId + "\x01" +
                 location + "\r\n";
    }
    std::string path = files.file("lumo.idx");
    std::string expected = reference::literalCleanup(content);
    writeBytes(path, content);
    LinkRecord r;
    StoreLinkLookup lookup;
    ASSERT_EQ(r.cleanIndex(path.c_str(), lookup), 1);
    EXPECT_EQ(visible(readBytes(path)), visible(expected));
    EXPECT_NE(expected, content);  // the store changed something
  }
}

}  // namespace
}  // namespace lumo
