// Hostile and unusual sources: deep nesting, very long lines, many parts, NUL
// bytes and line ends of every kind are stored without loss and released safely.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "mime/mime_part.h"
#include "mime_test_util.h"

namespace lumo {
namespace {

using testing::countChildren;
using testing::firstChildDepth;
using testing::lineTexts;
using testing::parsedAndWritten;
using testing::visible;
using testing::written;

std::string boundaryName(int level) {
  char name[16];
  std::snprintf(name, sizeof name, "b%05d", level);
  return name;
}

// The bytes of a literal, embedded NULs included.
template <std::size_t N>
std::string bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

// `levels` multiparts, each the only child of the one before, each closed.
std::string nestedMail(int levels) {
  std::string open, close;
  for (int level = 0; level < levels; ++level) {
    std::string b = boundaryName(level);
    open += "Content-Type: multipart/mixed; boundary=" + b + "\r\n\r\n--" + b + "\r\n";
    close = "--" + b + "--\r\n" + close;
  }
  return open + "\r\nleaf\r\n" + close;
}

TEST(MimeLimitsTest, NestingStopsAtTheDepthLimitWithoutLosingBytes) {
  for (int levels : {kMimeMaxDepth, kMimeMaxDepth + 1, kMimeMaxDepth + 2, 5000}) {
    std::string source = nestedMail(levels);
    MimePart part;
    part.parse(source);
    EXPECT_EQ(firstChildDepth(part), std::min(levels, kMimeMaxDepth)) << levels << " levels";
    EXPECT_EQ(written(part), source) << levels << " levels";
  }
}

TEST(MimeLimitsTest, DeepestPartKeepsItsDelimitersAsBodyLines) {
  const std::string source = nestedMail(kMimeMaxDepth + 1);
  MimePart part;
  part.parse(source);
  const MimePart* deepest = &part;
  while (deepest->firstChild) deepest = deepest->firstChild.get();
  // The deepest part has a boundary but opened no child: its delimiter, the
  // content and its closing delimiter are its body.
  ASSERT_NE(deepest->boundary, nullptr);
  EXPECT_EQ(std::string(deepest->boundary.get()), boundaryName(kMimeMaxDepth));
  std::string b = boundaryName(kMimeMaxDepth);
  EXPECT_EQ(lineTexts(deepest->body),
            (std::vector<std::string>{"--" + b + "\r\n", "\r\n", "leaf\r\n", "--" + b + "--\r\n"}));
}

// Every part reuses the boundary of its parent: each delimiter opens one more
// level. Parsing stays bounded and the written text reads back the same.
TEST(MimeLimitsTest, SelfNestingBoundaryIsBounded) {
  std::string source = "Content-Type: multipart/mixed; boundary=x\r\n\r\n";
  for (int i = 0; i < 20000; ++i) source += "--x\r\nContent-Type: multipart/mixed; boundary=x\r\n\r\n";
  MimePart part;
  part.parse(source);
  EXPECT_EQ(firstChildDepth(part), kMimeMaxDepth);
  std::string once = written(part);
  EXPECT_EQ(parsedAndWritten(once), once);
}

TEST(MimeLimitsTest, HundredThousandEmptyPartsParseWriteAndRelease) {
  std::string source = "Content-Type: multipart/mixed; boundary=b\r\n\r\n";
  for (int i = 0; i < 100000; ++i) source += "--b\r\n\r\n";
  source += "--b--\r\n";
  auto part = std::make_unique<MimePart>();
  part->parse(source);
  EXPECT_EQ(countChildren(*part), 100000);
  EXPECT_EQ(written(*part), source);
  part.reset();  // a chain of 100,000 siblings is released without recursion
}

TEST(MimeLimitsTest, HandBuiltDeepChainIsWrittenAndReleasedWithoutRecursion) {
  constexpr int kLevels = 200000;
  auto top = std::make_unique<MimePart>();
  MimePart* at = top.get();
  for (int i = 0; i < kLevels; ++i) {
    at->setBoundary("d");
    at->firstChild = std::make_unique<MimePart>();
    at = at->firstChild.get();
    at->headers.append("\r\n");
  }
  MimeText text = top->toText();
  EXPECT_EQ(text.size(), static_cast<std::size_t>(kLevels) * (5 + 2 + 7));
  top.reset();
}

struct LongLineCase {
  std::size_t length;
  const char* lineEnd;
};

TEST(MimeLimitsTest, LongLinesAreStoredWholeInHeadersAndBody) {
  const LongLineCase cases[] = {{65534, "\r\n"}, {65535, "\r\n"}, {65535, "\n"},   {65536, "\r"},
                                {65537, "\r\n"}, {131072, ""},    {4u << 20, "\n"}};
  for (const LongLineCase& c : cases) {
    std::string header = "X-Long: " + std::string(c.length, 'h');
    std::string bodyLine(c.length, 'b');
    std::string source = header + (*c.lineEnd ? c.lineEnd : "\r\n") + "\r\n" + bodyLine + c.lineEnd;
    MimePart part;
    part.parse(source);
    std::string what = "length " + std::to_string(c.length) + " end " + visible(c.lineEnd);
    ASSERT_NE(part.headers.head, nullptr) << what;
    EXPECT_EQ(part.headers.head->length, header.size() + 2) << what;
    ASSERT_NE(part.body.head, nullptr) << what;
    EXPECT_EQ(part.body.head->length, bodyLine.size() + 2) << what;
    EXPECT_EQ(part.body.head->next, nullptr) << what << ": no invented line after a long one";
    EXPECT_EQ(written(part), header + "\r\n\r\n" + bodyLine + "\r\n") << what;
  }
}

// Continuation lines are collected however long the field grows, so a
// boundary parameter far into a folded field is still found.
TEST(MimeLimitsTest, FoldedFieldLongerThanSixtyFourKilobytesStaysOneField) {
  std::string field = "Content-Type: multipart/mixed;\r\n";
  for (int i = 0; i < 3000; ++i)
    field += "\tx-filler-" + std::to_string(i) + "=\"" + std::string(40, 'f') + "\";\r\n";
  field += "\tboundary=\"far\"\r\n";
  ASSERT_GT(field.size(), 65536u * 2);
  std::string source = field + "\r\n--far\r\n\r\nx\r\n--far--\r\n";
  MimePart part;
  part.parse(source);
  ASSERT_NE(part.contentTypeLine, nullptr);
  EXPECT_EQ(part.contentTypeLine->length, field.size());
  EXPECT_EQ(part.headers.head, part.contentTypeLine);
  ASSERT_NE(part.boundary, nullptr);
  EXPECT_STREQ(part.boundary.get(), "far");
  EXPECT_EQ(countChildren(part), 1);
  EXPECT_EQ(written(part), source);
}

TEST(MimeLimitsTest, NulBytesAreKeptByTheLengthOverloadAndEndTheTextOverload) {
  const std::string source = bytes("A: 1\0x\r\n\r\nb\0dy\r\n\0");
  MimePart part;
  EXPECT_EQ(part.parse(std::string_view(source)), source.size());
  EXPECT_EQ(visible(written(part)), visible(source + "\r\n"));
  EXPECT_EQ(part.headers.head->length, 8u);

  const char* cursor = source.c_str();
  MimePart text;
  text.parse(cursor);
  EXPECT_EQ(cursor, source.c_str() + 4);  // the source ends at its first NUL
  EXPECT_EQ(visible(written(text)), visible("A: 1\r\n"));
}

TEST(MimeLimitsTest, NulInContentTypeEndsTheValueSafely) {
  const std::string source = bytes("Content-Type: multipart/mixed; bound\0ary=z\r\n\r\n--z\r\n");
  MimePart part;
  part.parse(std::string_view(source));
  EXPECT_STREQ(part.subtype, "mixed");
  EXPECT_EQ(part.boundary, nullptr);
  EXPECT_EQ(countChildren(part), 0);
}

TEST(MimeLimitsTest, CrOnlyMultiMegabyteSourceKeepsEveryLine) {
  std::string source = "Content-Type: multipart/mixed; boundary=c\r\r";
  std::string expected = "Content-Type: multipart/mixed; boundary=c\r\n\r\n";
  for (int part = 0; part < 3; ++part) {
    source += "--c\r\r";
    expected += "--c\r\n\r\n";
    for (int i = 0; i < 40000; ++i) {
      source += "line " + std::to_string(i) + "\r";
      expected += "line " + std::to_string(i) + "\r\n";
    }
  }
  source += "--c--";
  expected += "--c--\r\n";
  MimePart part;
  part.parse(source);
  EXPECT_EQ(countChildren(part), 3);
  EXPECT_EQ(written(part), expected);
}

TEST(MimeLimitsTest, SingleLineOfSeveralMegabytesWithoutLineEnd) {
  std::string source(6u << 20, 'z');
  MimePart part;
  part.parse(source);
  ASSERT_NE(part.headers.head, nullptr);
  EXPECT_EQ(part.headers.head->next, nullptr);
  EXPECT_EQ(written(part), source + "\r\n");
}

}  // namespace
}  // namespace lumo
