// Splitting, filling and formatting link index lines, and the shortcut Message-ID.
#include "linkindex/link_record.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace {

using lumo::LinkRecord;
using lumo::testing::visible;

// The five fields of a record, absent fields as "(absent)".
std::string fieldsOf(const LinkRecord& r) {
  auto f = [](const char* s) { return s == nullptr ? std::string("(absent)") : visible(s); };
  return f(r.shortcutId()) + " | " + f(r.targetFolderId()) + " | " + f(r.targetMailId()) + " | " +
         f(r.targetMessageId()) + " | " + f(r.shortcutLocation());
}

std::string formatted(const LinkRecord& r, std::size_t capacity = lumo::kLinkLineCapacity) {
  std::string buffer(capacity + 1, '#');
  if (!r.formatLine(buffer.data(), capacity)) return "(refused)";
  return buffer.substr(0, buffer.find('\0'));
}

struct ParseCase {
  const char* name;
  std::string line;
  std::string fields;  // expected fields, or "(no parse)"
  std::string again;   // the line formatted back, or "(refused)"
};

TEST(LinkRecordTest, ParsesAndFormatsLines) {
  const ParseCase cases[] = {
      {"relative mail id", "2711_12\x01xxxx.mb\\Inbox\\\x01?k1\x01<a@b>\x01",
       "2711_12 | xxxx.mb\\Inbox\\ | xxxx.mb\\Inbox\\?k1 | <a@b> | (absent)",
       "2711_12\x01xxxx.mb\\Inbox\\\x01?k1\x01<a@b>\x01"},
      {"whole mail id in field 3", "2711_12\x01xxxx.mb\\Inbox\\\x01xxxx.mb\\Inbox\\?k1\x01<a@b>\x01",
       "2711_12 | xxxx.mb\\Inbox\\ | xxxx.mb\\Inbox\\?k1 | <a@b> | (absent)",
       "2711_12\x01xxxx.mb\\Inbox\\\x01?k1\x01<a@b>\x01"},
      {"empty mail id is the folder", "2711_12\x01xxxx.mb\\Inbox\\\x01\x01<a@b>\x01",
       "2711_12 | xxxx.mb\\Inbox\\ | xxxx.mb\\Inbox\\ | <a@b> | (absent)",
       "2711_12\x01xxxx.mb\\Inbox\\\x01\x01<a@b>\x01"},
      {"full example", "2711_12\x01xxxx.mb\\Inbox\\\x01?k1\x01<a@b>\x01xxxx.mb\\Links\\?k9",
       "2711_12 | xxxx.mb\\Inbox\\ | xxxx.mb\\Inbox\\?k1 | <a@b> | xxxx.mb\\Links\\?k9",
       "2711_12\x01xxxx.mb\\Inbox\\\x01?k1\x01<a@b>\x01xxxx.mb\\Links\\?k9"},
      {"mail in a subfolder stays whole", "1_1\x01m.mb\\In\\\x01m.mb\\In\\Sub\\?k\x01\x01",
       "1_1 | m.mb\\In\\ | m.mb\\In\\Sub\\?k | (absent) | (absent)",
       "1_1\x01m.mb\\In\\\x01m.mb\\In\\Sub\\?k\x01\x01"},
      {"other folder stays whole", "1_1\x01m.mb\\A\\\x01m.mb\\B\\?k\x01\x01",
       "1_1 | m.mb\\A\\ | m.mb\\B\\?k | (absent) | (absent)", "1_1\x01m.mb\\A\\\x01m.mb\\B\\?k\x01\x01"},
      {"no folder, relative kept", "1_1\x01\x01?k\x01\x01", "1_1 | (absent) | ?k | (absent) | (absent)",
       "1_1\x01\x01?k\x01\x01"},
      {"all empty", "\x01\x01\x01\x01", "(absent) | (absent) | (absent) | (absent) | (absent)",
       "\x01\x01\x01\x01"},
      {"three separators",
       "a\x01"
       "b\x01"
       "c\x01"
       "d",
       "(no parse)", ""},
      {"no separator", "2711_12", "(no parse)", ""},
      {"extra separators stay in field 5 but are never written",
       "a\x01"
       "b\x01"
       "c\x01"
       "d\x01"
       "e\x01"
       "f",
       "a | b | c | d | e<01>f", "(refused)"},
      {"line feed is never part of a line",
       "a\x01"
       "b\x01?c\x01"
       "d\x01"
       "e\nf",
       "(no parse)", ""},
      {"stray CR parses but is never written",
       "a\x01"
       "b\x01?c\x01"
       "d\x01"
       "e\r",
       "a | b | b?c | d | e\\r", "(refused)"},
      {"NUL is never part of a line",
       std::string("a\x01"
                   "b\x01?c\x01"
                   "d\x01"
                   "e\0f",
                   12),
       "(no parse)", ""},
      {"511 characters", "1_1\x01\x01\x01\x01" + std::string(511 - 7, 'x'),
       "1_1 | (absent) | (absent) | (absent) | " + std::string(504, 'x'),
       "1_1\x01\x01\x01\x01" + std::string(504, 'x')},
      {"512 characters", "1_1\x01\x01\x01\x01" + std::string(512 - 7, 'x'), "(no parse)", ""},
  };
  for (const auto& c : cases) {
    LinkRecord r;
    r.setFields("9_9", "keep", nullptr, nullptr, nullptr);
    int parsed = r.parseLine(c.line);
    std::string fields = parsed ? fieldsOf(r) : "(no parse)";
    EXPECT_EQ(fields, c.fields) << c.name << "\n  line: " << visible(c.line);
    if (!parsed) {
      EXPECT_EQ(fieldsOf(r), "9_9 | keep | keep | (absent) | (absent)")
          << c.name << ": record must be unchanged";
      continue;
    }
    EXPECT_EQ(visible(formatted(r)), visible(c.again)) << c.name << "\n  line: " << visible(c.line);
  }
}

