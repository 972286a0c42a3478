// Reading index lines (LF ends a line, one CR before it dropped) and collecting a rewrite.
#include "linkindex/index_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

using lumo::IndexLine;
using lumo::IndexLines;
using lumo::IndexWriter;
using lumo::testing::visible;

// Lines as "text" with "~" appended to an unterminated one.
std::string linesOf(std::string_view content) {
  std::string out;
  IndexLines lines(content);
  IndexLine line;
  while (lines.next(line)) {
    out += '[';
    out += visible(line.text);
    if (!line.terminated) out += '~';
    out += ']';
    EXPECT_EQ(line.raw.data(), line.text.data());
  }
  return out;
}

// Many lines, of the id and of others beginning or ending as it does, each
// starting at another offset from the one before, and an unfinished last
// line.
std::string longLinesOf(const std::string& id) {
  std::string content;
  for (int i = 0; i < 40; ++i) {
    content.append(static_cast<std::size_t>(i), 'x').append("\n");
    content += id + "\x01" + std::to_string(i) + (i % 3 == 0 ? "\n" : "\r\n");
    content += id.substr(0, 1) + (i % 2 == 0 ? id + "\x01\r\n" : "\n");
    content += id.front() + std::string(id.size() - 2, 'x') + id.back() + (i % 2 == 0 ? "\x01\r\n" : "\n");
  }
  return content + id;
}

// nextOf gives the same lines as next() filtered by belongsTo: the first
// line, lines that only begin with the id, the id alone, a CR before the
// LF, an unterminated last line.
TEST(IndexLinesTest, NextOfGivesTheLinesWhoseFirstFieldIsTheId) {
  const std::string id = "a_1";
  const std::string contents[] = {
      "a_1\x01x\r\na_12\x01y\r\nb_1\x01a_1\x01\r\na_1\r\n\na_1\x01z",
      "xa_1\x01\r\na_1\x01\ra_1\x01\n\ra_1\x01\r\na_\na_1",
      "",
      "a_1",
      "\n\n",
      "a_1\x01q\r\n\r\n",
      longLinesOf("a_1"),
  };
  for (const std::string& content : contents) {
    std::vector<std::string_view> expected, found;
    IndexLines all(content), ofId(content);
    IndexLine line;
    while (all.next(line))
      if (line.belongsTo(id)) expected.push_back(line.raw);
    while (ofId.nextOf(id, line)) found.push_back(line.raw);
    EXPECT_EQ(found.size(), expected.size()) << visible(content);
    for (std::size_t i = 0; i < std::min(found.size(), expected.size()); ++i) {
      EXPECT_EQ(found[i].data(), expected[i].data()) << visible(content);
      EXPECT_EQ(found[i].size(), expected[i].size()) << visible(content);
    }
  }
}

// The scan reads the file in pieces: lines of the id that cross from one
// piece into the next, lines longer than a piece (one beginning with the
// id), LF-only lines and an unfinished last line give what the lines of the
// whole text give, and the scan stops when asked to.
TEST(IndexLinesTest, ScanOfTheFileGivesTheUsableLinesOfTheIdAcrossItsPieces) {
  const std::string id = "2711_5";
  std::string content;
  for (int i = 0; content.size() < 1200000; ++i) {
    content += i % 7 == 3 ? id + "\x01" + std::string(static_cast<std::size_t>(i % 500), 'v') : "27_1\x01x";
    content += i % 5 == 0 ? "\n" : "\r\n";
    if (i == 900) content += id + "\x01" + std::string(300000, 'l') + "\r\n";
    if (i == 1500) content += id + "\x01" + std::string(511 - id.size() - 1, 'm') + "\r\n";
    if (i == 1600) content += id + "\x01" + std::string(511 - id.size(), 'o') + "\r\n";
  }
  content += id + "\x01unfinished";
  std::vector<std::string> expected;
  IndexLines lines(content);
  IndexLine line;
  while (lines.nextOf(id, line))
    if (line.usable()) expected.emplace_back(line.text);

  lumo::testing::TempDir dir;
  const std::string path = dir.file("index");
  lumo::testing::writeBytes(path, content);
  std::vector<std::string> found;
  auto collect = [&](std::string_view text) {
    found.emplace_back(text);
    return true;
  };
  ASSERT_EQ(lumo::scanLinesOf(path.c_str(), id, collect), lumo::platform::ReadStatus::Ok);
  EXPECT_GT(expected.size(), 700u);
  EXPECT_TRUE(found == expected) << found.size() << " lines found, " << expected.size() << " expected";

  std::size_t calls = 0;
  auto stopAtThird = [&](std::string_view) { return ++calls < 3; };
  EXPECT_EQ(lumo::scanLinesOf(path.c_str(), id, stopAtThird), lumo::platform::ReadStatus::Ok);
  EXPECT_EQ(calls, 3u);
  EXPECT_EQ(lumo::scanLinesOf(dir.file("missing").c_str(), id, collect), lumo::platform::ReadStatus::Missing);
  EXPECT_EQ(lumo::scanLinesOf(dir.path().string().c_str(), id, collect), lumo::platform::ReadStatus::Failed);
}

