// The "Folder.idx" line rules: whole lines of any length, the first line
// holding the text decides, field 2 and the end of field 13 counted from the
// line's start. Every case runs with buffers from one byte to the default
// size and with sources that hand out odd-sized pieces, so that texts and
// lines running across buffer boundaries are covered.
#include "resolve/locator/index_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/store_paths.h"
#include "support/temp_dir.h"

namespace lumo::locator {
namespace {

using lumo::testing::visible;

using lumo::testing::folderIndexLine;

struct Result {
  ScanResult status = ScanResult::Absent;
  IndexEntry entry;
};

Result scan(std::string_view text, std::string_view content, std::size_t chunk, std::size_t piece,
            LineCheck* check) {
  MemorySource source(content, piece);
  IndexScanner scanner(text, chunk);
  Result r;
  r.status = scanner.find(source, r.entry, check);
  return r;
}

// Scans with every buffer and piece size; all must agree. Returns the result.
Result scanAll(std::string_view text, std::string_view content, LineCheck* check = nullptr) {
  Result first = scan(text, content, IndexScanner::kDefaultChunk, static_cast<std::size_t>(-1), check);
  for (std::size_t chunk : {1, 2, 3, 7, 64, 511, 4096})
    for (std::size_t piece : {1, 5, 4096}) {
      Result r = scan(text, content, chunk, piece, check);
      EXPECT_EQ(r.status, first.status)
          << "chunk " << chunk << " piece " << piece << " in " << visible(content);
      EXPECT_EQ(r.entry.lineStart, first.entry.lineStart) << "chunk " << chunk << " piece " << piece;
      EXPECT_EQ(r.entry.key, first.entry.key) << "chunk " << chunk << " piece " << piece;
      EXPECT_EQ(r.entry.separators, first.entry.separators) << "chunk " << chunk << " piece " << piece;
      EXPECT_EQ(r.entry.markOffset, first.entry.markOffset) << "chunk " << chunk << " piece " << piece;
    }
  return first;
}

// The mail key the scan gives, or "(none)".
std::string keyFor(std::string_view text, std::string_view content, LineCheck* check = nullptr) {
  Result r = scanAll(text, content, check);
  if (r.status != ScanResult::Found) return "(absent)";
  return r.entry.namesMail() ? r.entry.key : "(none)";
}

TEST(IndexLines, TheFirstLineHoldingTheTextDecides) {
  std::string index = folderIndexLine("K1", "<xa@x>") + "\r\n" + folderIndexLine("K2", "<a@x>") + "\r\n" +
                      folderIndexLine("K3", "<a@x>") + "\r\n";
  EXPECT_EQ(keyFor("<a@x>", index), "K2");
  // Anywhere in the line, not only as a whole Message-ID field: "a@x>" also
  // stands in K1's "<xa@x>", and "Subject" in every line.
  EXPECT_EQ(keyFor("a@x>", index), "K1");
  EXPECT_EQ(keyFor("Subject", index), "K1");
  EXPECT_EQ(keyFor("<A@x>", index), "(absent)");  // letter case counts
  EXPECT_EQ(keyFor("<c@x>", index), "(absent)");
}

// The mails whose lines a check refuses, and the lines it was asked about.
class RefusedKeys : public LineCheck {
 public:
  explicit RefusedKeys(std::vector<std::string> keys) : keys_(std::move(keys)) {}
  bool accepts(std::string_view text, const IndexEntry& entry) override {
    asked.push_back(std::string(text) + " " + entry.key);
    for (const std::string& key : keys_)
      if (entry.key == key) return false;
    return true;
  }
  std::vector<std::string> asked;

