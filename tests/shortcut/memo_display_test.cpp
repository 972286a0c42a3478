// The MEMO display message byte for byte: multipart targets, wrapped single
// parts, cut and empty targets, and taking the MEMO text from a shortcut.
#include "shortcut/memo_display.h"

#include <gtest/gtest.h>

#include "mime/mime_part.h"
#include "support/temp_dir.h"

namespace {

using lumo::testing::visible;

// The MEMO part as the host is to receive it, for the MEMO text `memo`.
std::string memoPart(const std::string& memo) {
  return "Content-Type:text/plain;charset=\"ISO-2022-JP\"; name=\"MEMO.txt\"\r\n"
         "Content-Transfer-Encoding:7bit\r\n"
         "Content-Disposition: inline; filename=\"MEMO.txt\"\r\n"
         "\r\n" +
         memo + "\r\n";
}

const std::string kWrapperType =
    "Content-Type: multipart/mixed; boundary=\"----[00EXX2000X09X28BB-MULTIPART-MIXED]\"\r\n";
const std::string kPreamble = "This is a multi-part message in MIME format.\r\n";
const std::string kDelimiter = "------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\n";
const std::string kClose = "------[00EXX2000X09X28BB-MULTIPART-MIXED]--\r\n";

// A literal's bytes, NUL bytes inside included.
template <std::size_t N>
std::string bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

std::string composed(const std::string& target, const std::string& memo) {
  std::optional<lumo::MimeText> text = lumo::composeMemoDisplay(target, memo);
  return text ? std::string(text->view()) : "(none)";
}

// Read back with the MIME tree, the message's last top-level part is the MEMO.
void expectMemoIsLastPart(const std::string& display, const std::string& memo, int parts) {
  lumo::MimePart tree;
  tree.parse(display);
  int count = 0;
  const lumo::MimePart* last = nullptr;
  for (const lumo::MimePart* p = tree.firstChild.get(); p; p = p->nextSibling.get(), ++count) last = p;
  ASSERT_EQ(count, parts) << visible(display);
  ASSERT_NE(last->body.head, nullptr);
  EXPECT_EQ(std::string(last->body.head->text, last->body.head->length), memo + "\r\n");
  EXPECT_STREQ(last->subtype, "plain");
}

TEST(MemoDisplayTest, MemoPartBytesAreExact) {
  const std::string memo = "\x83\x81\x83\x82 line one\r\nline two\r\n";  // Shift-JIS, ends in CR LF
  std::string target = "Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\r\nx\r\n--b--\r\n";
  EXPECT_EQ(visible(composed(target, memo)),
            visible("Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\r\nx\r\n--b\r\n"
                    "Content-Type:text/plain;charset=\"ISO-2022-JP\"; name=\"MEMO.txt\"\r\n"
                    "Content-Transfer-Encoding:7bit\r\n"
                    "Content-Disposition: inline; filename=\"MEMO.txt\"\r\n"
                    "\r\n"
                    "\x83\x81\x83\x82 line one\r\nline two\r\n\r\n"
                    "--b--\r\n"));
  // An empty MEMO is still a part, holding one empty line.
  EXPECT_NE(composed(target, "").find("filename=\"MEMO.txt\"\r\n\r\n\r\n--b--\r\n"), std::string::npos);
}

TEST(MemoDisplayTest, MultipartTargetGetsTheMemoAsLastChildUnderItsOwnBoundary) {
  const std::string head =
      "From: a@x\r\n"
      "Subject: hi\r\n"
      "MIME-Version: 1.0\r\n"
      "Content-Type: Multipart/Mixed;\r\n\tboundary=\"b1\"\r\n"
      "Content-Transfer-Encoding: 7bit\r\n"
      "\r\n"
      "preamble\r\n"
      "--b1\r\n"
      "Content-Type: text/plain\r\n"
      "\r\n"
      "hello\r\n"
      "--b1\r\n"
      "Content-Type: application/octet-stream\r\n"
      "Content-Transfer-Encoding: base64\r\n"
      "\r\n"
      "AAAA\r\n";
  // The top-level epilogue is not part of the tree.
  std::string display = composed(head + "--b1--\r\nepilogue\r\n", "note");
  EXPECT_EQ(visible(display), visible(head + "--b1\r\n" + memoPart("note") + "--b1--\r\n"));
  expectMemoIsLastPart(display, "note", 3);
}

TEST(MemoDisplayTest, NestedMultipartGetsTheMemoAtTheTopLevel) {
  const std::string head =
      "Content-Type: multipart/mixed; boundary=outer\r\n"
      "\r\n"
      "--outer\r\n"
      "Content-Type: multipart/alternative; boundary=inner\r\n"
      "\r\n"
      "--inner\r\n"
      "Content-Type: text/plain\r\n"
      "\r\n"
      "plain\r\n"
      "--inner\r\n"
      "Content-Type: text/html\r\n"
      "\r\n"
      "<p>html</p>\r\n"
      "--inner--\r\n"
      "inner epilogue\r\n"
      "--outer\r\n"
      "Content-Type: image/png\r\n"
      "\r\n"
      "iVBO\r\n";
  std::string display = composed(head + "--outer--\r\n", "m");
  EXPECT_EQ(visible(display), visible(head + "--outer\r\n" + memoPart("m") + "--outer--\r\n"));
  expectMemoIsLastPart(display, "m", 3);
}

TEST(MemoDisplayTest, SinglePartIsWrappedAndKeepsItsContentFieldsInside) {
  std::string target =
      "Return-Path: <a@x>\r\n"
      "From: a@x\r\n"
      "MIME-Version: 1.0\r\n"
      "Content-Type: text/plain;\r\n charset=\"utf-8\"\r\n"
      "Subject: s\r\n"
      "content-transfer-encoding: base64\r\n"
      "CONTENT-DISPOSITION: inline\r\n"
      "X-Content-Note: stays outside\r\n"
      "\r\n"
      "aGVsbG8=\r\n";
  std::string expected =
      "Return-Path: <a@x>\r\n"
      "From: a@x\r\n"
      "MIME-Version: 1.0\r\n" +
      kWrapperType +
      "Subject: s\r\n"
      "X-Content-Note: stays outside\r\n"
      "\r\n" +
      kPreamble + kDelimiter +
      "Content-Type: text/plain;\r\n charset=\"utf-8\"\r\n"
      "content-transfer-encoding: base64\r\n"
      "CONTENT-DISPOSITION: inline\r\n"
      "\r\n"
      "aGVsbG8=\r\n" +
      kDelimiter + memoPart("memo") + kClose;
  std::string display = composed(target, "memo");
  EXPECT_EQ(visible(display), visible(expected));
  expectMemoIsLastPart(display, "memo", 2);

  // The wrapper itself holds no transfer encoding of the target.
  lumo::MimePart tree;
  tree.parse(display);
  for (const lumo::MimeLine* line = tree.headers.head; line; line = line->next)
    EXPECT_EQ(std::string_view(line->text, line->length).find("ransfer-"), std::string_view::npos);
  EXPECT_STREQ(tree.type, "multipart");
  EXPECT_STREQ(tree.firstChild->type, "text");
}

TEST(MemoDisplayTest, WrapperContentTypeStandsWhereTheTargetHadOne) {
  struct Case {
    const char* name;
    std::string target;
    std::string expected;
  } cases[] = {
      {"no Content-Type: before the empty line", "From: a\r\nSubject: s\r\n\r\nbody\r\n",
       "From: a\r\nSubject: s\r\n" + kWrapperType + "\r\n" + kPreamble + kDelimiter + "\r\nbody\r\n" +
           kDelimiter + memoPart("m") + kClose},
      {"two Content-Types: in place of the last",
       "Content-Type: text/html\r\nFrom: a\r\nContent-Type: text/plain\r\nDate: d\r\n\r\nbody\r\n",
       "From: a\r\n" + kWrapperType + "Date: d\r\n\r\n" + kPreamble + kDelimiter +
           "Content-Type: text/html\r\nContent-Type: text/plain\r\n\r\nbody\r\n" + kDelimiter +
           memoPart("m") + kClose},
      {"multipart type without boundary is wrapped", "Content-Type: multipart/mixed\r\n\r\n--x\r\n",
       kWrapperType + "\r\n" + kPreamble + kDelimiter + "Content-Type: multipart/mixed\r\n\r\n--x\r\n" +
           kDelimiter + memoPart("m") + kClose},
      {"boundary on a non-multipart type: the inner part keeps its parts",
       "Content-Type: text/plain; boundary=q\r\n\r\n--q\r\n\r\nin\r\n--q--\r\n",
       kWrapperType + "\r\n" + kPreamble + kDelimiter +
           "Content-Type: text/plain; boundary=q\r\n\r\n--q\r\n\r\nin\r\n--q--\r\n" + kDelimiter +
           memoPart("m") + kClose},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(visible(composed(c.target, "m")), visible(c.expected)) << c.name;
  }
}

TEST(MemoDisplayTest, LfOnlyTargetIsWrittenWithCrLf) {
  std::string target =
      "From: a\nContent-Type: text/plain\nContent-Transfer-Encoding: quoted-printable\n\nl=\n1\nl2\n";
  std::string expected =
      "From: a\r\n" + kWrapperType + "\r\n" + kPreamble + kDelimiter +
      "Content-Type: text/plain\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\nl=\r\n1\r\nl2\r\n" +
      kDelimiter + memoPart("m") + kClose;
  EXPECT_EQ(visible(composed(target, "m")), visible(expected));

  std::string multipart = "Content-Type: multipart/mixed; boundary=b\n\n--b\n\nx\n--b--\n";
  EXPECT_EQ(visible(composed(multipart, "m")),
            visible("Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\r\nx\r\n--b\r\n" +
                    memoPart("m") + "--b--\r\n"));
}

// Cut sources: the MEMO part must still read back as a part of its own.
TEST(MemoDisplayTest, CutAndEmptyTargetsStillShowTheMemoAsAPart) {
  struct Case {
    const char* name;
    std::string target;
    std::string expected;
    int parts;
  } cases[] = {
      {"closing delimiter missing", "Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\r\ntext",
       "Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\r\ntext\r\n--b\r\n" + memoPart("m") +
           "--b--\r\n",
       2},
      {"last part cut inside its header block",
       "Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\nContent-Type: text/plain\r\n",
       "Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\nContent-Type: text/plain\r\n\r\n--b\r\n" +
           memoPart("m") + "--b--\r\n",
       2},
      {"nested part cut inside its header block",
       "Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\nContent-Type: multipart/related; "
       "boundary=c\r\n\r\n--c\r\nContent-Type: text/html",
       "Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\nContent-Type: multipart/related; "
       "boundary=c\r\n\r\n--c\r\nContent-Type: text/html\r\n\r\n--c--\r\n--b\r\n" +
           memoPart("m") + "--b--\r\n",
       2},
      {"single part without empty line", "From: a\r\nContent-Type: text/plain\r\nSubject: s",
       "From: a\r\n" + kWrapperType + "Subject: s\r\n\r\n" + kPreamble + kDelimiter +
           "Content-Type: text/plain\r\n\r\n" + kDelimiter + memoPart("m") + kClose,
       2},
      {"empty target", "",
       kWrapperType + "\r\n" + kPreamble + kDelimiter + "\r\n" + kDelimiter + memoPart("m") + kClose, 2},
      {"target ends at its NUL", bytes("From: a\r\n\r\nx\r\n\0hidden"),
       "From: a\r\n" + kWrapperType + "\r\n" + kPreamble + kDelimiter + "\r\nx\r\n" + kDelimiter +
           memoPart("m") + kClose,
       2},
  };
  for (const Case& c : cases) {
    std::string display = composed(c.target, "m");
    EXPECT_EQ(visible(display), visible(c.expected)) << c.name;
    expectMemoIsLastPart(display, "m", c.parts);
  }
}

// A multipart target whose parts are all missing has no last part to put
// the MEMO after: it is shown as it is.
TEST(MemoDisplayTest, MultipartTargetWithoutPartsTakesNoMemo) {
  const std::string shortcut = "X-MEMO: ON\r\n\r\nMessage From LuMO: [x]\r\n[MEMO]\r\nm";
  for (const std::string target : {"Subject: s\r\nContent-Type: multipart/mixed; boundary=b",
                                   "Content-Type: multipart/mixed; boundary=b\r\n\r\npreamble only\r\n",
                                   "Content-Type: multipart/mixed; boundary=b\r\n\r\n--b--\r\n"}) {
    EXPECT_FALSE(lumo::composeMemoDisplay(target, "m").has_value()) << visible(target);
    EXPECT_EQ(visible(lumo::memoDisplayText(target, shortcut).view()), visible(target));
  }
  // One part is enough.
  EXPECT_TRUE(lumo::composeMemoDisplay("Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\r\nx", "m"));
}

TEST(MemoDisplayTest, MemoTextOfTheShownTextFollowsTheFirstMarkerAnywhere) {
  struct Case {
    std::string shown;
    const char* memo;  // null: none
  } cases[] = {
      {"Message From LuMO: [x]\r\n[MEMO]\r\nnote\r\n\r\nafter an empty line",
       "note\r\n\r\nafter an empty line"},
      {"\r\n[MEMO]\r\nat the start", "at the start"},
      {"b\r\n[MEMO]\r\na\r\n[MEMO]\r\nc", "a\r\n[MEMO]\r\nc"},
      {"b\r\n[MEMO]\r\n", ""},
      {bytes("b\r\n[MEMO]\r\nab\0cd"), "ab"},
      {bytes("b\0\r\n[MEMO]\r\nx"), nullptr},
      {"b\n[MEMO]\nx", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    std::optional<std::string_view> memo = lumo::memoTextOfShownText(c.shown);
    if (!c.memo) {
      EXPECT_FALSE(memo.has_value()) << visible(c.shown);
      continue;
    }
    ASSERT_TRUE(memo.has_value()) << visible(c.shown);
    EXPECT_EQ(visible(*memo), visible(c.memo));
  }
}

TEST(MemoDisplayTest, MemoTextIsWhatFollowsTheFirstMarkerInTheBody) {
  const std::string head = "X-LuMOID: 2711_12\r\nX-MEMO: ON\r\n\r\nMessage From LuMO: [x]";
  struct Case {
    const char* name;
    std::string source;
    const char* memo;  // null: none
  } cases[] = {
      {"text with lines", head + "\r\n[MEMO]\r\nnote\r\nline 2", "note\r\nline 2"},
      {"empty MEMO", head + "\r\n[MEMO]\r\n", ""},
      {"only the first marker counts", head + "\r\n[MEMO]\r\na\r\n[MEMO]\r\nb", "a\r\n[MEMO]\r\nb"},
      {"marker right after the empty line", "A: 1\r\n\r\n[MEMO]\r\nx", "x"},
      {"empty header block", "\r\n[MEMO]\r\nx", "x"},
      {"ends at a NUL", bytes("A: 1\r\n\r\nb\r\n[MEMO]\r\nab\0cd"), "ab"},
      {"no marker", head, nullptr},
      {"LF-only marker", head + "\n[MEMO]\nx", nullptr},
      {"marker without its line end", head + "\r\n[MEMO]", nullptr},
      {"marker-like line in the header", "A: 1\r\n[MEMO]\r\nB: 2\r\n\r\nbody", nullptr},
      {"marker-like line 3 of the header", "A: 1\r\nB: 2\r\n[MEMO]\r\nC: 3\r\n\r\nbody", nullptr},
      {"marker-like last header line", "A: 1\r\nB: 2\r\nC: 3\r\n[MEMO]\r\n\r\nbody", nullptr},
      {"marker-like header line, marker in the body",
       "A: 1\r\nB: 2\r\n[MEMO]\r\nC: 3\r\n\r\nb\r\n[MEMO]\r\nreal", "real"},
      {"no empty line", "A: 1\r\n[MEMO]\r\nx", nullptr},
      {"no empty line, marker-like line 3", "A: 1\r\nB: 2\r\n[MEMO]\r\nx", nullptr},
      {"marker after a NUL", bytes("A: 1\r\n\r\nb\0\r\n[MEMO]\r\nx"), nullptr},
      {"empty source", "", nullptr},
  };
  for (const Case& c : cases) {
    std::optional<std::string_view> memo = lumo::memoText(c.source);
    if (c.memo == nullptr) {
      EXPECT_FALSE(memo.has_value()) << c.name << ": " << visible(*memo);
      continue;
    }
    ASSERT_TRUE(memo.has_value()) << c.name;
    EXPECT_EQ(visible(*memo), visible(c.memo)) << c.name;
    // A view into the source, so an editor knows where the MEMO text starts.
    EXPECT_EQ(memo->data() + memo->size(), c.source.data() + std::string_view(c.source.c_str()).size())
        << c.name;
  }
}

TEST(MemoDisplayTest, ShortcutWithoutMemoSectionShowsTheTargetUnchanged) {
  // Not even line ends or the epilogue change.
  const std::string target = "Content-Type: multipart/mixed; boundary=b\n\n--b\n\nx\n--b--\nepilogue";
  const std::string shortcut = "X-LuMOID: 2711_12\r\nX-MEMO: ON\r\n\r\nMessage From LuMO: [x]";
  lumo::MimeText shown = lumo::memoDisplayText(target, shortcut);
  EXPECT_EQ(visible(shown.view()), visible(target));
  EXPECT_EQ(shown.c_str()[shown.size()], '\0');
  EXPECT_EQ(lumo::memoDisplayText(bytes("ab\0c"), shortcut).view(), "ab");

  const std::string withMemo = shortcut + "\r\n[MEMO]\r\nremember\r\nthis";
  EXPECT_EQ(visible(lumo::memoDisplayText(target, withMemo).view()),
            visible("Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\r\nx\r\n--b\r\n" +
                    memoPart("remember\r\nthis") + "--b--\r\n"));
}

}  // namespace
