// The host's mail store: ids, index lines the plug-in reads, appends, moves,
// header edits and the read mark.
#include "host-sim/core/mail_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "host-sim/core/mail_text.h"
#include "support/temp_dir.h"

namespace lumo::hostsim {
namespace {

std::string visible(const std::string& text) {
  std::string out;
  for (char c : text)
    out += c == '\x01' ? std::string("<01>") : c == '\r' ? "<CR>" : c == '\n' ? "<LF>" : std::string(1, c);
  return out;
}

struct StoreTest : ::testing::Test {
  lumo::testing::TempDir dir;
  MailStore store{dir.path()};
  void SetUp() override {
    ASSERT_TRUE(store.addFolder("Box.mb\\", "Box"));
    ASSERT_TRUE(store.addFolder("Box.mb\\!!!!Inbox\\", "Inbox"));
    ASSERT_TRUE(store.addFolder("Box.mb\\!!!!Inbox\\Sub\\", "Sub"));
    ASSERT_TRUE(store.addFolder("Box.mb\\!Trash\\", "Trash"));
  }
};

const char kMail[] = "Subject: Hi\r\nMessage-ID: <m1@x>\r\nFrom: a@b\r\n\r\nBody\r\n";

TEST_F(StoreTest, IndexLineCarriesKeyInField2MessageIdAndReadMarkAtEndOfField13) {
  std::string id = store.append("Box.mb\\!!!!Inbox\\", kMail);
  ASSERT_EQ(id, "Box.mb\\!!!!Inbox\\?00000001");
  auto idx = readFile(store.folderPath("Box.mb\\!!!!Inbox\\") / "Folder.idx");
  ASSERT_TRUE(idx);
  ASSERT_TRUE(idx->ends_with("\r\n")) << visible(*idx);
  std::string line = idx->substr(0, idx->size() - 2);
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == '\x01')
      fields.emplace_back();
    else
      fields.back().push_back(c);
  }
  ASSERT_GE(fields.size(), 14u) << visible(line);
  EXPECT_EQ(fields[1], "00000001") << visible(line);
  EXPECT_NE(line.find("<m1@x>"), std::string::npos) << visible(line);
  EXPECT_EQ(fields[12].back(), '0') << visible(line);
  ASSERT_TRUE(store.setRead(id, true));
  EXPECT_TRUE(store.entry(id)->read);
  auto after = readFile(store.folderPath("Box.mb\\!!!!Inbox\\") / "Folder.idx");
  EXPECT_EQ(after->size(), idx->size()) << "marking read must change one byte only";
}

TEST_F(StoreTest, SourceRoundTripsByteForByteAndKeysGrow) {
  std::string binary("Subject: x\r\n\r\n\x82\xa0\x00\x01 end", 21);
  std::string a = store.append("Box.mb\\!!!!Inbox\\", kMail);
  std::string b = store.append("Box.mb\\!!!!Inbox\\", binary);
  EXPECT_EQ(store.source(b).value(), binary);
  EXPECT_EQ(store.source(a).value(), kMail);
  EXPECT_EQ(store.mailIds("Box.mb\\!!!!Inbox\\"), (std::vector<std::string>{a, b}));
  EXPECT_FALSE(store.source("Box.mb\\!!!!Inbox\\?0000000F"));
  EXPECT_FALSE(store.source("Box.mb\\!!!!Inbox\\?..\\..\\x"));
}

// An append adds one line at the end and leaves the others byte for byte; a
// last line written without its line end by someone else gets one first.
TEST_F(StoreTest, AppendAddsOneLineAndEndsAnUnfinishedOne) {
  std::string a = store.append("Box.mb\\!!!!Inbox\\", kMail);
  auto path = store.folderPath("Box.mb\\!!!!Inbox\\") / "Folder.idx";
  std::string first = readFile(path).value();
  writeFile(path, first.substr(0, first.size() - 2));
  std::string b = store.append("Box.mb\\!!!!Inbox\\", kMail);
  EXPECT_EQ(b, "Box.mb\\!!!!Inbox\\?00000002");
  EXPECT_EQ(visible(readFile(path).value()),
            visible(first + MailStore::indexLine("00000002", kMail, false) + "\r\n"));
  EXPECT_EQ(store.mailIds("Box.mb\\!!!!Inbox\\"), (std::vector<std::string>{a, b}));
}

