// Opening shortcut mails through the substitute host: the target where it
// was recorded, moved within its folder, to another folder and to another
// mailbox, gone; a deleted shortcut and its restore; the MEMO display; the
// mail view check; every question with its exact text, title and buttons.
#include "resolve/open_mail.h"

#include <algorithm>

#include "host-sim/core/cp932.h"
#include "support/shortcut_fixture.h"

namespace lumo {
namespace {

using hostsim::utf8ToCp932;
using testing::visible;

constexpr UINT kQuestion = MB_OKCANCEL | MB_TASKMODAL | MB_TOPMOST;

// The texts as the user reads them, converted here independently of the
// plug-in's own bytes.
const std::string kRestore = utf8ToCp932("このショートカットは、既に削除された物です。復元しますか？");
const std::string kRepair = utf8ToCp932("元メールのリンクが切れてしまったようです。自動修復しますか？");
const std::string kDelete = utf8ToCp932("ショートカットを削除しますか？");
const std::string kNotFoundDelete =
    utf8ToCp932("元リンクを探すことができませんでした。ショートカットを削除しますか？");

const std::string kWrapper = "------[00EXX2000X09X28BB-MULTIPART-MIXED]\r\n";
const std::string kWrapperEnd = "------[00EXX2000X09X28BB-MULTIPART-MIXED]--\r\n";
const std::string kWrapperType =
    "Content-Type: multipart/mixed; boundary=\"----[00EXX2000X09X28BB-MULTIPART-MIXED]\"\r\n";
const std::string kPreamble = "This is a multi-part message in MIME format.\r\n";

std::string memoPart(const std::string& memo) {
  return "Content-Type:text/plain;charset=\"ISO-2022-JP\"; name=\"MEMO.txt\"\r\n"
         "Content-Transfer-Encoding:7bit\r\n"
         "Content-Disposition: inline; filename=\"MEMO.txt\"\r\n\r\n" +
         memo + "\r\n";
}

struct OpenShortcut : testing::ShortcutFixture {
  std::string target, shortcut;
  const std::string messageId = "<t1@example.com>";

  void SetUp() override {
    ShortcutFixture::SetUp();
    target = addTarget(inbox, messageId);
    fx.addMail(inbox, hostsim::HostFixture::mailSource("Other", "<o@example.com>"));
    shortcut = addShortcut(target, links);
  }

