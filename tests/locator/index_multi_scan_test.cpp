// One pass for many texts against one single search per text, over random
// index texts, with buffers from one byte up and sources that hand out odd
// pieces: texts and lines running across buffer ends, CR before LF, lines
// without fields, a last line without LF, lines refused for naming another
// mail, and a read that fails.
#include "resolve/locator/index_multi_scan.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace lumo::locator {
namespace {

using lumo::testing::visible;

// Refuses every line whose mail key holds `byte` (none for 0), as the store
// refuses a line that names another mail.
class KeyCheck : public LineCheck {
 public:
  explicit KeyCheck(char byte) : byte_(byte) {}
  bool accepts(std::string_view, const IndexEntry& entry) override {
    return byte_ == 0 || entry.key.find(byte_) == std::string::npos;
  }

 private:
  char byte_;
};

// What one text's single search gives, as text for comparing.
std::string single(std::string_view text, std::string_view content, std::size_t chunk, std::size_t piece,
                   char refused = 0) {
  MemorySource source(content, piece);
  IndexScanner scanner(text, chunk);
  IndexEntry entry;
  KeyCheck check(refused);
  ScanResult r = scanner.find(source, entry, &check);
  if (r != ScanResult::Found) return r == ScanResult::Absent ? "absent" : "failed";
  return std::to_string(entry.lineStart) + " " + entry.key + " " + std::to_string(entry.separators) +
         (entry.keyClosed ? " closed " : " open ") + std::to_string(entry.markOffset) + " " + entry.mark;
}

std::map<std::size_t, std::string> together(const std::vector<std::string>& texts,
                                            const std::vector<bool>& wanted, std::string_view content,
                                            std::size_t chunk, std::size_t piece, char refused = 0) {
  std::vector<std::string_view> views(texts.begin(), texts.end());
  IndexMultiScanner scanner(views, chunk);
  MemorySource source(content, piece);
  std::vector<IndexMultiScanner::TextLine> lines;
  KeyCheck check(refused);
  EXPECT_TRUE(scanner.scan(source, wanted, lines, &check));
  std::map<std::size_t, std::string> found;
  for (const auto& l : lines) {
    EXPECT_EQ(found.count(l.text), 0u) << "text " << l.text << " decided twice";
    const IndexEntry& e = l.entry;
    found[l.text] = std::to_string(e.lineStart) + " " + e.key + " " + std::to_string(e.separators) +
                    (e.keyClosed ? " closed " : " open ") + std::to_string(e.markOffset) + " " + e.mark;
  }
  return found;
}

TEST(IndexMultiScan, EachTextGetsTheLineItsOwnSearchFinds) {
  std::mt19937 rng(11);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const char* pieces[] = {"<a@1.LuMO.x>", "<b@2.LuMO.x>", "\x01",   "\x01",           "K", "\r", "\n",
                          "\r\n",         "zz",           ".LuMO.", "<a@1.LuMO.x>\r", "0"};
  int decided = 0;
  for (int round = 0; round < 150; ++round) {
    std::string content;
    for (int n = pick(40); n > 0; --n) content += pieces[pick(12)];
    std::vector<std::string> texts = {"<a@1.LuMO.x>", "<b@2.LuMO.x>", "<a@1.LuMO.x>\r", "1.LuMO.x>", "",
                                      "a\nb",         "<a@1.LuMO.x>"};
    std::vector<bool> wanted(texts.size(), true);
    wanted[static_cast<std::size_t>(pick(static_cast<int>(texts.size())))] = false;
    // Every other round, lines whose key holds "K" name other mails: the
    // places after them decide.
    const char refused = round % 2 ? 'K' : 0;
    for (std::size_t chunk : {1, 2, 5, 13, 64, 4096}) {
      for (std::size_t piece : {1, 3, 4096}) {
        SCOPED_TRACE(visible(content) + " chunk " + std::to_string(chunk) + " piece " +
                     std::to_string(piece) + (refused ? " refusing K" : ""));
        auto all = together(texts, wanted, content, chunk, piece, refused);
        for (std::size_t t = 0; t < texts.size(); ++t) {
          std::string alone = single(texts[t], content, chunk, piece, refused);
          if (!wanted[t] || alone == "absent") {
            EXPECT_EQ(all.count(t), 0u) << "text " << t;
          } else {
            EXPECT_EQ(all[t], alone) << "text " << t;
            ++decided;
          }
        }
      }
    }
  }
  EXPECT_GT(decided, 1000);  // the rounds really decide texts
}

TEST(IndexMultiScan, LongLinesAreReadWholeAcrossManyBuffers) {
  std::string longSubject(10000, 's');
  std::string content = "0\x01K1\x01" + longSubject + "<a@1.LuMO.x>\x01rest\r\n0\x01K2\x01<b@2.LuMO.x>" +
                        longSubject + "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01" + "1\x01\r\n";
  std::vector<std::string> texts = {"<a@1.LuMO.x>", "<b@2.LuMO.x>"};
  for (std::size_t chunk : {std::size_t{7}, std::size_t{1000}, std::size_t{1} << 18}) {
    auto all = together(texts, {true, true}, content, chunk, 333);
    EXPECT_EQ(all[0], single(texts[0], content, chunk, 333));
    EXPECT_EQ(all[1], single(texts[1], content, chunk, 333));
    EXPECT_NE(all[1].find(" K2 13 closed"), std::string::npos) << all[1];
  }
}

// A source that fails after handing out `good` bytes.
class FailingSource : public ByteSource {
 public:
  FailingSource(std::string_view text, std::size_t good) : text_(text), good_(good) {}
  std::int64_t readAt(std::uint64_t offset, char* buffer, std::size_t size) override {
    if (offset + size > good_) return -1;
    return MemorySource(text_).readAt(offset, buffer, size);
  }

 private:
  std::string_view text_;
  std::size_t good_;
};

TEST(IndexMultiScan, AReadThatFailsIsReported) {
  std::string content = "0\x01K1\x01<a@1.LuMO.x>\r\n" + std::string(100, 'x') + "\r\n";
  std::vector<std::string_view> texts = {"<a@1.LuMO.x>", "<b@2.LuMO.x>"};
  IndexMultiScanner scanner(texts, 16);
  FailingSource source(content, 40);
  std::vector<IndexMultiScanner::TextLine> lines;
  EXPECT_FALSE(scanner.scan(source, {true, true}, lines));
}

}  // namespace
}  // namespace lumo::locator
