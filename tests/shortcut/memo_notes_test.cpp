// The MEMO commands through the substitute host: every transition of a note
// (added, edited, kept, hidden, shown again, deleted) with the exact stored
// source and the exact shown text, the dialog's limits and both message boxes.
#include "shortcut/memo_notes.h"

#include "host-sim/core/cp932.h"
#include "support/shortcut_fixture.h"

namespace lumo {
namespace {

using testing::visible;

const std::string kWrapper = "------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\n";

struct MemoNotes : testing::ShortcutFixture {
  std::string target, shortcut;
  void SetUp() override {
    ShortcutFixture::SetUp();
    target = addTarget(inbox, "<t1@example.com>");
    shortcut = addShortcut(target, links);
    run("open-mail " + shortcut);
  }
  HWND main() { return fx.windows().mainWindow(); }
  // The source as made, with "X-MEMO" set to `memo` and `tail` after the body.
  std::string madeWith(const std::string& memo, const std::string& tail = "") {
    return hostsim::withHeader(made.source, "X-MEMO", memo) + tail;
  }
  // Runs the MEMO command with these dialog actions queued.
  INT_PTR editMemo(const std::string& actions) {
    run(actions);
    EditMemo(main(), 0);
    EXPECT_TRUE(fx.windows().takeErrors().empty());
    EXPECT_EQ(fx.windows().pendingDialogActions(), 0u);
    return fx.windows().dialogs().back().result;
  }
  // What the host shows for the shortcut with the note `note`.
  std::string shownWith(const std::string& note) {
    return "From: a@example.com\r\nSubject: Target\r\nMessage-ID: <t1@example.com>\r\n"
           "Content-Type: multipart/mixed; boundary=\"----[00EXX2000X09X28BB-MULTIPART-MIXED]\"\r\n\r\n"
           "This is a multi-part message in MIME format.\r\n" +
           kWrapper + "Content-Type: text/plain; charset=\"US-ASCII\"\r\n\r\nHi.\r\n" + kWrapper +
           "Content-Type:text/plain;charset=\"ISO-2022-JP\"; name=\"MEMO.txt\"\r\n"
           "Content-Transfer-Encoding:7bit\r\n"
           "Content-Disposition: inline; filename=\"MEMO.txt\"\r\n\r\n" +
           note + "\r\n------[00EXX2000X09X28BB-MULTIPART-MIXED]--\r\n";
  }
  void expectDeleteQuestion(const hostsim::MessageBoxRecord& box) {
    EXPECT_EQ(box.text,
              hostsim::utf8ToCp932(
                  "メールのMEMOを完全に削除しますか？\n(非表示にするだけの場合は、「キャンセル」)"));
    EXPECT_EQ(box.title, "Message from LuMO");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION | MB_TASKMODAL | MB_TOPMOST));
    EXPECT_EQ(box.owner, main());
  }
};

TEST_F(MemoNotes, AddedNoteFollowsTheBodyAndIsShownAsMemoPart) {
  EXPECT_EQ(editMemo("dialog expect-text 1004 \"\"\ndialog text 1004 \"note\\r\\nline 2\"\ndialog ok"), IDOK);
  EXPECT_EQ(visible(source(shortcut)), visible(madeWith("ON", "\r\n[MEMO]\r\nnote\r\nline 2")));
  // Selected again, the shortcut is opened anew and shows the note.
  EXPECT_EQ(host().currentMail, shortcut);
  EXPECT_EQ(MemoOpened, 1);
  EXPECT_EQ(visible(host().shownText), visible(shownWith("note\r\nline 2")));
  EXPECT_EQ(fx.windows().dialogs().back().templateId, 102);
}

TEST_F(MemoNotes, EditedNoteReplacesAllAfterTheFirstMarker) {
  ASSERT_TRUE(fx.store().setSource(shortcut, madeWith("ON", "\r\n[MEMO]\r\nold\r\n[MEMO]\r\ninner")));
  run("open-mail " + shortcut);
  EXPECT_EQ(
      editMemo("dialog expect-text 1004 \"old\\r\\n[MEMO]\\r\\ninner\"\ndialog text 1004 new\ndialog ok"),
      IDOK);
  EXPECT_EQ(visible(source(shortcut)), visible(madeWith("ON", "\r\n[MEMO]\r\nnew")));
  EXPECT_EQ(visible(host().shownText), visible(shownWith("new")));
}

