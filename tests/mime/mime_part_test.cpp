// Parsing mail sources into parts and writing them back: the byte-exact rules.
#include "mime/mime_part.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mime_test_util.h"

namespace lumo {
namespace {

using testing::countChildren;
using testing::lineTexts;
using testing::parsedAndWritten;
using testing::visible;
using testing::written;

const std::string kMixed = "Content-Type: multipart/mixed; boundary=\"b\"\r\n";

struct WriteCase {
  const char* what;
  std::string source;
  std::string expected;
};

TEST(MimePartTest, WritesBackLikeTheTable) {
  const WriteCase cases[] = {
      {"empty source", "", ""},
      {"LF line ends", "A: 1\nB: 2\n\nbody\n", "A: 1\r\nB: 2\r\n\r\nbody\r\n"},
      {"CR line ends", "A: 1\rB: 2\r\rbody\r", "A: 1\r\nB: 2\r\n\r\nbody\r\n"},
      {"mixed line ends", "A: 1\r\nB: 2\n\rx\r\r\n", "A: 1\r\nB: 2\r\n\r\nx\r\n\r\n"},
      {"no final line end", "A: 1\r\n\r\nlast", "A: 1\r\n\r\nlast\r\n"},
      {"headers only, no blank line", "A: 1\r\nB: 2", "A: 1\r\nB: 2\r\n"},
      {"folded field", "S: a\r\n b\n\tc\r\n\r\n", "S: a\r\n b\r\n\tc\r\n\r\n"},
      {"top-level epilogue is dropped", kMixed + "\r\npre\r\n--b\r\n\r\none\r\n--b--\r\nafter\r\nmore\r\n",
       kMixed + "\r\npre\r\n--b\r\n\r\none\r\n--b--\r\n"},
      {"multipart without closing delimiter gets one", kMixed + "\r\n--b\r\nX: 1\r\n\r\none",
       kMixed + "\r\n--b\r\nX: 1\r\n\r\none\r\n--b--\r\n"},
      {"delimiter with trailing space or letter is a body line of the top part",
       kMixed + "\r\n--b \r\n--bx\r\n--b--x\r\n", kMixed + "\r\n--b \r\n--bx\r\n--b--x\r\n"},
      {"delimiters never appear", kMixed + "\r\none\r\n-- b\r\n", kMixed + "\r\none\r\n-- b\r\n"},
      {"nested multipart keeps its epilogue in place",
       kMixed +
           "\r\n--b\r\nContent-Type: multipart/alternative; boundary=c\r\n\r\n--c\r\n\r\nin\r\n--c--\r\n" +
           "inner epilogue\r\n\r\n--b\r\n\r\nsecond\r\n--b--\r\n",
       kMixed +
           "\r\n--b\r\nContent-Type: multipart/alternative; boundary=c\r\n\r\n--c\r\n\r\nin\r\n--c--\r\n" +
           "inner epilogue\r\n\r\n--b\r\n\r\nsecond\r\n--b--\r\n"},
      {"delimiters inside a header block are header lines",
       kMixed + "\r\n--b\r\nX: 1\r\n--b\r\n\r\nz\r\n--b--\r\n",
       kMixed + "\r\n--b\r\nX: 1\r\n--b\r\n\r\nz\r\n--b--\r\n"},
      {"a child with a boundary but no delimiters writes none",
       kMixed + "\r\n--b\r\nContent-Type: multipart/mixed; boundary=c\r\n\r\n--cc\r\n--b--\r\n",
       kMixed + "\r\n--b\r\nContent-Type: multipart/mixed; boundary=c\r\n\r\n--cc\r\n--b--\r\n"},
  };
  for (const WriteCase& c : cases) {
    std::string got = parsedAndWritten(c.source);
    EXPECT_EQ(visible(got), visible(c.expected)) << c.what << "\n  source: " << visible(c.source);
  }
}

TEST(MimePartTest, HeaderBlockEndsWithStoredBlankLine) {
  MimePart part;
  part.parse(std::string_view("A: 1\r\n\r\nx\r\n\r\n"));
  EXPECT_EQ(lineTexts(part.headers), (std::vector<std::string>{"A: 1\r\n", "\r\n"}));
  EXPECT_EQ(lineTexts(part.body), (std::vector<std::string>{"x\r\n", "\r\n"}));
  EXPECT_EQ(part.type[0], '\0');
  EXPECT_EQ(part.boundary, nullptr);
}

TEST(MimePartTest, ContentTypeFieldAnyCaseKeepsValueCase) {
  MimePart part;
  part.parse(std::string_view("content-TYPE: Multipart/Mixed; BoUnDaRy=\"Xy\"\r\n\r\n"));
  EXPECT_STREQ(part.type, "Multipart");
  EXPECT_STREQ(part.subtype, "Mixed");
  ASSERT_NE(part.boundary, nullptr);
  EXPECT_STREQ(part.boundary.get(), "Xy");
  EXPECT_EQ(part.contentTypeLine, part.headers.head);
}

struct ContentTypeCase {
  const char* field;  // a whole header line
  const char* type;
  const char* subtype;
  const char* boundary;  // null: none
};

TEST(MimePartTest, ContentTypeValuesLikeTheTable) {
  const ContentTypeCase cases[] = {
      {"Content-Type: text/plain\r\n", "text", "plain", nullptr},
      {"Content-Type:text/plain;charset=x\r\n", "text", "plain", nullptr},
      {"Content-Type: text\r\n", "", "", nullptr},   // no subtype: nothing taken
      {"Content-Type: text/\r\n", "", "", nullptr},  // empty subtype: nothing taken
      // Without "/" the type runs to the next space and the next word is the
      // subtype; no parameter is left after it, so there is no boundary.
      {"Content-Type: text; boundary=q\r\n", "text;", "boundary=q", nullptr},
      {"Content-Type: multipart/mixed; boundary=a b\r\n", "multipart", "mixed", "a"},
      {"Content-Type: multipart/mixed; boundary=a;x=1\r\n", "multipart", "mixed", "a"},
      {"Content-Type: multipart/mixed; boundary=a\tb\r\n", "multipart", "mixed", "a"},
      {"Content-Type: multipart/mixed; boundary=\"open\r\n", "multipart", "mixed", "open\r\n"},
      {"Content-Type: multipart/mixed; boundary=1; BOUNDARY=2\r\n", "multipart", "mixed", "2"},
      {"Content-Type: multipart/mixed; boundary=\"\"\r\n", "multipart", "mixed", ""},
      {"Content-Type: multipart/mixed;\r\n\tboundary=\"fold\"\r\n", "multipart", "mixed", "fold"},
      {"Content-Type: multipart\tmixed\r\n", "multipart", "mixed", nullptr},
      {"Content-Type: 12345678901234567890123456789012345678901234567890/"
       "abcdefghijabcdefghijabcdefghijabcdefghijXYZ\r\n",
       "1234567890123456789012345678901234567890", "abcdefghijabcdefghijabcdefghijabcdefghij", nullptr},
      {"Content-Typ: multipart/mixed; boundary=z\r\n", "", "", nullptr},
      {"X-Content-Type: multipart/mixed; boundary=z\r\n", "", "", nullptr},
  };
  for (const ContentTypeCase& c : cases) {
    MimePart part;
    const std::string source = std::string(c.field) + "\r\n";
    part.parse(source);
    std::string what = std::string("field ") + visible(c.field);
    EXPECT_STREQ(part.type, c.type) << what;
    EXPECT_STREQ(part.subtype, c.subtype) << what;
    if (c.boundary) {
      ASSERT_NE(part.boundary, nullptr) << what;
      EXPECT_EQ(visible(part.boundary.get()), visible(c.boundary)) << what;
    } else {
      EXPECT_EQ(part.boundary, nullptr) << what;
    }
  }
}

TEST(MimePartTest, FoldedContentTypeIsOneLineAndWritesBackBothPhysicalLines) {
  const std::string source =
      "Subject: s\r\nContent-Type: multipart/mixed;\r\n\tboundary=\"q\"\r\n\r\n--q\r\n\r\nx\r\n--q--\r\n";
  MimePart part;
  part.parse(source);
  ASSERT_NE(part.contentTypeLine, nullptr);
  EXPECT_EQ(visible(std::string(part.contentTypeLine->text, part.contentTypeLine->length)),
            visible("Content-Type: multipart/mixed;\r\n\tboundary=\"q\"\r\n"));
  EXPECT_EQ(part.headers.head->next, part.contentTypeLine);
  EXPECT_EQ(countChildren(part), 1);
  EXPECT_EQ(visible(written(part)), visible(source));
}

TEST(MimePartTest, LastContentTypeFieldIsTheLineAndLastBoundaryWins) {
  MimePart part;
  part.parse(
      std::string_view("Content-Type: multipart/mixed; boundary=one\r\nX: 1\r\ncontent-type: "
                       "multipart/related; boundary=two\r\n\r\n"));
  ASSERT_NE(part.contentTypeLine, nullptr);
  EXPECT_EQ(part.contentTypeLine, part.headers.tail->prev);
  EXPECT_STREQ(part.subtype, "related");
  EXPECT_STREQ(part.boundary.get(), "two");
}

TEST(MimePartTest, ChildrenBodiesAndDelimiterOrder) {
  const std::string source =
      kMixed + "\r\npreamble\r\n--b\r\n\r\nfirst\r\n--b\r\nX: 2\r\n\r\nsecond\r\n--b--\r\n";
  MimePart part;
  part.parse(source);
  EXPECT_EQ(lineTexts(part.body), (std::vector<std::string>{"preamble\r\n"}));
  ASSERT_EQ(countChildren(part), 2);
  const MimePart& first = *part.firstChild;
  const MimePart& second = *first.nextSibling;
  EXPECT_EQ(lineTexts(first.headers), (std::vector<std::string>{"\r\n"}));  // blank first line: only it
  EXPECT_EQ(lineTexts(first.body), (std::vector<std::string>{"first\r\n"}));
  EXPECT_EQ(lineTexts(second.headers), (std::vector<std::string>{"X: 2\r\n", "\r\n"}));
  EXPECT_EQ(lineTexts(second.body), (std::vector<std::string>{"second\r\n"}));
  EXPECT_EQ(second.nextSibling, nullptr);
}

// A line that only begins with the enclosing boundary ends the child; it and
// the lines after it up to the next delimiter stay after that child (not in the
// parent's preamble), so they are written back in place.
TEST(MimePartTest, LineBeginningWithEnclosingBoundaryEndsTheChildAndStaysInPlace) {
  const std::string source =
      kMixed + "\r\npre\r\n--b\r\n\r\nc1\r\n--bx\r\nmore\r\n--b\r\n\r\nc2\r\n--b--\r\n";
  MimePart part;
  part.parse(source);
  ASSERT_EQ(countChildren(part), 2);
  EXPECT_EQ(lineTexts(part.body), (std::vector<std::string>{"pre\r\n"}));
  EXPECT_EQ(lineTexts(part.firstChild->body), (std::vector<std::string>{"c1\r\n", "--bx\r\n", "more\r\n"}));
  EXPECT_EQ(visible(written(part)), visible(source));

  // After a nested multipart's closing delimiter: its epilogue, then the
  // stray line and what follows it.
  const std::string nested = kMixed +
                             "\r\n--b\r\nContent-Type: multipart/mixed; boundary=c\r\n\r\n--c\r\n\r\nin\r\n" +
                             "--c--\r\nepi\r\n--bz\r\nafter\r\n--b--\r\n";
  MimePart outer;
  outer.parse(nested);
  EXPECT_EQ(lineTexts(outer.firstChild->epilogue),
            (std::vector<std::string>{"epi\r\n", "--bz\r\n", "after\r\n"}));
  EXPECT_EQ(visible(written(outer)), visible(nested));
}

// A closing delimiter before any child is a body line: dropping it would lose
// it, since a part without children writes no delimiters.
TEST(MimePartTest, ClosingDelimiterBeforeAnyChildIsABodyLine) {
  const WriteCase cases[] = {
      {"top part", kMixed + "\r\ntext\r\n--b--\r\nafter\r\n", kMixed + "\r\ntext\r\n--b--\r\nafter\r\n"},
      {"child part",
       kMixed + "\r\n--b\r\nContent-Type: text/plain; boundary=c\r\n\r\nx\r\n--c--\r\ny\r\n--b--\r\n",
       kMixed + "\r\n--b\r\nContent-Type: text/plain; boundary=c\r\n\r\nx\r\n--c--\r\ny\r\n--b--\r\n"},
      {"children after it", kMixed + "\r\n--b--\r\n--b\r\n\r\nx\r\n--b--\r\ngone\r\n",
       kMixed + "\r\n--b--\r\n--b\r\n\r\nx\r\n--b--\r\n"},
  };
  for (const WriteCase& c : cases)
    EXPECT_EQ(visible(parsedAndWritten(c.source)), visible(c.expected)) << c.what;
}

// A child whose boundary is the parent's followed by "--" opens no children:
// its opening delimiter is the parent's closing delimiter, which closes the
// parent. Otherwise the closing delimiter that the parent writes would open a
// child of it when the text is read again.
TEST(MimePartTest, ParentsClosingDelimiterIsNeverTheChildsOpeningDelimiter) {
  const std::string source =
      kMixed + "\r\n--b\r\nContent-Type: multipart/mixed; boundary=\"b--\"\r\n\r\n" + "in\r\n--b--\r\n";
  MimePart part;
  EXPECT_EQ(part.parse(std::string_view(source)), source.size());
  ASSERT_EQ(countChildren(part), 1);
  const MimePart& child = *part.firstChild;
  EXPECT_STREQ(child.boundary.get(), "b--");
  EXPECT_EQ(countChildren(child), 0);
  EXPECT_EQ(lineTexts(child.body), (std::vector<std::string>{"in\r\n"}));
  EXPECT_EQ(visible(written(part)), visible(source));
}

TEST(MimePartTest, NestedEpilogueStopsAtEnclosingDelimiter) {
  const std::string source =
      kMixed + "\r\n--b\r\nContent-Type: multipart/mixed; boundary=c\r\n\r\n--c\r\n\r\nin\r\n--c--\r\n" +
      "e1\r\n--c\r\ne2\r\n--b--\r\ntrailing\r\n";
  MimePart part;
  part.parse(source);
  const MimePart& inner = *part.firstChild;
  EXPECT_EQ(lineTexts(inner.epilogue), (std::vector<std::string>{"e1\r\n", "--c\r\n", "e2\r\n"}));
  EXPECT_EQ(countChildren(inner), 1);
  EXPECT_EQ(part.epilogue.head, nullptr);  // the top part keeps no epilogue
}

TEST(MimePartTest, TopLevelClosingDelimiterStopsTheCursor) {
  const std::string source = kMixed + "\r\n--b\r\n\r\nx\r\n--b--\r\nnot read\r\n";
  const char* cursor = source.c_str();
  MimePart part;
  part.parse(cursor);
  EXPECT_EQ(std::string(cursor), "not read\r\n");
  MimePart again;
  EXPECT_EQ(again.parse(std::string_view(source)), source.size() - 10);
}

TEST(MimePartTest, CursorReachesTheEndOfASourceWithoutClosing) {
  const std::string source = "A: 1\n\nbody";
  const char* cursor = source.c_str();
  MimePart part;
  part.parse(cursor);
  EXPECT_EQ(cursor, source.c_str() + source.size());
  const char* empty = "";
  MimePart none;
  none.parse(empty);
  EXPECT_EQ(none.headers.head, nullptr);
  EXPECT_EQ(none.toText().size(), 0u);
  EXPECT_STREQ(none.toText().c_str(), "");
}

// A part given an enclosing boundary stops on that boundary's delimiter and
// leaves the cursor on it, as a child does.
TEST(MimePartTest, ExplicitEnclosingBoundaryLeavesCursorOnDelimiter) {
  const std::string source = "X: 1\r\n\r\nbody\r\n--outer\r\nrest\r\n";
  const char* cursor = source.c_str();
  MimePart part;
  part.parse(cursor, "outer");
  EXPECT_EQ(std::string(cursor), "--outer\r\nrest\r\n");
  EXPECT_EQ(lineTexts(part.body), (std::vector<std::string>{"body\r\n"}));
}

// The epilogue of a multipart given an enclosing boundary ends only at a line
// beginning with "--" and that boundary; lines with other bytes before the
// boundary ("x-A", "-A") are epilogue lines, not handed to the caller.
TEST(MimePartTest, EpilogueEndsOnlyAtTheEnclosingDelimiter) {
  const std::string source =
      "Content-Type: multipart/mixed; boundary=c\r\n\r\n--c\r\n\r\nin\r\n--c--\r\n"
      "x-A\r\n-A\r\n-\r\nepi\r\n--A\r\nrest\r\n";
  const char* cursor = source.c_str();
  MimePart part;
  part.parse(cursor, "A");
  EXPECT_EQ(lineTexts(part.epilogue), (std::vector<std::string>{"x-A\r\n", "-A\r\n", "-\r\n", "epi\r\n"}));
  EXPECT_EQ(std::string(cursor), "--A\r\nrest\r\n");
}

// A hand-built tree: the parts and boundary given to the tree are owned by it.
TEST(MimePartTest, HandBuiltTreeWritesDelimitersAndEpilogue) {
  MimePart top;
  top.headers.append("Content-Type: multipart/mixed; boundary=\"m\"\r\n");
  top.headers.append("\r\n");
  top.setBoundary("m");
  top.firstChild = std::make_unique<MimePart>();
  top.firstChild->headers.append("\r\n");
  top.firstChild->body.append("one\r\n");
  auto second = std::make_unique<MimePart>();
  second->headers.append("Content-Type: text/plain; name=\"MEMO.txt\"\r\n");
  second->headers.append("\r\n");
  second->body.append("memo\r\n");
  top.firstChild->setNextSibling(std::move(second));
  top.epilogue.append("top epilogue\r\n");
  MimeText text = top.toText();
  EXPECT_EQ(visible(text.view()),
            visible("Content-Type: multipart/mixed; boundary=\"m\"\r\n\r\n--m\r\n\r\none\r\n--m\r\n"
                    "Content-Type: text/plain; name=\"MEMO.txt\"\r\n\r\nmemo\r\n--m--\r\ntop epilogue\r\n"));
  EXPECT_EQ(text.c_str()[text.size()], '\0');
  std::unique_ptr<char[]> taken = text.release();
  EXPECT_EQ(text.size(), 0u);
  EXPECT_EQ(taken[0], 'C');
}

// The last part of a truncated mail ended inside its header block: no closing
// delimiter is written after it, since it would be read back as one more
// header line of that part.
TEST(MimePartTest, NoClosingDelimiterAfterAPartCutInItsHeaders) {
  const WriteCase cases[] = {
      {"cut after a field", kMixed + "\r\n--b\r\nX: 1\r\n", kMixed + "\r\n--b\r\nX: 1\r\n"},
      {"cut right after the delimiter", kMixed + "\r\n--b\r\n", kMixed + "\r\n--b\r\n"},
      {"closing delimiter swallowed as header", kMixed + "\r\n--b\r\nX: 1\r\n--b--\r\n",
       kMixed + "\r\n--b\r\nX: 1\r\n--b--\r\n"},
      {"cut in a nested part",
       kMixed + "\r\n--b\r\nContent-Type: multipart/mixed; boundary=c\r\n\r\n--c\r\nY: 2",
       kMixed + "\r\n--b\r\nContent-Type: multipart/mixed; boundary=c\r\n\r\n--c\r\nY: 2\r\n"},
      {"blank line ends the header block: closing written", kMixed + "\r\n--b\r\nX: 1\r\n\r\n",
       kMixed + "\r\n--b\r\nX: 1\r\n\r\n--b--\r\n"},
  };
  for (const WriteCase& c : cases) {
    std::string once = parsedAndWritten(c.source);
    EXPECT_EQ(visible(once), visible(c.expected)) << c.what;
    EXPECT_EQ(visible(parsedAndWritten(once)), visible(once)) << c.what << " (second round)";
  }
}

}  // namespace
}  // namespace lumo

namespace lumo {
namespace {

// Parsing a part again releases its old lines; the Content-Type pointer must
// not be left pointing at one of them.
TEST(MimePartTest, ParsingAgainDropsTheOldContentTypeLine) {
  MimePart part;
  part.parse(std::string_view("Content-Type: text/plain\r\n\r\nx\r\n"));
  ASSERT_NE(part.contentTypeLine, nullptr);
  part.parse(std::string_view("Subject: s\r\n\r\ny\r\n"));
  EXPECT_EQ(part.contentTypeLine, nullptr);
  EXPECT_EQ(testing::lineTexts(part.headers), (std::vector<std::string>{"Subject: s\r\n", "\r\n"}));
  EXPECT_STREQ(part.type, "text");  // type, subtype and boundary are kept
}

}  // namespace
}  // namespace lumo