 private:
  std::vector<std::string> keys_;
};

TEST(IndexLines, ALineTheCheckRefusesIsPassedOverForTheNextLineHoldingTheText) {
  // K1 holds the text twice (its own field and a reply's "In-Reply-To"), K2
  // once; both name other mails. A line without fields decides unasked.
  std::string index = folderIndexLine("K1", "<a@x>", '0', "Re: <a@x>") + "\r\n" +
                      folderIndexLine("K2", "<r@x>", '0', "Re: <a@x>") + "\r\n" +
                      folderIndexLine("K3", "<a@x>") + "\r\n" + folderIndexLine("K4", "<a@x>") + "\r\n";
  RefusedKeys refuseTwo({"K1", "K2"});
  EXPECT_EQ(keyFor("<a@x>", index, &refuseTwo), "K3");
  RefusedKeys refuseAll({"K1", "K2", "K3", "K4"});
  EXPECT_EQ(keyFor("<a@x>", index, &refuseAll), "(absent)");
  // Each line is asked about once per search, however often it holds the text.
  RefusedKeys counted({"K1", "K2"});
  scan("<a@x>", index, IndexScanner::kDefaultChunk, static_cast<std::size_t>(-1), &counted);
  EXPECT_EQ(counted.asked, (std::vector<std::string>{"<a@x> K1", "<a@x> K2", "<a@x> K3"}));
  RefusedKeys noFields({"K1"});
  EXPECT_EQ(keyFor("<a@x>", "<a@x> without fields\r\n" + index, &noFields), "(none)");
}

TEST(IndexLines, AMatchingLineWithoutSeparatorGivesNoneAndEndsTheSearch) {
  std::string index = "noise <a@x> without fields\r\n" + folderIndexLine("K2", "<a@x>") + "\r\n";
  Result r = scanAll("<a@x>", index);
  ASSERT_EQ(r.status, ScanResult::Found);
  EXPECT_EQ(r.entry.separators, 0);
  EXPECT_EQ(r.entry.lineStart, 0u);
  EXPECT_FALSE(r.entry.namesMail());
}

// Our choice: a single 0x01 leaves field 2 without its closing separator. The
// host's lines always close it, so the line is damaged or cut and names no
// mail; field 2 is read as the rest of the line all the same.
TEST(IndexLines, ALineWithOneSeparatorNamesNoMail) {
  Result r = scanAll("<a@x>",
                     "0\x01"
                     "KEY <a@x>\r\n" +
                         folderIndexLine("K2", "<a@x>") + "\r\n");
  ASSERT_EQ(r.status, ScanResult::Found);
  EXPECT_EQ(r.entry.separators, 1);
  EXPECT_FALSE(r.entry.keyClosed);
  EXPECT_EQ(r.entry.key, "KEY <a@x>");  // the CR before the LF is not part of it
  EXPECT_FALSE(r.entry.namesMail());
  EXPECT_EQ(keyFor("<a@x>",
                   "<a@x>\x01"
                   "rest\r"),
            "(none)");  // a cut last line
  // An empty field 2 names no mail either.
  EXPECT_EQ(keyFor("<a@x>", "0\x01\x01<a@x>\x01\r\n"), "(none)");
}

// A key no id could hold, or one with a line break or NUL in it, would end or
// cut the mail id ("X-MailID", a link index field) wherever it is written.
TEST(IndexLines, AKeyLongerThanAnIdOrHoldingCrOrNulNamesNoMail) {
  const std::string longest(lumo::kIdMax, 'k');
  EXPECT_EQ(keyFor("<a@x>", folderIndexLine(longest, "<a@x>") + "\r\n"), longest);
  EXPECT_EQ(keyFor("<a@x>", folderIndexLine(longest + "k", "<a@x>") + "\r\n"), "(none)");
  EXPECT_EQ(keyFor("<a@x>", folderIndexLine("K\r1", "<a@x>") + "\r\n"), "(none)");
  EXPECT_EQ(keyFor("<a@x>", folderIndexLine("K\r", "<a@x>") + "\r\n"), "(none)");
  EXPECT_EQ(keyFor("<a@x>", folderIndexLine(std::string("K\0"
                                                        "1",
                                                        3),
                                            "<a@x>") +
                                "\r\n"),
            "(none)");
  // A crash left the index's tail full of zero bytes: the key runs to the
  // end of the file, and is not kept whole.
  Result r =
      scan("<z@x>", folderIndexLine("K", "<b@x>") + "\r\n<z@x>\x01" + std::string(std::size_t{1} << 22, '\0'),
           IndexScanner::kDefaultChunk, static_cast<std::size_t>(-1), nullptr);
  ASSERT_EQ(r.status, ScanResult::Found);
  EXPECT_FALSE(r.entry.namesMail());
  EXPECT_LE(r.entry.key.size(), lumo::kIdMax + 1);
}

TEST(IndexLines, LineEndsCrLfLfOnlyAndAnUnterminatedLastLine) {
  std::string a = folderIndexLine("KA", "<a@x>"), b = folderIndexLine("KB", "<b@x>"),
              c = folderIndexLine("KC", "<c@x>");
  for (std::string end : {"\r\n", "\n"}) {
    std::string index = a + end + b + end + c;  // the last line has no line end
    EXPECT_EQ(keyFor("<b@x>", index), "KB") << visible(end);
    EXPECT_EQ(keyFor("<c@x>", index), "KC") << visible(end);
    Result r = scanAll("<c@x>", index);
    EXPECT_EQ(r.entry.lineStart, a.size() + b.size() + 2 * end.size());
  }
  // Mixed line ends in one file, and an empty line between.
  EXPECT_EQ(keyFor("<c@x>", a + "\n\r\n" + b + "\r\n" + c + "\n"), "KC");
}

// A CR before the line feed is the line end, not part of the line; a CR
// anywhere else is an ordinary byte.
TEST(IndexLines, ACrBelongsToTheLineOnlyWhenNoLineFeedFollows) {
  std::string index =
      "x\x01K1\x01<a@x>\r\n"
      "x\x01K2\x01<a@x>\rmore\r\n"
      "x\x01K3\x01<a@x>\r";
  EXPECT_EQ(keyFor("<a@x>\r", index), "K2");
  EXPECT_EQ(keyFor("<a@x>\r",
                   "x\x01K1\x01<a@x>\r\n"
                   "x\x01K3\x01<a@x>\r"),
            "K3");  // the last line keeps its CR
  EXPECT_EQ(keyFor("<a@x>\r", "x\x01K1\x01<a@x>\r\n"), "(absent)");
  EXPECT_EQ(keyFor("<a@x>\r\n", index), "(absent)");  // a line never holds a line feed
  EXPECT_EQ(keyFor("\n", index), "(absent)");
  EXPECT_EQ(keyFor("", index), "(absent)");
}

// Whole lines whatever their length: a 511-byte piece reader would miss a
// Message-ID across byte 511 and read a piece's field 2 as the key.
TEST(IndexLines, LongLinesAreReadWhole) {
  std::string id = "<straddle@example.com>";
  for (std::size_t at : {500u, 505u, 510u, 511u, 512u}) {
    std::string head = "0\x01KEY\x01";
    std::string longLine = head + std::string(at - head.size(), 'p') + id + "\x01tail";
    ASSERT_EQ(longLine.find(id), at);
    EXPECT_EQ(keyFor(id, folderIndexLine("K0", "<first@x>") + "\r\n" + longLine + "\r\n"), "KEY") << at;
  }
  // Many kilobytes, with separators on the way: key and mark still counted
  // from the line's start.
  std::string filler;
  for (int i = 0; i < 2000; ++i) filler += "word\x02";
  std::string huge = "0\x01HUGEKEY\x01" + filler + "\x01<deep@x>";
  for (int i = 0; i < 9; ++i) huge += "\x01" + filler;  // separators 4 to 12
  huge += "\x01tail";
  std::string index = folderIndexLine("K0", "<first@x>") + "\r\n" + huge + "\r\n" +
                      folderIndexLine("K2", "<deep@x>") + "\r\n";
  Result r = scanAll("<deep@x>", index);
  ASSERT_EQ(r.status, ScanResult::Found);
  EXPECT_EQ(r.entry.key, "HUGEKEY");
  ASSERT_TRUE(r.entry.hasMarkField());
  // The 13th separator of the long line is the one before "\x01tail".
  EXPECT_EQ(r.entry.markOffset, index.find("\x01tail") - 1);
}

TEST(IndexLines, TheMarkIsTheLastCharacterOfField13) {
  std::string first = folderIndexLine("K0", "<first@x>") + "\r\n";
  std::string index = first + folderIndexLine("K1", "<a@x>", '0') + "\r\n";
  Result r = scanAll("<a@x>", index);
  ASSERT_TRUE(r.entry.hasMarkField());
  EXPECT_EQ(r.entry.mark, '0');
  // Field 13 is "0" in folderIndexLine(): its last character stands before the 13th
  // separator, which is the second-to-last byte of the line.
  EXPECT_EQ(r.entry.markOffset, index.size() - 2 - 2);
  EXPECT_EQ(scanAll("<a@x>", first + folderIndexLine("K1", "<a@x>", '1') + "\r\n").entry.mark, '1');

  // Twelve separators: no mark field.
  std::string twelve = "0\x01K\x01<a@x>" + std::string(9, '\x01') + "1";
  Result few = scanAll("<a@x>", twelve);
  EXPECT_EQ(few.entry.separators, 11);
  EXPECT_FALSE(few.entry.hasMarkField());
  few = scanAll("<a@x>", twelve + "\x01");
  EXPECT_EQ(few.entry.separators, 12);
  EXPECT_FALSE(few.entry.hasMarkField());
  // An empty field 13: the character before the 13th separator is the 12th.
  Result empty = scanAll("<a@x>", twelve + "\x01\x01");
  ASSERT_TRUE(empty.entry.hasMarkField());
  EXPECT_EQ(empty.entry.mark, '\x01');
}

TEST(IndexLines, NulBytesAreOrdinaryBytes) {
  std::string index("0\x01KY\x01<a\0b>\x01\r\n", 14);
  EXPECT_EQ(keyFor(std::string("<a\0b>", 5), index), "KY");
}

class FailingSource : public ByteSource {
 public:
  FailingSource(std::string_view text, std::uint64_t failAt) : inner_(text, 3), failAt_(failAt) {}
  std::int64_t readAt(std::uint64_t offset, char* buffer, std::size_t size) override {
    return offset >= failAt_ ? -1 : inner_.readAt(offset, buffer, size);
  }

