// Shortcut composition byte for byte: ids, copied fields, Message-IDs, fixed tail.
#include "shortcut/shortcut_source.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "linkindex/link_record.h"
#include "linkindex/shortcut_id.h"
#include "mime/mime_part.h"
#include "shortcut/shortcut_reader.h"
#include "support/temp_dir.h"

namespace {

using lumo::testing::visible;

const std::string kMailId = "a.mb\\Inbox\\?1234";
const std::string kTail =
    "Content-Type: text/plain; id=\"2711_12\"; charset=\"ISO-2022-JP\"\r\n"
    "Content-Transfer-Encoding: 7bit\r\n"
    "\r\n"
    "Message From LuMO: [\x83\x8a\x83\x93\x83\x4e\x90\xe6\x82\xaa\x95\x73\x96\xbe\x82\xc5\x82\xb7\x81\x42]";
const std::string kOwnFields =
    "X-LuMOID: 2711_12\r\n"
    "X-MailID: a.mb\\Inbox\\?1234\r\n"
    "X-FolderID: a.mb\\Inbox\\\r\n"
    "X-MEMO: OFF\r\n";

// Eleven fields and the blank line: H = 12.
std::string target(const std::string& messageId,
                   const std::string& to = "To: Bob <b@x>,\r\n Carol <c@x>\r\n") {
  return "Return-Path: <a@x>\r\n"
         "Received: from x\r\n\tby y\r\n" +
         messageId +
         "Date: Mon, 1 Jan 2024 00:00:00 +0900\r\n"
         "From: Alice <a@x>\r\n" +
         to +
         "Subject: Hello\r\n"
         "X-Mailer: M 1.0\r\n"
         "MIME-Version: 1.0\r\n"
         "Content-Type: text/plain; charset=\"ISO-2022-JP\"\r\n"
         "Content-Transfer-Encoding: 7bit\r\n"
         "\r\n";
}

// The counter is a 32-bit int in the settings file: the sum wraps in 32 bits
// on every platform, and the id stays one that the index accepts.
TEST(ShortcutSourceTest, ShortcutIdFormat) {
  struct Case {
    int counter;
    std::size_t lines;
    const char* id;
  } cases[] = {
      {1, 12, "2711_12"},          {0, 0, "2710_0"},
      {INT_MAX, 5, "8000270f_5"},  {INT_MAX - 9999, 5, "80000000_5"},
      {INT_MIN, 5, "80002710_5"},  {-1, 3, "270f_3"},
      {-10000, 1, "0_1"},          {-10001, 1, "ffffffff_1"},
      {-19999, 14, "ffffd8f1_14"},
  };
  for (const auto& c : cases) {
    std::string id = lumo::formatShortcutId(c.counter, c.lines);
    EXPECT_EQ(id, c.id) << c.counter;
    EXPECT_TRUE(lumo::isShortcutId(id)) << id;
  }
}

TEST(ShortcutSourceTest, ComposesEveryLineExactly) {
  const std::string mid = "Message-ID: <abc@example.com>\r\n";
  struct Case {
    const char* name;
    std::string header;
    lumo::ShortcutOptions options;
    std::string expected;
    std::string messageId;
  } cases[] = {
      {"defaults",
       target(mid),
       {},
       kOwnFields + "X-" + mid +
           "Date: Mon, 1 Jan 2024 00:00:00 +0900\r\nFrom: Alice <a@x>\r\nSubject:-> Hello\r\nX-Mailer: M "
           "1.0\r\n"
           "Message-ID: <abc@2711_12.LuMO.example.com>\r\n" +
           kTail,
       "<abc@example.com>"},
      {"ToDel off keeps the folded To",
       target(mid),
       {false, true, "->"},
       kOwnFields + "X-" + mid +
           "Date: Mon, 1 Jan 2024 00:00:00 +0900\r\nFrom: Alice <a@x>\r\nTo: Bob <b@x>,\r\n Carol <c@x>\r\n"
           "Subject:-> Hello\r\nX-Mailer: M 1.0\r\nMessage-ID: <abc@2711_12.LuMO.example.com>\r\n" +
           kTail,
       "<abc@example.com>"},
      {"SubCh on with an empty tag",
       target(mid, "tO: b@x\r\n"),
       {true, true, ""},
       kOwnFields + "X-" + mid +
           "Date: Mon, 1 Jan 2024 00:00:00 +0900\r\nFrom: Alice <a@x>\r\nSubject: Hello\r\nX-Mailer: M "
           "1.0\r\n"
           "Message-ID: <abc@2711_12.LuMO.example.com>\r\n" +
           kTail,
       "<abc@example.com>"},
      {"SubCh off",
       target(mid),
       {true, false, "->"},
       kOwnFields + "X-" + mid +
           "Date: Mon, 1 Jan 2024 00:00:00 +0900\r\nFrom: Alice <a@x>\r\nSubject: Hello\r\nX-Mailer: M "
           "1.0\r\n"
           "Message-ID: <abc@2711_12.LuMO.example.com>\r\n" +
           kTail,
       "<abc@example.com>"},
      {"Message-Id case kept",
       target("Message-Id: <k@h>\r\n"),
       {},
       kOwnFields + "X-Message-Id: <k@h>\r\n" +
           "Date: Mon, 1 Jan 2024 00:00:00 +0900\r\nFrom: Alice <a@x>\r\nSubject:-> Hello\r\nX-Mailer: M "
           "1.0\r\n"
           "Message-Id: <k@2711_12.LuMO.h>\r\n" +
           kTail,
       "<k@h>"},
      {"no Message-ID",
       target("Reply-To: r@x\r\n"),
       {},
       kOwnFields +
           "Date: Mon, 1 Jan 2024 00:00:00 +0900\r\nFrom: Alice <a@x>\r\nSubject:-> Hello\r\nX-Mailer: M "
           "1.0\r\n" +
           kTail,
       ""},
      {"Message-ID without @",
       target("Message-ID: <local>\r\n"),
       {},
       kOwnFields + "X-Message-ID: <local>\r\n" +
           "Date: Mon, 1 Jan 2024 00:00:00 +0900\r\nFrom: Alice <a@x>\r\nSubject:-> Hello\r\nX-Mailer: M "
           "1.0\r\n" +
           kTail,
       "<local>"},
      {"folded Message-ID gives a clean value, and the own Message-ID is made of it",
       target("Message-ID:\r\n <f@g>\r\n"),
       {},
       kOwnFields + "X-Message-ID:\r\n <f@g>\r\n" +
           "Date: Mon, 1 Jan 2024 00:00:00 +0900\r\nFrom: Alice <a@x>\r\nSubject:-> Hello\r\nX-Mailer: M "
           "1.0\r\n"
           "Message-ID: <f@2711_12.LuMO.g>\r\n" +
           kTail,
       "<f@g>"},
      {"empty Message-ID",
       target("Message-ID:\r\n"),
       {},
       kOwnFields + "X-Message-ID:\r\n" +
           "Date: Mon, 1 Jan 2024 00:00:00 +0900\r\nFrom: Alice <a@x>\r\nSubject:-> Hello\r\nX-Mailer: M "
           "1.0\r\n" +
           kTail,
       ""},
  };
  for (const Case& c : cases) {
    lumo::ShortcutSource out;
    ASSERT_EQ(lumo::composeShortcutSource(c.header, kMailId, 1, c.options, out), 1) << c.name;
    EXPECT_EQ(visible(out.source), visible(c.expected)) << c.name << "\ninput: " << visible(c.header);
    EXPECT_EQ(out.shortcutId, "2711_12") << c.name;
    EXPECT_EQ(out.folderId, "a.mb\\Inbox\\") << c.name;
    EXPECT_EQ(out.targetMessageId, c.messageId) << c.name;
    EXPECT_EQ(out.targetMessageId.find_first_of("\r\n"), std::string::npos) << c.name;
  }
}

TEST(ShortcutSourceTest, FoldedFieldsCountOnceAndLineEndsAreNormalised) {
  // Three fields, two of them folded, LF-only line ends, no blank line: H = 3.
  std::string header = "Subject: a\n b\nFrom: x\n\ty\nX-Other: z\n";
  lumo::ShortcutSource out;
  ASSERT_EQ(lumo::composeShortcutSource(header, "f.mb\\?k", 4, {}, out), 1);
  EXPECT_EQ(out.shortcutId, "2714_3");
  std::string expected =
      "X-LuMOID: 2714_3\r\nX-MailID: f.mb\\?k\r\nX-FolderID: f.mb\\\r\nX-MEMO: OFF\r\n"
      "Subject:-> a\r\n b\r\nFrom: x\r\n\ty\r\n"
      "Content-Type: text/plain; id=\"2714_3\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: "
      "7bit\r\n\r\n" +
      std::string(lumo::kShortcutBody);
  EXPECT_EQ(visible(out.source), visible(expected));
}

// H is the number of header lines the MIME tree holds for the same text:
// a folded field once, the blank line too, nothing after it.
TEST(ShortcutSourceTest, HeaderLineCountIsTheMimeTreeCount) {
  struct Case {
    std::string header;
    std::size_t lines;
  } cases[] = {
      {"", 0},
      {"\r\n", 1},
      {"A: 1\r\nB: 2\r\n\r\n", 3},
      {"A: 1\r\n\tmore\r\n  again\r\nB: 2\r\n\r\n", 3},
      {"A: 1\nB: 2\rC: 3\n\n", 4},
      {"A: 1\r\n b\rC: 3\n\tc\r\n\r\n", 3},
      {"A: 1\r\nB: 2", 2},
      {"A: 1\r\n folded at the end", 1},
      {"A: 1\r\n\r\nbody: no\r\n\r\nX: y\r\n", 2},
      {" lead\r\n\r\n", 2},
      {std::string("A: 1\r\n\0B: 2\r\n", 13), 1},
      {"Subject: " + std::string(70000, 'x') + "\r\n " + std::string(70000, 'y') + "\r\nB: 2\r\n\r\n", 3},
  };
  for (const Case& c : cases) {
    lumo::ShortcutSource out;
    ASSERT_EQ(lumo::composeShortcutSource(c.header, kMailId, 1, {}, out), 1);
    EXPECT_EQ(out.shortcutId, lumo::formatShortcutId(1, c.lines)) << visible(c.header);

    std::string terminated = c.header;  // the host's text ends at its NUL
    const char* cursor = terminated.c_str();
    lumo::MimePart tree;
    tree.parse(cursor);
    std::size_t treeLines = 0;
    for (const lumo::MimeLine* line = tree.headers.head; line; line = line->next) ++treeLines;
    EXPECT_EQ(treeLines, c.lines) << visible(c.header);
  }
}

TEST(ShortcutSourceTest, RefusesMailIdsThatCannotBeWritten) {
  const std::string bad[] = {"",
                             "no-backslash?k",
                             "a\\?k\r\nX-Evil: 1",
                             std::string("a\\?\0k", 5),
                             "a\\?k\x01",  // the link index line could not hold it
                             "a\\?" + std::string(253, 'k')};
  for (const std::string& id : bad) {
    lumo::ShortcutSource out;
    out.source = "untouched";
    EXPECT_EQ(lumo::composeShortcutSource(target(""), id, 1, {}, out), 0) << visible(id);
    EXPECT_EQ(out.source, "untouched");
  }
  lumo::ShortcutSource out;
  EXPECT_EQ(lumo::composeShortcutSource(target(""), "a\\?" + std::string(252, 'k'), 1, {}, out), 1);
}

TEST(ShortcutSourceTest, OverLongFieldsAreCopiedWholeButGiveNoOwnMessageId) {
  std::string subject = std::string(100000, 's');
  std::string mid = "<" + std::string(70000, 'm') + "@h>";
  lumo::ShortcutSource out;
  ASSERT_EQ(lumo::composeShortcutSource("Subject: " + subject + "\r\nMessage-ID: " + mid + "\r\n\r\n",
                                        kMailId, 1, {}, out),
            1);
  EXPECT_NE(out.source.find("Subject:-> " + subject + "\r\n"), std::string::npos);
  EXPECT_NE(out.source.find("X-Message-ID: " + mid + "\r\n"), std::string::npos);
  // No reader could search for a Message-ID longer than an id.
  EXPECT_EQ(lumo::headerFieldValue(out.source, "Message-ID"), std::nullopt);
  EXPECT_EQ(out.targetMessageId, mid);
}

// The Message-ID the composer writes is the one the link record searches
// for, whatever shape the target's field has; where that rule gives none,
// the shortcut carries none.
TEST(ShortcutSourceTest, TheOwnMessageIdIsTheOneTheLinkRecordSearchesFor) {
  const std::string local239(239, 'q');  // with "<", "@h>", ".LuMO." and "2711_3": 255 bytes
  const std::string fields[] = {
      "Message-ID: <a@b>",
      "Message-ID:<a@b>",
      "MESSAGE-ID:   <a@b>  ",
      "Message-ID:\r\n\t<a@\r\n b>",
      "Message-ID: <ab>",
      "Message-ID: a@b@c",
      "Message-ID: <" + local239 + "@h>",
      "Message-ID: <" + local239 + "q@h>",
  };
  for (const std::string& field : fields) {
    lumo::ShortcutSource out;
    ASSERT_EQ(lumo::composeShortcutSource("From: x\r\n" + field + "\r\n\r\n", kMailId, 1, {}, out), 1);
    lumo::LinkRecord record;
    ASSERT_EQ(
        record.setFields(out.shortcutId.c_str(), nullptr, nullptr, out.targetMessageId.c_str(), nullptr), 1);
    std::string searched = record.shortcutMessageId();
    std::optional<std::string> written = lumo::headerFieldValue(out.source, "Message-ID");
    if (searched.empty())
      EXPECT_EQ(written, std::nullopt) << visible(field);
    else
      EXPECT_EQ(written, searched) << visible(field);
  }
  lumo::ShortcutSource longest;
  ASSERT_EQ(lumo::composeShortcutSource("Message-ID: <" + local239 + "@h>\r\n\r\n", kMailId, 1, {}, longest),
            1);
  EXPECT_EQ(lumo::headerFieldValue(longest.source, "Message-ID")->size(), 255u);
}

}  // namespace