TEST_F(MemoNotes, EmptiedEditorAndCancelKeepTheNote) {
  const std::string stored = madeWith("ON", "\r\n[MEMO]\r\nkeep me");
  ASSERT_TRUE(fx.store().setSource(shortcut, stored));
  run("open-mail " + shortcut);
  EXPECT_EQ(editMemo("dialog text 1004 \"\"\ndialog ok"), IDOK);
  EXPECT_EQ(source(shortcut), stored);
  EXPECT_EQ(editMemo("dialog text 1004 changed\ndialog cancel"), IDCANCEL);
  EXPECT_EQ(source(shortcut), stored);
  EXPECT_EQ(visible(host().shownText), visible(shownWith("keep me")));
}

TEST_F(MemoNotes, HiddenNoteStaysInTheSourceAndComesBackFromTheDialog) {
  ASSERT_TRUE(fx.store().setSource(shortcut, madeWith("ON", "\r\n[MEMO]\r\nsecret")));
  run("open-mail " + shortcut);
  run("answer Cancel");
  DeleteMemo(main(), 0);
  ASSERT_EQ(fx.windows().messageBoxes().size(), 1u);
  expectDeleteQuestion(fx.windows().messageBoxes()[0]);
  EXPECT_EQ(visible(source(shortcut)), visible(madeWith("OFF", "\r\n[MEMO]\r\nsecret")));
  EXPECT_EQ(MemoOpened, 0);
  EXPECT_EQ(visible(host().shownText), visible(source(target))) << "shown without the note";

  // The dialog finds the hidden note; OK shows it again.
  EXPECT_EQ(editMemo("dialog expect-text 1004 secret\ndialog ok"), IDOK);
  EXPECT_EQ(visible(source(shortcut)), visible(madeWith("ON", "\r\n[MEMO]\r\nsecret")));
  EXPECT_EQ(visible(host().shownText), visible(shownWith("secret")));
}

TEST_F(MemoNotes, DeletedNoteLeavesTheDefaultBodyOnly) {
  ASSERT_TRUE(fx.store().setSource(shortcut, madeWith("ON", "\r\n[MEMO]\r\ngone\r\n\r\ntoo")));
  run("open-mail " + shortcut);
  run("answer OK");
  DeleteMemo(main(), 0);
  expectDeleteQuestion(fx.windows().messageBoxes().back());
  EXPECT_EQ(visible(source(shortcut)), visible(made.source)) << "the source as made, X-MEMO OFF";
  EXPECT_EQ(visible(host().shownText), visible(source(target)));
}

TEST_F(MemoNotes, ASourceWithoutEmptyLineCannotLoseItsNote) {
  const std::string broken = "X-LuMOID: 2711_9\r\nX-MEMO: ON\r\n[MEMO]\r\nn";
  ASSERT_TRUE(fx.store().setSource(shortcut, broken));
  run("answer OK");
  DeleteMemo(main(), 0);
  ASSERT_EQ(fx.windows().messageBoxes().size(), 2u);
  const hostsim::MessageBoxRecord& box = fx.windows().messageBoxes()[1];
  EXPECT_EQ(box.text, hostsim::utf8ToCp932("削除に失敗しました！！"));
  EXPECT_EQ(box.title, "Message from LuMO");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONSTOP | MB_TASKMODAL | MB_TOPMOST));
  EXPECT_EQ(box.owner, main());
  EXPECT_EQ(source(shortcut), broken);
  EXPECT_EQ(host().currentMail, shortcut) << "selected again all the same";
}

// MemoOpened says a note is shown, but the source holds none (changed
// behind the view): the typed note is stored as a new one, not dropped.
TEST_F(MemoNotes, TypedTextIsNeverDropped) {
  MemoOpened = 1;
  EXPECT_EQ(editMemo("dialog text 1004 typed\ndialog ok"), IDOK);
  EXPECT_EQ(visible(source(shortcut)), visible(madeWith("ON", "\r\n[MEMO]\r\ntyped")));
}

TEST_F(MemoNotes, TheEditorIsReadUpTo63999BytesAndJapaneseIsKept) {
  EXPECT_EQ(editMemo("dialog text 1004 \"" + std::string(70000, 'x') + "\"\ndialog ok"), IDOK);
  EXPECT_EQ(source(shortcut), madeWith("ON", "\r\n[MEMO]\r\n" + std::string(63999, 'x')));
  EXPECT_EQ(editMemo("dialog text 1004 \"会議の\\r\\nメモ\"\ndialog ok"), IDOK);
  EXPECT_EQ(source(shortcut), madeWith("ON", "\r\n[MEMO]\r\n" + hostsim::utf8ToCp932("会議の\r\nメモ")));
}

}  // namespace
}  // namespace lumo