TEST(IndexLinesTest, SplitsAtLineFeedAndDropsOneCarriageReturn) {
  struct Case {
    std::string content;
    std::string lines;
  } cases[] = {
      {"", ""},
      {"a\r\nb\r\n", "[a][b]"},
      {"a\nb\n", "[a][b]"},
      {"a\r\r\nb", "[a\\r][b~]"},
      {"\r\n\r\n", "[][]"},
      {"a\rb\r\n", "[a\\rb]"},
      {"tail", "[tail~]"},
      {"a\r\ntail\r", "[a][tail\\r~]"},
  };
  for (const auto& c : cases) EXPECT_EQ(linesOf(c.content), c.lines) << "content: " << visible(c.content);
}

TEST(IndexLinesTest, FirstFieldMustEqualTheIdExactly) {
  struct Case {
    std::string line;
    const char* id;
    bool belongs;
  } cases[] = {
      {"2711_12\x01x", "2711_12", true}, {"2711_12\x01x", "2711_1", false}, {"2711_1\x01x", "2711_12", false},
      {"2711_12", "2711_12", true},      {"2711_123", "2711_12", false},    {"\x01x", "", false},
  };
  for (const auto& c : cases) {
    std::string content = c.line + "\r\n";
    IndexLines lines(content);
    IndexLine line;
    ASSERT_TRUE(lines.next(line));
    EXPECT_EQ(line.belongsTo(c.id), c.belongs) << visible(c.line) << " id " << c.id;
  }
}

TEST(IndexLinesTest, WriterNormalisesUsableLinesAndKeepsOthersByteForByte) {
  std::string longLine(600, 'x');
  std::string content("a\r\nb\n\r\n\nc\r\r\n");
  content.append(longLine).append("\nd\r\ntail");
  lumo::testing::TempDir dir;
  std::string path = dir.file("index");
  lumo::platform::FileReplacement out(path.c_str());
  IndexWriter writer(out);
  IndexLines lines(content);
  IndexLine line;
  while (lines.next(line)) {
    if (line.text == "b") {
      writer.add("B");
      continue;
    }
    writer.keep(line);
  }
  std::string expected("a\r\nB\r\nc\r\r\n");
  expected.append(longLine).append("\nd\r\ntail");
  ASSERT_TRUE(writer.finish());
  ASSERT_TRUE(out.commit());
  EXPECT_EQ(visible(lumo::testing::readBytes(path)), visible(expected));
}

TEST(IndexLinesTest, WriterCopiesLargeRunsWhole) {
  // Enough lines to pass the write gathering limit several times over.
  std::string content;
  for (int i = 0; i < 20000; ++i) content += (i % 1000 == 999 ? "x\n" : "line of text\r\n");
  lumo::testing::TempDir dir;
  std::string path = dir.file("index");
  lumo::platform::FileReplacement out(path.c_str());
  IndexWriter writer(out);
  IndexLines lines(content);
  IndexLine line;
  while (lines.next(line)) writer.keep(line);
  ASSERT_TRUE(writer.finish());
  ASSERT_TRUE(out.commit());
  std::string expected;
  for (int i = 0; i < 20000; ++i) expected += (i % 1000 == 999 ? "x\r\n" : "line of text\r\n");
  EXPECT_EQ(lumo::testing::readBytes(path), expected);
}

}  // namespace