namespace {

// Of several Message-ID fields every one keeps its "X-" copy in place, and
// the last one alone gives the new Message-ID and the recorded value.
TEST(ShortcutSourceTest, TheLastOfSeveralMessageIdsDecides) {
  std::string header =
      "Message-ID: <first@a>\r\nSubject: S\r\nmessage-id: <second@b>\r\nMessage-Id: <third@c>\r\n\r\n";
  lumo::ShortcutSource out;
  ASSERT_EQ(lumo::composeShortcutSource(header, kMailId, 1, {}, out), 1);
  EXPECT_EQ(visible(out.source),
            visible(kOwnFields.substr(0, 10) + "2711_5" + kOwnFields.substr(17) +
                    "X-Message-ID: <first@a>\r\nSubject:-> S\r\nX-message-id: <second@b>\r\n"
                    "X-Message-Id: <third@c>\r\nMessage-Id: <third@2711_5.LuMO.c>\r\n"
                    "Content-Type: text/plain; id=\"2711_5\"; charset=\"ISO-2022-JP\"\r\n"
                    "Content-Transfer-Encoding: 7bit\r\n\r\n" +
                    std::string(lumo::kShortcutBody)));
  EXPECT_EQ(out.targetMessageId, "<third@c>");

  // A last one without "@" still decides: no new Message-ID field at all.
  ASSERT_EQ(
      lumo::composeShortcutSource("Message-ID: <x@y>\r\nMessage-ID: <plain>\r\n\r\n", kMailId, 1, {}, out),
      1);
  EXPECT_EQ(out.source.find("\r\nMessage-ID:"), std::string::npos) << visible(out.source);
  EXPECT_EQ(out.targetMessageId, "<plain>");
}

// A header that keeps none of its lines still gives a whole shortcut, the
// plug-in's own fields first, then the fixed ones.
TEST(ShortcutSourceTest, AHeaderWithNothingToCopyGivesTheFixedFieldsAlone) {
  const std::string fixedTail = "Content-Transfer-Encoding: 7bit\r\n\r\n" + std::string(lumo::kShortcutBody);
  struct Case {
    std::string header;
    std::string id;
  } cases[] = {{"", "2711_0"}, {"\r\n", "2711_1"}, {"Reply-To: r@x\r\nX-Spam: no\r\n\r\n", "2711_3"}};
  for (const Case& c : cases) {
    lumo::ShortcutSource out;
    ASSERT_EQ(lumo::composeShortcutSource(c.header, kMailId, 1, {}, out), 1);
    EXPECT_EQ(
        visible(out.source),
        visible("X-LuMOID: " + c.id + "\r\nX-MailID: a.mb\\Inbox\\?1234\r\nX-FolderID: a.mb\\Inbox\\\r\n" +
                "X-MEMO: OFF\r\nContent-Type: text/plain; id=\"" + c.id + "\"; charset=\"ISO-2022-JP\"\r\n" +
                fixedTail))
        << visible(c.header);
  }
}

}  // namespace
