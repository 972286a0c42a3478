// Recognising a shortcut and reading its id, MEMO state, target values and fallback id.
#include "shortcut/shortcut_reader.h"

#include <gtest/gtest.h>

#include "shortcut/shortcut_source.h"
#include "support/temp_dir.h"

namespace {

using lumo::testing::visible;

std::string shown(const std::optional<std::string>& v) { return v ? "[" + visible(*v) + "]" : "none"; }

// Only the field makes a shortcut: a mail that mentions it elsewhere is an
// ordinary mail, and its id is never read from there.
TEST(ShortcutReaderTest, RecognisesShortcutsByTheFieldAtALineStartOfTheHeader) {
  EXPECT_TRUE(lumo::isShortcutHeader("X-LuMOID: 2711_12\r\n\r\n"));
  EXPECT_TRUE(lumo::isShortcutHeader("Subject: s\r\nX-LuMOID : 2711_12\r\n\r\n"));
  EXPECT_TRUE(lumo::isShortcutHeader("A: b\nX-LuMOID:\n"));
  for (const char* header : {"Subject: about X-LuMOID: 2711_12\r\n\r\n",
                             "Subject: a\r\n X-LuMOID: 2711_12\r\n\r\n",  // a folded subject
                             "A: b\r\n\r\nX-LuMOID: 2711_12\r\n",         // the body
                             "X-LuMOIDs: 2711_12\r\n", "X-LuMOID 2711_12\r\n", "X-LUMOID: 2711_12\r\n\r\n"}) {
    EXPECT_FALSE(lumo::isShortcutHeader(header)) << visible(header);
    EXPECT_FALSE(lumo::readShortcutId(header)) << visible(header);
  }
  EXPECT_FALSE(lumo::isShortcutHeader(std::string("A: b\r\n\0X-LuMOID: 1_1\r\n", 22)));
  std::optional<lumo::ShortcutIdValue> v =
      lumo::readShortcutId("Subject: X-LuMOID: 1_1\r\nX-LuMOID: 2_2\r\n");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->id, "2_2");
}

TEST(ShortcutReaderTest, ReadsTheShortcutId) {
  struct Case {
    std::string header;
    std::string id;  // "none" when refused
    bool givenUp;
  } cases[] = {
      {"X-LuMOID: 2711_12\r\nX-MailID: a\\?b\r\n", "2711_12", false},
      {"X-LuMOID: DEL2711_12\r\n", "2711_12", true},
      {"X-LuMOID: 2711_12", "2711_12", false},
      {"X-LuMOID: 2711_12  \r\n", "2711_12", false},
      {"X-LuMOID:2711_12\r\n", "2711_12", false},
      {"X-LuMOID", "none", false},
      {"X-LuMOID \t: 2711_12\r\n", "2711_12", false},
      {"X-LuMOID:", "none", false},
      {"X-LuMOID: \r\n", "none", false},
      {"X-LuMOID: DEL\r\n", "none", false},
      {"X-LuMOID: " + std::string(24, '1') + "\r\n", "none", false},
      {"X-LuMOID: DEL" + std::string(20, '1') + "\r\n",
       "1111111111111111111"
       "1",
       true},
      {"Subject: x\r\n\r\n", "none", false},
  };
  for (const Case& c : cases) {
    std::optional<lumo::ShortcutIdValue> v = lumo::readShortcutId(c.header);
    std::string got = v ? v->id : "none";
    EXPECT_EQ(got, c.id) << "input: " << visible(c.header);
    if (v) {
      EXPECT_EQ(v->givenUp, c.givenUp) << "input: " << visible(c.header);
    }
  }
}

TEST(ShortcutReaderTest, ReadsMemoStateTargetAndFallbackFromAComposedShortcut) {
  lumo::ShortcutSource src;
  ASSERT_EQ(lumo::composeShortcutSource("Message-ID:\r\n <m@h>\r\nSubject: s\r\n\r\n", "a.mb\\Inbox\\?1234",
                                        1, {}, src),
            1);
  std::string header = src.source.substr(0, src.source.find("\r\n\r\n") + 4);
  EXPECT_FALSE(lumo::readMemoOn(header));
  lumo::ShortcutTarget t = lumo::readShortcutTarget(header);
  EXPECT_EQ(shown(t.mailId), "[a.mb\\Inbox\\?1234]");
  EXPECT_EQ(shown(t.folderId), "[a.mb\\Inbox\\]");
  EXPECT_EQ(shown(t.messageId), "[<m@h>]");
  EXPECT_EQ(shown(lumo::readFallbackId(header)), "[2711_3]");
  ASSERT_TRUE(lumo::readShortcutId(header));
  EXPECT_EQ(lumo::readShortcutId(header)->id, src.shortcutId);
}