  std::string line(const std::string& mailId, const std::string& location) {
    return made.shortcutId + "\x01" + inbox + "\x01" +
           (mailId.rfind(inbox, 0) == 0 ? mailId.substr(inbox.size()) : mailId) + "\x01" + messageId +
           "\x01" + location + "\r\n";
  }
  const std::vector<hostsim::MessageBoxRecord>& boxes() { return fx.windows().messageBoxes(); }
  void expectBox(std::size_t index, const std::string& text, const std::string& caption) {
    ASSERT_GT(boxes().size(), index);
    const hostsim::MessageBoxRecord& box = boxes()[index];
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.title, caption);
    EXPECT_EQ(box.type, kQuestion) << "OK and Cancel, no icon, task-modal and topmost";
    EXPECT_EQ(box.owner, nullptr);
  }
  bool issued(const std::string& command) {
    const auto& log = host().commandLog;
    return std::find(log.begin(), log.end(), command) != log.end();
  }
  void setHeader(const std::string& mailId, const std::string& name, const std::string& value) {
    ASSERT_TRUE(fx.store().setSource(mailId, hostsim::withHeader(source(mailId), name, value)));
  }
  std::string moveTarget(const std::string& folder) { return fx.store().transfer(target, folder, false); }
  // ShowTargetWithMemo called while the host shows the shortcut itself.
  int showWithMemoOf(const std::string& shortcutId, const std::string& targetId) {
    host().shownText = source(shortcutId);
    return ShowTargetWithMemo(targetId.c_str());
  }
};

TEST_F(OpenShortcut, TargetWhereRecordedIsShownMarkedAndKeptInTheIndex) {
  const std::string shortcutSource = source(shortcut);
  run("open-mail " + shortcut);
  EXPECT_EQ(visible(host().shownText), visible(source(target)));
  EXPECT_TRUE(issued("SetRead"));
  EXPECT_TRUE(fx.store().entry(target)->read) << "the target's own index line is marked";
  EXPECT_EQ(ShortcutOpened, 1);
  EXPECT_EQ(MemoOpened, 0);
  EXPECT_STREQ(SelectedTargetId, target.c_str());
  EXPECT_EQ(visible(linkIndex()), visible(line(target, shortcut)));
  EXPECT_EQ(source(shortcut), shortcutSource);
  EXPECT_TRUE(boxes().empty());
  EXPECT_FALSE(issued("EditMode")) << "the view was not being edited";
}

TEST_F(OpenShortcut, TheIndexLineIsBroughtInStepOrAddedAgain) {
  testing::writeBytes(LinkIndexPath, "1_1\x01x\\\x01?1\x01<x@y>\x01\r\n" + line(inbox + "?00000009", ""));
  run("open-mail " + shortcut);
  EXPECT_EQ(visible(linkIndex()), visible("1_1\x01x\\\x01?1\x01<x@y>\x01\r\n" + line(target, shortcut)));
  testing::writeBytes(LinkIndexPath, "");
  run("open-mail " + shortcut);
  EXPECT_EQ(visible(linkIndex()), visible(line(target, shortcut)));
}

TEST_F(OpenShortcut, TargetMovedWithinItsFolderIsFoundThereWithoutAQuestion) {
  moveTarget(work);
  std::string moved = fx.store().transfer(work + "?00000001", inbox, false);
  ASSERT_EQ(moved, inbox + "?00000003");
  run("open-mail " + shortcut);
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(header(shortcut, "X-MailID"), moved);
  EXPECT_EQ(header(shortcut, "X-FolderID"), inbox);
  EXPECT_EQ(visible(linkIndex()), visible(line(moved, shortcut)));
  EXPECT_EQ(visible(host().shownText), visible(source(moved)));
  EXPECT_STREQ(SelectedTargetId, moved.c_str());
  // A repaired link is shown without "SetRead" and without the index mark.
  EXPECT_FALSE(issued("SetRead"));
  EXPECT_FALSE(fx.store().entry(moved)->read);
}

// The recorded mail id now names another mail (the target moved and its
// key went to a new mail): that mail's source lacks the target's
// Message-ID, so it is not shown; the target is found again in its folder.
TEST_F(OpenShortcut, ARecordedMailIdThatNamesAnotherMailIsRepairedNotShown) {
  ASSERT_TRUE(fx.store().setSource(target, hostsim::HostFixture::mailSource("Stranger", "<s@example.com>")));
  std::string moved = addTarget(inbox, messageId);
  run("open-mail " + shortcut);
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(visible(host().shownText), visible(source(moved)));
  EXPECT_EQ(header(shortcut, "X-MailID"), moved);
  EXPECT_EQ(visible(linkIndex()), visible(line(moved, shortcut)));
  EXPECT_FALSE(issued("SetRead"));
  EXPECT_FALSE(fx.store().entry(target)->read) << "the other mail is not marked";
}

TEST_F(OpenShortcut, TargetMovedToAnotherFolderIsFoundByTheMailboxSearchAfterConsent) {
  std::string moved = moveTarget(work);
  run("answer OK\nopen-mail " + shortcut);
  ASSERT_EQ(boxes().size(), 1u);
  expectBox(0, kRepair, "Message-ID ERROR");
  EXPECT_EQ(header(shortcut, "X-MailID"), moved);
  EXPECT_EQ(header(shortcut, "X-FolderID"), inbox) << "the folder id keeps the recorded folder";
  EXPECT_EQ(visible(linkIndex()), visible(line(moved, shortcut)));
  EXPECT_EQ(visible(host().shownText), visible(source(moved)));
  // The search showed the folders it read in the status bar.
  const auto& status = host().statusLog;
  EXPECT_NE(std::find(status.begin(), status.end(), fx.store().displayName(work)), status.end());

  // Repaired: the next open finds the target where now recorded.
  host().commandLog.clear();
  run("open-mail " + shortcut);
  EXPECT_EQ(boxes().size(), 1u);
  EXPECT_EQ(visible(host().shownText), visible(source(moved)));
  EXPECT_TRUE(issued("SetRead"));
}

TEST_F(OpenShortcut, TargetMovedToAnotherMailboxIsFoundThere) {
  fx.addFolder("Other.mb\\Archive\\", "Archive");
  std::string moved = moveTarget("Other.mb\\Archive\\");
  run("answer OK\nopen-mail " + shortcut);
  expectBox(0, kRepair, "Message-ID ERROR");
  EXPECT_EQ(header(shortcut, "X-MailID"), moved);
  EXPECT_EQ(visible(host().shownText), visible(source(moved)));
  EXPECT_EQ(visible(linkIndex()), visible(line(moved, shortcut)));
}

TEST_F(OpenShortcut, DecliningTheRepairAsksToDeleteAndCancelKeepsEverything) {
  moveTarget(work);
  const std::string before = source(shortcut), index = linkIndex();
  run("answer Cancel Cancel\nopen-mail " + shortcut);
  ASSERT_EQ(boxes().size(), 2u);
  expectBox(0, kRepair, "Message-ID ERROR");
  expectBox(1, kDelete, "Message From LuMO");
  EXPECT_EQ(source(shortcut), before);
  EXPECT_EQ(linkIndex(), index);
  EXPECT_EQ(fx.store().mailIds(links).size(), 1u);
}

// The folder index still lists the target, but its source is gone: the host
// gives no header, so no search takes that line (its Message-ID is not
// known to be the mail's own), and the mailbox-wide search finds nothing.
TEST_F(OpenShortcut, TargetListedButUnreadableLeadsToTheDeleteQuestion) {
  std::filesystem::remove(fx.store().folderPath(inbox) / "00000001.eml");
  const std::string before = source(shortcut);
  run("answer OK Cancel\nopen-mail " + shortcut);
  ASSERT_EQ(boxes().size(), 2u);
  expectBox(0, kRepair, "Message-ID ERROR");
  expectBox(1, kNotFoundDelete, "Message From LuMO");
  EXPECT_EQ(source(shortcut), before);
  EXPECT_EQ(visible(linkIndex()), visible(line(target, shortcut)));
}

TEST_F(OpenShortcut, ShortcutWhoseTargetIsGoneIsMarkedUnlinkedAndMovedToTheTrash) {
  ASSERT_TRUE(fx.store().remove(target));
  run("answer OK OK\nopen-mail " + shortcut);
  ASSERT_EQ(boxes().size(), 2u);
  expectBox(0, kRepair, "Message-ID ERROR");
  expectBox(1, kNotFoundDelete, "Message From LuMO");
  EXPECT_TRUE(fx.store().mailIds(links).empty());
  ASSERT_EQ(fx.store().mailIds(trash).size(), 1u);
  std::string trashed = fx.store().mailIds(trash)[0];
  EXPECT_EQ(header(trashed, "X-LuMOID"), "DEL" + made.shortcutId);
  EXPECT_EQ(linkIndex(), "") << "the link's line is gone";

  // Opened in the trash folder it is left alone.
  run("open-mail " + trashed);
  EXPECT_EQ(boxes().size(), 2u);
}

TEST_F(OpenShortcut, DeletedShortcutIsRestoredWithItsIndexLine) {
  setHeader(shortcut, "X-LuMOID", "DEL" + made.shortcutId);
  testing::writeBytes(LinkIndexPath, "");
  run("answer OK\nopen-mail " + shortcut);
  ASSERT_EQ(boxes().size(), 1u);
  expectBox(0, kRestore, "Message-ID ERROR");
  EXPECT_EQ(header(shortcut, "X-LuMOID"), made.shortcutId);
  EXPECT_EQ(source(shortcut), made.source) << "back to the source as made";
  EXPECT_EQ(visible(linkIndex()), visible(line(target, shortcut)));
  EXPECT_EQ(visible(host().shownText), visible(source(target)));
}

TEST_F(OpenShortcut, KeepingAShortcutDeletedChangesNothingAndLeavesTheViewAlone) {
  setHeader(shortcut, "X-LuMOID", "DEL" + made.shortcutId);
  setHeader(shortcut, "X-MEMO", "ON");
  testing::writeBytes(LinkIndexPath, "");
  const std::string before = source(shortcut);
  run("answer Cancel\nopen-mail " + shortcut);
  fx.windows().setEditorReadOnly(false);  // the user chose Edit
  run("answer Cancel");
  EXPECT_EQ(OnOpenMail(shortcut.c_str()), 0);
  expectBox(1, kRestore, "Message-ID ERROR");
  EXPECT_EQ(source(shortcut), before);
  EXPECT_EQ(linkIndex(), "");
  EXPECT_EQ(ShortcutOpened, 1);
  EXPECT_EQ(MemoOpened, 1);
  EXPECT_FALSE(issued("EditMode"));
  EXPECT_EQ(host().shownText, before) << "the shortcut itself stays on view";
}

TEST_F(OpenShortcut, ATrashFolderMailIsNeverResolved) {
  setHeader(shortcut, "X-LuMOID", "DEL" + made.shortcutId);
  std::string trashed = fx.store().transfer(shortcut, trash, false);
  testing::writeBytes(LinkIndexPath, "");
  ShortcutOpened = 7;
  run("open-mail " + trashed);
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(ShortcutOpened, 7);
  EXPECT_EQ(linkIndex(), "");
}

TEST_F(OpenShortcut, MemoIsShownAsAnExtraPartWhenXMemoIsOnInAnyCase) {
  std::string note = "remember\r\nthis";
  std::string withMemo = addShortcut(target, links, 2, "\r\n[MEMO]\r\n" + note);
  const std::string expected = "From: a@example.com\r\nSubject: Target\r\nMessage-ID: <t1@example.com>\r\n" +
                               kWrapperType + "\r\n" + kPreamble + kWrapper +
                               "Content-Type: text/plain; charset=\"US-ASCII\"\r\n\r\nHi.\r\n" + kWrapper +
                               memoPart(note) + kWrapperEnd;
  for (const char* on : {"ON", "on", "On"}) {
    setHeader(withMemo, "X-MEMO", on);
    run("open-mail " + withMemo);
    EXPECT_EQ(MemoOpened, 1) << on;
    EXPECT_EQ(visible(host().shownText), visible(expected)) << on;
  }
  for (const char* off : {"OFF", "ONE", ""}) {
    setHeader(withMemo, "X-MEMO", off);
    run("open-mail " + withMemo);
    EXPECT_EQ(MemoOpened, 0) << off;
    EXPECT_EQ(visible(host().shownText), visible(source(target))) << off;
  }
}

TEST_F(OpenShortcut, MemoOnWithoutMarkerShowsThePlainTarget) {
  setHeader(shortcut, "X-MEMO", "ON");
  run("open-mail " + shortcut);
  EXPECT_EQ(MemoOpened, 1);
  EXPECT_EQ(visible(host().shownText), visible(source(target)));
  EXPECT_EQ(showWithMemoOf(shortcut, target), 0);
}

// A target of one part without a Content-Type field: the wrapper's
// Content-Type goes where the target's would end, before the empty line,
// and the inner part keeps only the empty line and the body (text/plain by
// default).
TEST_F(OpenShortcut, TargetWithoutContentTypeGetsTheWrapperTypeBeforeItsEmptyLine) {
  std::string plain =
      fx.addMail(inbox, "From: b@example.com\r\nMessage-ID: <p@example.com>\r\n\r\nBody.\r\n");
  std::string withMemo = addShortcut(plain, links, 3, "\r\n[MEMO]\r\nnote");
  setHeader(withMemo, "X-MEMO", "ON");
  run("open-mail " + withMemo);
  EXPECT_EQ(visible(host().shownText),
            visible("From: b@example.com\r\nMessage-ID: <p@example.com>\r\n" + kWrapperType + "\r\n" +
                    kPreamble + kWrapper + "\r\nBody.\r\n" + kWrapper + memoPart("note") + kWrapperEnd));
}

TEST_F(OpenShortcut, MultipartTargetTakesTheMemoUnderItsOwnBoundaryUnlessItHasNoPart) {
  const std::string head =
      "Message-ID: <mp@example.com>\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n\r\n";
  std::string multipart = fx.addMail(inbox, head + "--b\r\n\r\npart\r\n--b--\r\n");
  std::string withMemo = addShortcut(multipart, links, 4, "\r\n[MEMO]\r\nm");
  setHeader(withMemo, "X-MEMO", "ON");
  run("open-mail " + withMemo);
  EXPECT_EQ(visible(host().shownText),
            visible(head + "--b\r\n\r\npart\r\n--b\r\n" + memoPart("m") + "--b--\r\n"));
  EXPECT_EQ(showWithMemoOf(withMemo, multipart), 1);

  std::string empty =
      fx.addMail(inbox,
                 "Message-ID: <mp2@example.com>\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n"
                 "\r\npreamble only\r\n");
  std::string emptyShortcut = addShortcut(empty, links, 5, "\r\n[MEMO]\r\nm");
  setHeader(emptyShortcut, "X-MEMO", "ON");
  run("open-mail " + emptyShortcut);
  EXPECT_EQ(visible(host().shownText), visible(source(empty)));
  EXPECT_EQ(showWithMemoOf(emptyShortcut, empty), 0);
}

TEST_F(OpenShortcut, APendingCreationKeepsItsSelectedTarget) {
  CreationPending = 1;
  std::strcpy(SelectedTargetId, "Box.mb\\Work\\?00000009");
  run("open-mail " + shortcut);
  EXPECT_STREQ(SelectedTargetId, "Box.mb\\Work\\?00000009");
  CreationPending = 0;
  moveTarget(work);
  run("answer OK\nopen-mail " + shortcut);
  EXPECT_STREQ(SelectedTargetId, header(shortcut, "X-MailID").c_str());
}

TEST_F(OpenShortcut, TargetWithoutMessageIdIsShownWheneverItsMailIdGivesASource) {
  std::string bare = fx.addMail(inbox, "From: c@example.com\r\n\r\nNo id.\r\n");
  std::string bareShortcut = addShortcut(bare, links, 6);
  EXPECT_EQ(header(bareShortcut, "X-Message-ID"), "");
  run("open-mail " + bareShortcut);
  EXPECT_EQ(visible(host().shownText), visible(source(bare)));
  EXPECT_TRUE(boxes().empty());
  EXPECT_FALSE(fx.store().entry(bare)->read) << "no Message-ID marks no index line";
}

TEST_F(OpenShortcut, EmptyTargetMailIdEndsQuietly) {
  setHeader(shortcut, "X-MailID", "");
  run("open-mail " + shortcut);
  fx.windows().setEditorReadOnly(false);
  EXPECT_EQ(OnOpenMail(shortcut.c_str()), 0);
  EXPECT_TRUE(boxes().empty());
  EXPECT_FALSE(issued("EditMode"));
  EXPECT_EQ(ShortcutOpened, 1);
}

TEST_F(OpenShortcut, AnEditedMailViewIsTakenOutOfEditMode) {
  run("open-mail " + shortcut);
  EXPECT_FALSE(issued("EditMode"));
  EXPECT_EQ(MailViewEditor, fx.windows().viewEditor()) << "found by walking the main window's children";
  fx.windows().setEditorReadOnly(false);  // the user chose Edit
  EXPECT_EQ(OnOpenMail(shortcut.c_str()), 0);
  EXPECT_TRUE(issued("EditMode"));
  EXPECT_EQ(EditRefusalCount, 2);
  EXPECT_TRUE(fx.windows().editorReadOnly());
}

// Any mail can carry a shortcut id: one that only mentions the field (in its
// subject) is no shortcut, and one with the field but another Message-ID
// than the link gave its shortcut (a forged or resent mail) is shown as a
// shortcut but neither rewrites, repairs nor removes that link's line.
TEST_F(OpenShortcut, OnlyTheLinksOwnShortcutMailWritesItsLine) {
  run("open-mail " + shortcut);
  const std::string index = linkIndex();
  std::string mentions = fx.addMail(
      links, hostsim::HostFixture::mailSource("About X-LuMOID: " + made.shortcutId, "<m@example.com>"));
  run("open-mail " + mentions);
  EXPECT_EQ(ShortcutOpened, 0);
  EXPECT_EQ(visible(linkIndex()), visible(index));
  std::string forged =
      fx.addMail(inbox, hostsim::withHeader(source(shortcut), "Message-ID", "<forged@example.com>"));
  run("open-mail " + forged);
  EXPECT_EQ(ShortcutOpened, 1);
  EXPECT_EQ(visible(host().shownText), visible(source(target)));
  EXPECT_EQ(visible(linkIndex()), visible(index));
  ASSERT_TRUE(fx.store().remove(target));
  run("answer OK OK\nopen-mail " + forged);
  EXPECT_EQ(boxes().size(), 2u) << "repair, then delete";
  EXPECT_EQ(visible(linkIndex()), visible(index));
}

TEST_F(OpenShortcut, OrdinaryMailsAndUnknownIdsLeaveTheLinksAlone) {
  run("open-mail " + shortcut);
  const std::string index = linkIndex();
  run("open-mail " + inbox + "?00000002");
  EXPECT_EQ(ShortcutOpened, 0);
  EXPECT_EQ(OnOpenMail("Box.mb\\Links\\?00000077"), 0) << "no header text";
  EXPECT_EQ(OnOpenMail(nullptr), 0);
  EXPECT_EQ(ShortcutOpened, 0);
  EXPECT_EQ(linkIndex(), index);
  EXPECT_TRUE(boxes().empty());
}

}  // namespace
}  // namespace lumo