TEST(LinkRecordTest, SetFieldsTakesTheMailIdRelativeOnlyWhenItBeginsWithQuestionMark) {
  struct Case {
    const char* folder;
    const char* mail;
    const char* whole;  // nullptr: absent
  } cases[] = {
      {"m.mb\\In\\", "?k1", "m.mb\\In\\?k1"},
      {"m.mb\\In\\", "", "m.mb\\In\\"},
      {"m.mb\\In\\", nullptr, "m.mb\\In\\"},
      {"m.mb\\In\\", "m.mb\\In\\?k1", "m.mb\\In\\?k1"},
      // Shorter than the folder id but a whole id all the same: never glued on.
      {"m.mb\\Inbox\\Sub\\", "m.mb\\X\\?k", "m.mb\\X\\?k"},
      {nullptr, "m.mb\\X\\?k", "m.mb\\X\\?k"},
      {nullptr, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    LinkRecord r;
    ASSERT_EQ(r.setFields("1_1", c.folder, c.mail, "<a@b>", nullptr), 1);
    const char* got = r.targetMailId();
    EXPECT_EQ(got ? std::string(got) : "(absent)", c.whole ? std::string(c.whole) : "(absent)")
        << "folder " << (c.folder ? c.folder : "(null)") << " mail " << (c.mail ? c.mail : "(null)");
  }
}

TEST(LinkRecordTest, TargetMovedToItsParentIsWrittenWhole) {
  // The folder id was the subfolder; the mail now lies in the parent folder.
  LinkRecord r;
  ASSERT_EQ(r.setFields("1_1", "m.mb\\In\\Sub\\", "m.mb\\In\\?key", "<a@b>", nullptr), 1);
  EXPECT_EQ(visible(formatted(r)), visible("1_1\x01m.mb\\In\\Sub\\\x01m.mb\\In\\?key\x01<a@b>\x01"));
  LinkRecord back;
  ASSERT_EQ(back.parseLine(formatted(r)), 1);
  EXPECT_STREQ(back.targetMailId(), "m.mb\\In\\?key");
}

TEST(LinkRecordTest, SetFieldsRefusesLineBreakingBytes) {
  const char* bad[] = {"a\rb", "a\nb",
                       "a\x01"
                       "b",
                       "\r\n"};
  for (const char* b : bad) {
    for (int field = 0; field < 5; ++field) {
      const char* v[5] = {"1_1", "f\\", "f\\?k", "<a@b>", "loc"};
      v[field] = b;
      LinkRecord r;
      r.setFields("2_2", "old\\", nullptr, nullptr, nullptr);
      EXPECT_EQ(r.setFields(v[0], v[1], v[2], v[3], v[4]), 0) << "field " << field << " value " << visible(b);
      EXPECT_STREQ(r.shortcutId(), "2_2");
      EXPECT_STREQ(r.targetFolderId(), "old\\");
    }
  }
}

TEST(LinkRecordTest, FormatRefusesLinesThatWouldNotFitAndLeavesTheBufferAlone) {
  LinkRecord r;
  // Four separators plus 507 characters: 511 fits in 512, one more does not.
  ASSERT_EQ(r.setFields("1_1", nullptr, nullptr, nullptr, std::string(507 - 3, 'x').c_str()), 1);
  EXPECT_EQ(formatted(r).size(), 511u);
  ASSERT_EQ(r.setFields("1_1", nullptr, nullptr, nullptr, std::string(508 - 3, 'x').c_str()), 1);
  std::string buffer(600, '#');
  EXPECT_EQ(r.formatLine(buffer.data(), 512), 0);
  EXPECT_EQ(buffer, std::string(600, '#'));
  // A small capacity counts the terminating NUL too.
  ASSERT_EQ(r.setFields("1_1", nullptr, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(formatted(r, 8), "1_1\x01\x01\x01\x01");
  EXPECT_EQ(formatted(r, 7), "(refused)");
}

TEST(LinkRecordTest, ShortcutMessageId) {
  struct Case {
    const char* messageId;
    const char* id;
    std::string expected;
  } cases[] = {
      {"<a@b>", "2711_12", "<a@2711_12.LuMO.b>"},
      {"<p.q@r.s>", "2f_3", "<p.q@2f_3.LuMO.r.s>"},
      {"<a@b@c>", "1_1", "<a@1_1.LuMO.b@c>"},
      {"<a@b>", nullptr, "<a@.LuMO.b>"},
      {"<pq>", "2f_3", ""},
      {nullptr, "2f_3", ""},
  };
  for (const auto& c : cases) {
    LinkRecord r;
    ASSERT_EQ(r.setFields(c.id, nullptr, nullptr, c.messageId, nullptr), 1);
    EXPECT_EQ(r.shortcutMessageId(), c.expected) << (c.messageId ? c.messageId : "(absent)");
  }
  // 255 characters is the longest result.
  LinkRecord r;
  std::string local(255 - 2 - 6 - 3, 'q');  // "@>", ".LuMO.", "1_1"
  ASSERT_EQ(r.setFields("1_1", nullptr, nullptr, (local + "@>").c_str(), nullptr), 1);
  EXPECT_EQ(r.shortcutMessageId().size(), 255u);
  ASSERT_EQ(r.setFields("1_1", nullptr, nullptr, (local + "q@>").c_str(), nullptr), 1);
  EXPECT_EQ(r.shortcutMessageId(), "");
}

// One rule for every field writer: CR and LF split the line, 0x01 its
// fields, and NUL would cut a field short where it is read as a C string.
TEST(LinkRecordTest, LineBreakingTextsAreRefusedNulIncluded) {
  using namespace std::string_literals;
  const std::string separator = "a\x01z";
  for (const std::string& bad : {"a\rb"s, "a\nb"s, separator, "a\0b"s, "\0"s})
    EXPECT_TRUE(lumo::breaksIndexLine(bad)) << visible(bad);
  for (const std::string& good : {""s, "a b"s, "\x81\x40\x82\xa0"s, "<a@b>"s, "\x02\x7f"s})
    EXPECT_FALSE(lumo::breaksIndexLine(good)) << visible(good);
}

}  // namespace