// A target with several Message-ID fields leaves an "X-" copy of each in its
// shortcut; the target value read back is the last one, the one the shortcut's
// own Message-ID and its link index line were made with.
TEST(ShortcutReaderTest, TheTargetMessageIdIsTheLastOfSeveralCopies) {
  lumo::ShortcutSource src;
  ASSERT_EQ(lumo::composeShortcutSource("Message-ID: <first@a>\r\nMessage-ID: <last@b>\r\n\r\n",
                                        "a.mb\\Inbox\\?1", 1, {}, src),
            1);
  EXPECT_EQ(src.targetMessageId, "<last@b>");
  EXPECT_EQ(shown(lumo::readShortcutTarget(src.source).messageId), "[<last@b>]");
  EXPECT_EQ(shown(lumo::headerFieldValue(src.source, "X-Message-ID")), "[<first@a>]");
}

TEST(ShortcutReaderTest, MemoStateIgnoresCase) {
  EXPECT_TRUE(lumo::readMemoOn("X-MEMO: ON\r\n"));
  EXPECT_TRUE(lumo::readMemoOn("x-memo: on\r\n"));
  EXPECT_FALSE(lumo::readMemoOn("X-MEMO: OFF\r\n"));
  EXPECT_FALSE(lumo::readMemoOn("X-MEMO: ONE\r\n"));
  EXPECT_FALSE(lumo::readMemoOn("X-MEMOS: ON\r\n"));
  EXPECT_FALSE(lumo::readMemoOn("Subject: x\r\n"));
}

TEST(ShortcutReaderTest, FieldValuesAreWholeNamedUnfoldedAndBounded) {
  struct Case {
    std::string header;
    std::string name;
    std::string value;
  } cases[] = {
      {"X-MailID: a\\?b\r\n", "X-MailID", "[a\\?b]"},
      {"X-MailIDs: a\r\nX-MailID: b\r\n", "X-MailID", "[b]"},
      {"Subject: X-MailID: evil\r\n", "X-MailID", "none"},
      {"X-Message-ID:\r\n <m@h>\r\n", "X-Message-ID", "[<m@h>]"},
      {"X-Message-ID:\r\n", "X-Message-ID", "[]"},
      {"A: 1\r\n\r\nX-MailID: body\r\n", "X-MailID", "none"},
      {"X-FolderID: f\\", "X-FolderID", "[f\\]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(shown(lumo::headerFieldValue(c.header, c.name)), c.value) << "input: " << visible(c.header);
  }
}

TEST(ShortcutReaderTest, OverLongOrEmptyTargetValuesAreRefused) {
  std::string header = "X-MailID: " + std::string(256, 'm') + "\r\nX-Message-ID: " + std::string(255, 'i') +
                       "\r\nX-FolderID: " + std::string(512, 'f') + "\r\n";
  lumo::ShortcutTarget t = lumo::readShortcutTarget(header);
  EXPECT_FALSE(t.mailId);
  ASSERT_TRUE(t.messageId);
  EXPECT_EQ(t.messageId->size(), 255u);
  EXPECT_FALSE(t.folderId);
  t = lumo::readShortcutTarget("X-MailID:\r\nX-FolderID: " + std::string(511, 'f') + "\r\n");
  EXPECT_FALSE(t.mailId);
  ASSERT_TRUE(t.folderId);
  EXPECT_EQ(t.folderId->size(), 511u);
}

TEST(ShortcutReaderTest, FallbackIdStaysInsideTheField) {
  struct Case {
    std::string header;
    std::string id;
  } cases[] = {
      {"Content-Type: text/plain; id=\"2711_12\"; charset=\"ISO-2022-JP\"\r\n", "[2711_12]"},
      {"Content-Type: text/plain; id=\"2711_12\"\r\n", "[2711_12]"},
      {"Content-Type: text/plain; id=\"2711_12\r\n", "none"},
      {"Content-Type: text/plain; id=2711_12; x=y\r\n", "none"},
      {"Content-Type: text/plain; id=\"2711_12; charset=x\"\r\n", "none"},
      {"Content-Type: text/plain; id=\"DEL2711_12\"\r\n", "none"},
      {"Content-Type: text/plain; id=\"..\\x\"\r\n", "none"},
      {"Content-Type: text/plain; id=\"ffffffff_123456789012\"\r\n", "[ffffffff_123456789012]"},
      {"Content-Type: text/plain; id=\"ffffffff_1234567890123\"\r\n", "none"},
      {"Content-Type: text/plain;\r\n id=\"2711_12\"\r\n", "[2711_12]"},
      {"Content-Type: text/plain; id=\"\"\r\n", "none"},
      {"Content-Type: text/plain; id=", "none"},
      {"Content-Type: text/plain; id=\"", "none"},
      {"Content-Type: text/plain\r\nX-Other: id=\"1_1\";\r\n", "none"},
      {"Content-Type: text/plain; id=\"" + std::string(30, '1') + "\";\r\n", "none"},
      {"Subject: x\r\n", "none"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(shown(lumo::readFallbackId(c.header)), c.id) << "input: " << visible(c.header);
  }
}

}  // namespace