 private:
  MemorySource inner_;
  std::uint64_t failAt_;
};

TEST(IndexLines, AReadFailureIsNoAnswer) {
  std::string index = folderIndexLine("K0", "<first@x>") + "\r\n" + folderIndexLine("K1", "<a@x>") + "\r\n";
  IndexEntry entry;
  FailingSource before(index, 10);
  EXPECT_EQ(IndexScanner("<a@x>", 8).find(before, entry), ScanResult::Failed);
  // A failure while the found line's fields are read.
  FailingSource during(index, index.find("<a@x>") + 10);
  EXPECT_EQ(IndexScanner("<a@x>", 1 << 16).find(during, entry), ScanResult::Failed);
}

TEST(IndexLines, OneScannerServesManyFiles) {
  IndexScanner scanner("<a@x>", 16);
  IndexEntry entry;
  std::string other = folderIndexLine("K0", "<b@x>") + "\r\n",
              second = other + folderIndexLine("K1", "<a@x>"), third = folderIndexLine("K7", "<a@x>");
  MemorySource none(other);
  EXPECT_EQ(scanner.find(none, entry), ScanResult::Absent);
  MemorySource empty("");
  EXPECT_EQ(scanner.find(empty, entry), ScanResult::Absent);
  MemorySource some(second);
  ASSERT_EQ(scanner.find(some, entry), ScanResult::Found);
  EXPECT_EQ(entry.key, "K1");
  MemorySource again(third);
  ASSERT_EQ(scanner.find(again, entry), ScanResult::Found);
  EXPECT_EQ(entry.key, "K7");
  EXPECT_EQ(entry.lineStart, 0u);
}

}  // namespace
}  // namespace lumo::locator