TEST_F(StoreTest, MoveTakesFileAndIndexLineAlongAndKeepsReadMark) {
  std::string id = store.append("Box.mb\\!!!!Inbox\\", kMail, true);
  std::string moved = store.transfer(id, "Box.mb\\!Trash\\", false);
  ASSERT_EQ(moved, "Box.mb\\!Trash\\?00000001");
  EXPECT_TRUE(store.mailIds("Box.mb\\!!!!Inbox\\").empty());
  EXPECT_FALSE(std::filesystem::exists(store.folderPath("Box.mb\\!!!!Inbox\\") / "00000001.eml"));
  EXPECT_TRUE(store.entry(moved)->read);
  EXPECT_EQ(store.source(moved).value(), kMail);
  std::string copy = store.transfer(moved, "Box.mb\\!!!!Inbox\\Sub\\", true);
  EXPECT_FALSE(copy.empty());
  EXPECT_TRUE(store.entry(moved));
  EXPECT_TRUE(store.transfer(moved, "Box.mb\\Missing\\", false).empty());
}

TEST_F(StoreTest, SetSourceRefreshesTheIndexLine) {
  std::string id = store.append("Box.mb\\!!!!Inbox\\", kMail);
  ASSERT_TRUE(store.setSource(id, withHeader(kMail, "Message-ID", "<new@x>")));
  EXPECT_EQ(store.entry(id)->messageId, "<new@x>");
}

TEST_F(StoreTest, FoldersDisplayNamesAndBadIds) {
  EXPECT_EQ(store.folders(), (std::vector<std::string>{"Box.mb\\", "Box.mb\\!!!!Inbox\\",
                                                       "Box.mb\\!!!!Inbox\\Sub\\", "Box.mb\\!Trash\\"}));
  EXPECT_EQ(store.displayName("Box.mb\\!!!!Inbox\\Sub\\"), "Sub");
  EXPECT_EQ(store.displayName("Box.mb\\Nope\\"), "");
  EXPECT_FALSE(store.addFolder("NoMailbox\\", "x"));
  EXPECT_FALSE(store.addFolder("Box.mb\\A\\B\\", "parent missing"));
  EXPECT_FALSE(store.addFolder("Box.mb\\..\\", "x"));
  EXPECT_EQ(store.dataFolderText().back(), '\\');
}

// A folder named "ソ" (83 5C) or "表" (95 5C) is one directory, as on Windows:
// the second byte of a two-byte character is no separator.
TEST_F(StoreTest, ANameEndingInTheByteOfABackslashIsOneDirectory) {
  const std::string so = "Box.mb\\\x83\x5c\\";
  const std::string hyo = so + "\x95\x5c\\";
  ASSERT_TRUE(store.addFolder(so, "So"));
  ASSERT_TRUE(store.addFolder(hyo, "Hyo"));
  EXPECT_EQ(store.folderPath(so), dir.path() / "Box.mb" / "\x83\x5c");
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "Box.mb" / "\x83\x5c" / "\x95\x5c"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "Box.mb" / "\x83"));
  std::vector<std::string> folders = store.folders();
  EXPECT_NE(std::find(folders.begin(), folders.end(), hyo), folders.end());
  EXPECT_EQ(store.displayName(hyo), "Hyo");
  EXPECT_EQ(store.append(hyo, kMail), hyo + "?00000001");
}

TEST(MailText, HeadersAreFoundUnfoldedReplacedAndAdded) {
  const std::string src = "Subject: a\r\n b\r\nX-Key: 1\r\n\r\nX-Key: body\r\n";
  EXPECT_EQ(headerValue(src, "subject"), "a b");
  EXPECT_EQ(headerValue(src, "X-Missing"), "");
  EXPECT_EQ(headerBlock(src), "Subject: a\r\n b\r\nX-Key: 1\r\n\r\n");
  EXPECT_EQ(headerBlock("A: 1\nB: 2\n\nbody\n"), "A: 1\nB: 2\n\n");
  EXPECT_EQ(headerBlock("A: 1\r\nno empty line"), "A: 1\r\nno empty line");
  EXPECT_EQ(withHeader(src, "SUBJECT", "c"), "SUBJECT: c\r\nX-Key: 1\r\n\r\nX-Key: body\r\n");
  EXPECT_EQ(withHeader(src, "X-New", "v"), "Subject: a\r\n b\r\nX-Key: 1\r\nX-New: v\r\n\r\nX-Key: body\r\n");
  EXPECT_EQ(indexField("a\r\n\x01z"), "a   z");
}

}  // namespace
}  // namespace lumo::hostsim
