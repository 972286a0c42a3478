// Line lists: linking, unlinking, moving lines between lists and replacing texts.
#include "mime/mime_line.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "mime/mime_part.h"
#include "mime_test_util.h"

namespace lumo {
namespace {

using testing::lineTexts;

// Checks both directions of the links and that head/tail agree with them.
void expectConsistent(const MimeLineList& list) {
  const MimeLine* previous = nullptr;
  for (const MimeLine* line = list.head; line; line = line->next) {
    EXPECT_EQ(line->prev, previous);
    EXPECT_EQ(line->length, std::char_traits<char>::length(line->text)) << line->text;
    previous = line;
  }
  EXPECT_EQ(list.tail, previous);
}

TEST(MimeLineListTest, AppendCopiesTextAndKeepsOrder) {
  MimeLineList list;
  char source[] = "first\r\n";
  MimeLine* first = list.append(source);
  source[0] = 'X';  // the list holds its own copy
  list.append(std::string_view("second\r\n"));
  EXPECT_EQ(list.head, first);
  EXPECT_EQ(first->length, 7u);
  EXPECT_EQ(lineTexts(list), (std::vector<std::string>{"first\r\n", "second\r\n"}));
  expectConsistent(list);
}

TEST(MimeLineListTest, InsertBeforeHeadMiddleAndNull) {
  MimeLineList list;
  MimeLine* b = list.append("b");
  MimeLine* d = list.append("d");
  MimeLine* a = list.insertBefore(b, "a");
  list.insertBefore(d, "c");
  list.insertBefore(nullptr, "e");
  EXPECT_EQ(list.head, a);
  EXPECT_EQ(lineTexts(list), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
  expectConsistent(list);
}

TEST(MimeLineListTest, UnlinkEachPositionFixesEndsAndNeighbours) {
  for (int victim = 0; victim < 3; ++victim) {
    MimeLineList list;
    MimeLine* lines[3] = {list.append("0"), list.append("1"), list.append("2")};
    MimeLinePtr taken(list.unlink(lines[victim]));
    EXPECT_EQ(taken.get(), lines[victim]);
    EXPECT_EQ(taken->next, nullptr);
    EXPECT_EQ(taken->prev, nullptr);
    std::vector<std::string> expected{"0", "1", "2"};
    expected.erase(expected.begin() + victim);
    EXPECT_EQ(lineTexts(list), expected) << "unlinking line " << victim;
    expectConsistent(list);
  }
  MimeLineList single;
  MimeLine::release(single.unlink(single.append("only")));
  EXPECT_EQ(single.head, nullptr);
  EXPECT_EQ(single.tail, nullptr);
}

// A line taken from a parsed tree lives in storage shared with the tree's other
// lines and referred to the tree's source; it must stay valid after the tree
// and the source are gone (ASan reports otherwise).
TEST(MimeLineListTest, UnlinkedLineOutlivesItsTreeAndSourceAndMovesToAnotherList) {
  MimeLineList target;
  MimeLine* moved = nullptr;
  {
    auto source = std::make_unique<std::string>("A: 1\r\nB: 2\r\n\r\nbody\r\n");
    auto part = std::make_unique<MimePart>();
    part->parse(std::string_view(*source));
    moved = part->headers.unlink(part->headers.head->next);
  }
  EXPECT_EQ(std::string(moved->text, moved->length), "B: 2\r\n");
  target.append("X: 0\r\n");
  target.adopt(moved);
  EXPECT_EQ(lineTexts(target), (std::vector<std::string>{"X: 0\r\n", "B: 2\r\n"}));
  expectConsistent(target);
}

// A parsed line that stands in the source exactly as stored is the source's
// bytes, not a copy; a line whose end had to become CR LF is a copy.
TEST(MimeLineListTest, ParsedLinesReferToTheSourceWhereItHoldsThemAsStored) {
  const std::string source = "A: 1\r\nB: folded\r\n\tmore\r\nC: mixed\n\tends\r\nD: 4\n\r\nbody\r\nlast";
  MimePart part;
  part.parse(std::string_view(source));
  auto inSource = [&](const MimeLine* line) {
    return line->text >= source.data() && line->text + line->length <= source.data() + source.size();
  };
  std::vector<bool> referred;
  for (const MimeLine* line = part.headers.head; line; line = line->next) referred.push_back(inSource(line));
  for (const MimeLine* line = part.body.head; line; line = line->next) referred.push_back(inSource(line));
  EXPECT_EQ(referred, (std::vector<bool>{true, true, false, false, true, true, false}));
  EXPECT_EQ(lineTexts(part.headers),
            (std::vector<std::string>{"A: 1\r\n", "B: folded\r\n\tmore\r\n", "C: mixed\r\n\tends\r\n",
                                      "D: 4\r\n", "\r\n"}));
  EXPECT_EQ(lineTexts(part.body), (std::vector<std::string>{"body\r\n", "last\r\n"}));
}

TEST(MimeLineListTest, SetTextReplacesTextAndLength) {
  MimePart part;
  part.parse(std::string_view("Content-Type: text/plain\r\n\r\n"));
  MimeLine* line = part.contentTypeLine;
  ASSERT_NE(line, nullptr);
  line->setText("Content-Type: multipart/mixed;\r\n\tboundary=\"z\"\r\n");
  EXPECT_EQ(line->length, 47u);
  line->setText(std::string_view("X\0Y", 3));
  EXPECT_EQ(line->length, 3u);
  EXPECT_EQ(line->text[3], '\0');
  EXPECT_EQ(testing::written(part), std::string("X\0Y\r\n", 5));
}

TEST(MimeLineListTest, ClearAndMoveLeaveNoLines) {
  MimeLineList list;
  for (int i = 0; i < 1000; ++i) list.append("line\r\n");
  MimeLineList other(std::move(list));
  EXPECT_EQ(list.head, nullptr);
  EXPECT_NE(other.head, nullptr);
  other.clear();
  EXPECT_EQ(other.head, nullptr);
  EXPECT_EQ(other.tail, nullptr);
  MimeLinePtr free(MimeLine::create("free"));
  EXPECT_EQ(free->length, 4u);
}

}  // namespace
}  // namespace lumo
