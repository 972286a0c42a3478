// Shortcut creation through the substitute host: the command, the pending
// selection, the folder question, the fixed creation folder, retrieval, and
// LumoMakeShortCut with the exact bytes it stores and records.
#include "shortcut/creation.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host-sim/core/cp932.h"
#include "host-sim/core/fixture.h"
#include "host/api/host_api.h"
#include "host/api/module_state.h"
#include "host/api/user_messages.h"
#include "host/entry_points.h"
#include "platform/file.h"
#include "settings/settings_store.h"
#include "shortcut/creation_texts.h"
#include "shortcut/session_state.h"
#include "shortcut/shortcut_source.h"
#include "support/temp_dir.h"

namespace {

namespace text = lumo::creation_text;
using lumo::hostsim::HostFixture;
using lumo::hostsim::MessageBoxRecord;
using lumo::testing::readBytes;
using lumo::testing::TempDir;
using lumo::testing::visible;
using lumo::testing::writeBytes;

const std::string kInbox = "Box.mb\\!!!!Inbox\\";
const std::string kLinks = "Box.mb\\Links\\";
const std::string kFixed = "Box.mb\\Fixed\\";
const std::string kQuiet = "Box.mb\\Quiet\\";  // marked "IgnoreUnread"

constexpr UINT kQuestion = MB_OKCANCEL | MB_TASKMODAL | MB_TOPMOST;
constexpr UINT kNotice = MB_OK | MB_ICONINFORMATION | MB_TASKMODAL | MB_TOPMOST;

// Six header fields and the blank line: H = 7.
std::string targetSource(const std::string& subject, const std::string& messageIdField) {
  return "From: Alice <a@x>\r\nTo: b@x\r\nSubject: " + subject +
         "\r\nDate: Mon, 1 Jan 2024 00:00:00 +0900\r\n" + messageIdField +
         "Content-Type: text/plain\r\n\r\nBody.\r\n";
}

std::string countText(int n) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, text::CountFormat, n);
  return buffer;
}

void resetCreationState() {
  lumo::CreationPending = 0;
  lumo::SelectedTargetId[0] = lumo::PendingSourceFolder[0] = lumo::PendingSubject[0] = '\0';
  lumo::PendingMailList.clear();
  lumo::ShortcutOpened = 0;
}

class CreationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fx.loadLinkedPlugin());
    // The files beside the test program are shared: use our own.
    std::strcpy(lumo::SettingsPath, dir.file("lumo.ini").c_str());
    std::strcpy(lumo::LinkIndexPath, dir.file("lumo.idx").c_str());
    lumo::Settings = lumo::SettingsValues{};
    resetCreationState();
    fx.addFolder(kInbox, "Inbox");
    fx.addFolder(kLinks, "Links");
    fx.addFolder(kFixed, "Fixed");
    fx.store().addFolder(kQuiet, "Quiet", true);
    m1 = fx.addMail(kInbox, targetSource("One", "Message-ID: <1@x>\r\n"));
    m2 = fx.addMail(kInbox, targetSource("Two", "Message-ID: <2@x>\r\n"));
    m3 = fx.addMail(kInbox, targetSource("Three", "Message-ID: <3@x>\r\n"));
    ASSERT_EQ(fx.run("open-folder " + kInbox), "");
  }
  void TearDown() override {
    resetCreationState();
    lumo::platform::clearFaults();
  }

  HWND commandWindow() { return fx.windows().mainWindow(); }
  void answer(const std::string& answers) { ASSERT_EQ(fx.run("answer " + answers), ""); }
  // The command as the host runs it for the menu item.
  void command() { lumo::OnCreateShortcutCommand(commandWindow(), 0); }
  void openFolder(const std::string& folder) { ASSERT_EQ(fx.run("open-folder " + folder), ""); }
  const std::vector<MessageBoxRecord>& boxes() { return fx.windows().messageBoxes(); }
  std::string status() { return fx.host().statusText; }
  std::vector<std::string> mails(const std::string& folder) { return fx.store().mailIds(folder); }
  std::string source(const std::string& mailId) { return fx.store().source(mailId).value_or("(none)"); }
  std::string index() { return readBytes(lumo::LinkIndexPath); }
  std::string settingsFile() { return readBytes(lumo::SettingsPath); }

  // The box at `at` has the plug-in's title and exactly this text, owner and style.
  void expectBox(std::size_t at, HWND owner, const std::string& boxText, UINT style) {
    ASSERT_LT(at, boxes().size());
    const MessageBoxRecord& box = boxes()[at];
    EXPECT_EQ(box.title, "Message from LuMO");
    EXPECT_EQ(lumo::hostsim::cp932ToUtf8(box.text), lumo::hostsim::cp932ToUtf8(boxText));
    EXPECT_EQ(box.owner, owner);
    EXPECT_EQ(box.type, style);
  }

  HostFixture fx;
  TempDir dir;
  std::string m1, m2, m3;
};

// The bytes of the shortcut of inbox mail `key` with the given subject,
// Message-ID and counter (H = 7).
std::string shortcutOf(const std::string& key, const std::string& subject, const std::string& id,
                       const std::string& messageId) {
  std::string at = messageId.substr(0, messageId.find('@') + 1);
  std::string rest = messageId.substr(messageId.find('@') + 1);
  return "X-LuMOID: " + id + "\r\nX-MailID: Box.mb\\!!!!Inbox\\?" + key +
         "\r\nX-FolderID: Box.mb\\!!!!Inbox\\\r\nX-MEMO: OFF\r\nFrom: Alice <a@x>\r\nSubject:-> " + subject +
         "\r\nDate: Mon, 1 Jan 2024 00:00:00 +0900\r\nX-Message-ID: " + messageId + "\r\nMessage-ID: " + at +
         id + ".LuMO." + rest + "\r\nContent-Type: text/plain; id=\"" + id +
         "\"; charset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: 7bit\r\n\r\n" +
         std::string(lumo::kShortcutBody);
}

TEST(CreationTexts, ReadAsTheJapaneseTheyStandFor) {
  using lumo::hostsim::cp932ToUtf8;
  EXPECT_EQ(
      cp932ToUtf8(text::StartQuestion),
      "選択メールのショートカットを作成しますか？\n作成する場合は、OKボタンを押後作成するフォルダを選択してく"
      "ださい。");
  EXPECT_EQ(cp932ToUtf8(text::CancelQuestion), "ショートカットの作成をキャンセルしますか?。");
  EXPECT_EQ(cp932ToUtf8(text::Cancelled), "ショートカットの作成をキャンセルしました。");
  EXPECT_EQ(cp932ToUtf8(text::SelectMail), "ショートカットを作成したいメールを選択してください。");
  EXPECT_EQ(cp932ToUtf8(text::CountFormat), "%d通のメールショートカットが設定されています。");
  EXPECT_EQ(cp932ToUtf8(text::FolderQuestionHead), "選択したフォルダに「");
  EXPECT_EQ(cp932ToUtf8(text::FolderQuestionTail), "」のショートカットを作成します。");
  EXPECT_EQ(cp932ToUtf8(text::Created), "ショートカットを作成しました。");
  EXPECT_EQ(cp932ToUtf8(text::Failed), "ショートカットの作成に失敗しました。");
  EXPECT_EQ(cp932ToUtf8(text::NoSource), "元メールが選択されていません。");
  EXPECT_EQ(std::string(lumo::MessageTitle), "Message from LuMO");
}

// The road of one selected mail: start question, pending state, the source
// folder passed over, the folder question, the notice, the stored shortcut,
// its link line and the written counter.
TEST_F(CreationTest, OneSelectedMailIsCreatedInTheFolderOpenedNext) {
  fx.host().select({m1});
  answer("OK");
  command();
  ASSERT_EQ(boxes().size(), 1u);
  expectBox(0, commandWindow(), text::StartQuestion, kQuestion);
  EXPECT_EQ(lumo::CreationPending, 1);
  EXPECT_EQ(std::string(lumo::SelectedTargetId), m1);
  EXPECT_EQ(lumo::PendingMailList.head, nullptr);
  EXPECT_EQ(std::string(lumo::PendingSourceFolder), kInbox);
  EXPECT_EQ(std::string(lumo::PendingSubject), "One");
  EXPECT_EQ(status(), countText(1));

  openFolder(kInbox);  // the source folder: nothing happens, still pending
  EXPECT_EQ(boxes().size(), 1u);
  EXPECT_EQ(lumo::CreationPending, 1);

  answer("OK OK");  // the question, then the notice
  openFolder(kLinks);
  ASSERT_EQ(boxes().size(), 3u);
  expectBox(1, nullptr, std::string(text::FolderQuestionHead) + "One" + text::FolderQuestionTail, kQuestion);
  expectBox(2, nullptr, text::Created, kNotice);
  EXPECT_EQ(lumo::CreationPending, 0);
  EXPECT_EQ(lumo::SelectedTargetId[0], '\0');
  EXPECT_EQ(lumo::PendingSubject[0], '\0');
  EXPECT_EQ(fx.host().currentMail, m1) << "the target is selected again";

  ASSERT_EQ(mails(kLinks).size(), 1u);
  std::string made = mails(kLinks)[0];
  EXPECT_EQ(visible(source(made)), visible(shortcutOf("00000001", "One", "2711_7", "<1@x>")));
  EXPECT_EQ(visible(index()), visible("2711_7\x01" + kInbox + "\x01?00000001\x01<1@x>\x01" + made + "\r\n"));
  EXPECT_NE(settingsFile().find("Lumo-Count=1\r\n"), std::string::npos) << settingsFile();
  EXPECT_EQ(lumo::Settings.lumoCount, 1);
}

TEST_F(CreationTest, ThreeSelectedMailsWaitInSelectionOrderAndAreAllCreated) {
  fx.host().select({m3, m1, m2});  // the list keeps its own order
  answer("OK");
  command();
  EXPECT_EQ(lumo::SelectedTargetId[0], '\0');
  std::vector<std::string> pending;
  for (const lumo::MimeLine* line = lumo::PendingMailList.head; line; line = line->next)
    pending.emplace_back(line->text, line->length);
  EXPECT_EQ(pending, (std::vector<std::string>{m1, m2, m3}));
  EXPECT_EQ(status(), countText(3));

  answer("OK OK");  // the question, then the notice
  openFolder(kLinks);
  ASSERT_EQ(boxes().size(), 3u);
  expectBox(2, nullptr, text::Created, kNotice);
  auto made = mails(kLinks);
  ASSERT_EQ(made.size(), 3u);
  EXPECT_EQ(source(made[0]), shortcutOf("00000001", "One", "2711_7", "<1@x>"));
  EXPECT_EQ(source(made[1]), shortcutOf("00000002", "Two", "2712_7", "<2@x>"));
  EXPECT_EQ(source(made[2]), shortcutOf("00000003", "Three", "2713_7", "<3@x>"));
  EXPECT_EQ(visible(index()),
            visible("2711_7\x01" + kInbox + "\x01?00000001\x01<1@x>\x01" + made[0] + "\r\n" + "2712_7\x01" +
                    kInbox + "\x01?00000002\x01<2@x>\x01" + made[1] + "\r\n" + "2713_7\x01" + kInbox +
                    "\x01?00000003\x01<3@x>\x01" + made[2] + "\r\n"));
  EXPECT_NE(settingsFile().find("Lumo-Count=3\r\n"), std::string::npos);
  EXPECT_EQ(fx.host().currentMail, m1) << "the first target is selected again";
  EXPECT_EQ(lumo::PendingMailList.head, nullptr);
}

TEST_F(CreationTest, CancelAtTheFolderQuestionKeepsTheCreationPendingForALaterFolder) {
  fx.host().select({m2});
  answer("OK Cancel");
  command();
  openFolder(kLinks);
  EXPECT_EQ(lumo::CreationPending, 1);
  EXPECT_TRUE(mails(kLinks).empty());
  answer("OK OK");
  openFolder(kFixed);
  EXPECT_EQ(mails(kFixed).size(), 1u);
  EXPECT_EQ(lumo::CreationPending, 0);
}

TEST_F(CreationTest, TheCommandWhilePendingOffersToCancel) {
  fx.host().select({m1, m2});
  answer("OK");
  command();

  answer("Cancel");  // keep it
  command();
  expectBox(1, commandWindow(), text::CancelQuestion, kQuestion);
  EXPECT_EQ(lumo::CreationPending, 1);
  EXPECT_NE(lumo::PendingMailList.head, nullptr);

  answer("OK");
  command();
  expectBox(2, commandWindow(), text::CancelQuestion, kQuestion);
  EXPECT_EQ(lumo::CreationPending, 0);
  EXPECT_EQ(lumo::PendingMailList.head, nullptr);
  EXPECT_EQ(lumo::PendingSubject[0], '\0');
  EXPECT_EQ(status(), text::Cancelled);

  openFolder(kLinks);  // nothing pending any more: no question
  EXPECT_EQ(boxes().size(), 3u);
  EXPECT_TRUE(mails(kLinks).empty());
}

TEST_F(CreationTest, CancelAtTheStartQuestionTakesNothing) {
  fx.host().select({m1});
  answer("Cancel");
  command();
  EXPECT_EQ(lumo::CreationPending, 0);
  EXPECT_EQ(lumo::SelectedTargetId[0], '\0');
  EXPECT_EQ(status(), "");
}

TEST_F(CreationTest, MsgStLeavesOutTheStartQuestionAndTheSuccessNotice) {
  lumo::Settings.msgSt = 1;
  fx.host().select({m1});
  command();
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(lumo::CreationPending, 1);
  answer("Cancel");
  command();  // the cancel question still comes
  ASSERT_EQ(boxes().size(), 1u);
  expectBox(0, commandWindow(), text::CancelQuestion, kQuestion);
  answer("OK");
  openFolder(kLinks);  // and so does the folder question
  ASSERT_EQ(boxes().size(), 2u);
  expectBox(1, nullptr, std::string(text::FolderQuestionHead) + "One" + text::FolderQuestionTail, kQuestion);
  EXPECT_EQ(mails(kLinks).size(), 1u);
}

TEST_F(CreationTest, NoSelectedMailIsToldAndCountsZero) {
  answer("OK");
  command();
  ASSERT_EQ(boxes().size(), 2u);
  expectBox(1, nullptr, text::SelectMail, kNotice);
  EXPECT_EQ(lumo::CreationPending, 0);
  EXPECT_EQ(status(), countText(0));
}

// A host whose walk over the selection gives the same position again (here
// fifty times, then the end): the walk stops there instead of taking one
// mail without end.
std::string repeatedMail;
int repeatCalls = 0;
int WINAPI repeatingNextMail(int /*start*/, LPSTR mailId, int size, BOOL /*selectedOnly*/) {
  if (++repeatCalls > 50) return -1;
  std::snprintf(mailId, static_cast<std::size_t>(size), "%s", repeatedMail.c_str());
  return 0;
}

TEST_F(CreationTest, AHostGivingAPositionAgainEndsTheWalk) {
  auto original = lumo::HostApi.BKA_GetNextMail;
  repeatedMail = m1;
  repeatCalls = 0;
  lumo::HostApi.BKA_GetNextMail = repeatingNextMail;
  answer("OK");
  command();
  lumo::HostApi.BKA_GetNextMail = original;
  EXPECT_STREQ(lumo::SelectedTargetId, m1.c_str());
  EXPECT_EQ(lumo::PendingMailList.head, nullptr);
  EXPECT_EQ(status(), countText(1));
}

TEST_F(CreationTest, NothingIsTakenInAMailboxThatIsNoFolder) {
  openFolder("Box.mb\\");
  answer("OK");
  command();
  EXPECT_EQ(boxes().size(), 1u);
  EXPECT_EQ(lumo::CreationPending, 0);
  EXPECT_EQ(status(), "");
}

// A current folder id longer than the source folder buffer is never cut:
// the cut id would not match the folder, and opening it again would make
// the shortcuts in the folder they came from. The user is told that the
// creation failed. 256 bytes are one too many; 255 fit.
TEST_F(CreationTest, AFolderWhoseIdDoesNotFitIsRefusedAndTold) {
  std::string tooLong = "Box.mb\\" + std::string(248, 'f') + "\\";
  std::string longest = "Box.mb\\" + std::string(247, 'f') + "\\";
  ASSERT_EQ(tooLong.size(), 256u);
  for (const std::string& folder : {tooLong, longest}) {
    ASSERT_TRUE(fx.store().addFolder(folder, "Long"));
    fx.addMail(folder, targetSource("Long", "Message-ID: <l@x>\r\n"));
  }
  openFolder(tooLong);
  fx.host().select({fx.store().mailIds(tooLong).at(0)});
  answer("OK OK");
  command();
  EXPECT_EQ(lumo::CreationPending, 0);
  ASSERT_EQ(boxes().size(), 2u);
  expectBox(1, nullptr, text::Failed, kNotice);
  EXPECT_EQ(status(), "");

  openFolder(longest);
  fx.host().select({fx.store().mailIds(longest).at(0)});
  answer("OK");
  command();
  EXPECT_EQ(lumo::CreationPending, 1);
  EXPECT_EQ(boxes().size(), 3u);
}

TEST_F(CreationTest, TheFixedFolderGetsTheShortcutsAtOnce) {
  lumo::Settings.setFolder = 1;
  std::strcpy(lumo::Settings.setScPath, kFixed.c_str());
  fx.host().select({m1, m3});
  answer("OK");
  command();
  EXPECT_EQ(boxes().size(), 1u);
  EXPECT_EQ(lumo::CreationPending, 0);
  EXPECT_EQ(lumo::PendingSubject[0], '\0');
  EXPECT_EQ(status(), countText(2));
  auto made = mails(kFixed);
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(source(made[1]), shortcutOf("00000003", "Three", "2712_7", "<3@x>"));
  openFolder(kLinks);  // nothing is left pending
  EXPECT_EQ(boxes().size(), 1u);
}

// Every failure in the fixed folder is told, and the count in the status bar
// is of the shortcuts made, never of the failed ones.
TEST_F(CreationTest, AFailedCreationInTheFixedFolderIsToldAndNotCounted) {
  lumo::Settings.setFolder = 1;
  std::strcpy(lumo::Settings.setScPath, "Box.mb\\Gone\\");
  fx.host().select({m1, m2});
  answer("OK");
  command();
  ASSERT_EQ(boxes().size(), 3u);
  expectBox(1, nullptr, text::Failed, kNotice);
  expectBox(2, nullptr, text::Failed, kNotice);
  EXPECT_EQ(status(), countText(0));
  EXPECT_EQ(lumo::CreationPending, 0);
}

TEST_F(CreationTest, AFixedFolderWithoutPathWaitsLikeNoFixedFolder) {
  lumo::Settings.setFolder = 1;
  fx.host().select({m1});
  answer("OK");
  command();
  EXPECT_EQ(lumo::CreationPending, 1);
  EXPECT_EQ(std::string(lumo::SelectedTargetId), m1);
}

// Three pending mails of which one is gone by then: the other two are made,
// and the user is told of the failure rather than of success.
TEST_F(CreationTest, APartlyFailedPendingCreationIsReportedAsAFailure) {
  fx.host().select({m1, m2, m3});
  answer("OK");
  command();
  ASSERT_TRUE(fx.store().remove(m2));
  answer("OK OK");  // the question, then the notice
  openFolder(kLinks);
  ASSERT_EQ(boxes().size(), 3u);
  expectBox(2, nullptr, text::Failed, kNotice);
  EXPECT_EQ(mails(kLinks).size(), 2u);
  EXPECT_EQ(lumo::CreationPending, 0);
}

TEST_F(CreationTest, CreatePendingInFolderWithNothingPending) {
  EXPECT_EQ(lumo::CreatePendingInFolder(kLinks.c_str()), 0);
  ASSERT_EQ(boxes().size(), 1u);
  expectBox(0, nullptr, text::NoSource, kNotice);
  // The folder the last selection came from is passed over without a word.
  std::strcpy(lumo::PendingSourceFolder, kLinks.c_str());
  EXPECT_EQ(lumo::CreatePendingInFolder(kLinks.c_str()), 0);
  EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(CreationTest, OpeningAFolderWithNothingPendingForgetsTheOpenedShortcut) {
  lumo::ShortcutOpened = 1;
  openFolder(kLinks);
  EXPECT_EQ(lumo::ShortcutOpened, 0);
  EXPECT_TRUE(boxes().empty());
}

// A subject the host cuts at 255 bytes inside a two-byte character loses that
// character's first byte, which would swallow the closing bracket.
TEST_F(CreationTest, ASubjectCutInsideACharacterKeepsWholeCharacters) {
  std::string subject;
  for (int i = 0; i < 150; ++i) subject += "\x82\xa0";  // "あ"
  std::string id = fx.addMail(kInbox, targetSource(subject, "Message-ID: <s@x>\r\n"));
  fx.host().select({id});
  answer("OK");
  command();
  EXPECT_EQ(std::string(lumo::PendingSubject), subject.substr(0, 254));
}

// --- Retrieval ---

class RetrievalTest : public CreationTest {
 protected:
  void SetUp() override {
    CreationTest::SetUp();
    lumo::Settings.retFolder = 1;
    std::strcpy(lumo::Settings.retScPath, kLinks.c_str());
  }
  void retrieve(const std::string& folder) { ASSERT_EQ(fx.run("retrieve " + folder + " <r@x> New"), ""); }
};

TEST_F(RetrievalTest, EveryRetrievedMailGetsAShortcutSilently) {
  retrieve(kInbox);
  auto made = mails(kLinks);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_NE(source(made[0]).find("X-MailID: " + kInbox + "?00000004\r\n"), std::string::npos);
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(status(), "");
}

TEST_F(RetrievalTest, IgnoreUnreadFoldersAreSkippedOnlyWithTheCheck) {
  lumo::Settings.creScMailCheck = 1;
  retrieve(kQuiet);
  EXPECT_TRUE(mails(kLinks).empty());
  retrieve(kInbox);  // no "IgnoreUnread" there
  EXPECT_EQ(mails(kLinks).size(), 1u);
  lumo::Settings.creScMailCheck = 0;
  retrieve(kQuiet);
  EXPECT_EQ(mails(kLinks).size(), 2u);
}

TEST_F(RetrievalTest, AFolderWithoutSettingsFileIsNotIgnored) {
  lumo::Settings.creScMailCheck = 1;
  std::filesystem::remove(fx.store().folderPath(kInbox) / "Folder.ini");
  retrieve(kInbox);
  EXPECT_EQ(mails(kLinks).size(), 1u);
}

TEST_F(RetrievalTest, NothingIsMadeWithoutTheRetrievalFolder) {
  lumo::Settings.retFolder = 0;
  retrieve(kInbox);
  lumo::Settings.retFolder = 1;
  lumo::Settings.retScPath[0] = '\0';
  retrieve(kInbox);
  EXPECT_TRUE(mails(kLinks).empty());
}

// A host that names no data folder gives no path to the folder's settings:
// the creation fails, silently as on every retrieval.
const char* WINAPI noDataFolder() { return nullptr; }

TEST_F(RetrievalTest, NoDataFolderMakesNoShortcut) {
  lumo::Settings.creScMailCheck = 1;
  auto saved = lumo::HostApi.BKA_GetDataFolder;
  lumo::HostApi.BKA_GetDataFolder = noDataFolder;
  int result = lumo::OnRetrieve(nullptr, m1.c_str());
  lumo::HostApi.BKA_GetDataFolder = saved;
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(mails(kLinks).empty());
  EXPECT_TRUE(boxes().empty());
}

// A mail id that climbs out of the data folder is never made a path: no file
// is opened for it (the armed read fault is still there afterwards).
TEST_F(RetrievalTest, AMailIdLeadingOutOfTheStoreOpensNoFile) {
  lumo::Settings.creScMailCheck = 1;
  writeBytes(dir.file("probe"), "x");
  for (const char* id : {"..\\..\\etc\\?1", "Box.mb\\..\\..\\?1"}) {
    lumo::platform::failStep(lumo::platform::FileStep::OpenRead);
    EXPECT_EQ(lumo::OnRetrieve(nullptr, id), 0);
    std::string content;
    EXPECT_EQ(lumo::platform::readFile(dir.file("probe").c_str(), content),
              lumo::platform::ReadStatus::Failed)
        << id << ": a file was read";
    lumo::platform::clearFaults();
  }
  EXPECT_TRUE(mails(kLinks).empty());
}

// --- LumoMakeShortCut ---

using MakeShortCutTest = CreationTest;

TEST_F(MakeShortCutTest, RefusesUnknownFoldersAndMails) {
  EXPECT_EQ(lumo::LumoMakeShortCut(m1.c_str(), "Box.mb\\Gone\\"), 0);
  EXPECT_EQ(lumo::LumoMakeShortCut((kInbox + "?0000FFFF").c_str(), kLinks.c_str()), 0);
  EXPECT_EQ(lumo::LumoMakeShortCut(nullptr, kLinks.c_str()), 0);
  EXPECT_EQ(lumo::LumoMakeShortCut(m1.c_str(), nullptr), 0);
  EXPECT_TRUE(mails(kLinks).empty());
  EXPECT_EQ(lumo::Settings.lumoCount, 0);
  EXPECT_FALSE(std::filesystem::exists(lumo::LinkIndexPath));
}

TEST_F(MakeShortCutTest, ATargetWithoutMessageIdHasAnEmptyOneInItsLinkLine) {
  std::string id = fx.addMail(kInbox, targetSource("Plain", ""));
  ASSERT_EQ(lumo::LumoMakeShortCut(id.c_str(), kLinks.c_str()), 1);
  std::string made = mails(kLinks).at(0);
  EXPECT_EQ(
      visible(source(made)),
      visible("X-LuMOID: 2711_6\r\nX-MailID: " + id + "\r\nX-FolderID: " + kInbox +
              "\r\nX-MEMO: OFF\r\nFrom: Alice <a@x>\r\nSubject:-> Plain\r\nDate: Mon, 1 Jan 2024 00:00:00 "
              "+0900\r\nContent-Type: text/plain; id=\"2711_6\"; charset=\"ISO-2022-JP\"\r\n"
              "Content-Transfer-Encoding: 7bit\r\n\r\n" +
              std::string(lumo::kShortcutBody)));
  // Without a Message-ID the new mail cannot be looked up: no location.
  EXPECT_EQ(visible(index()), visible("2711_6\x01" + kInbox + "\x01?00000004\x01\x01\r\n"));
}

TEST_F(MakeShortCutTest, TheLastOfSeveralMessageIdsIsRecordedAndLooksTheShortcutUp) {
  std::string id =
      fx.addMail(kInbox, targetSource("Twice", "Message-ID: <old@x>\r\nMessage-ID: <new@y>\r\n"));
  ASSERT_EQ(lumo::LumoMakeShortCut(id.c_str(), kLinks.c_str()), 1);
  std::string made = mails(kLinks).at(0);
  EXPECT_NE(source(made).find(
                "X-Message-ID: <old@x>\r\nX-Message-ID: <new@y>\r\nMessage-ID: <new@2711_8.LuMO.y>\r\n"),
            std::string::npos)
      << visible(source(made));
  EXPECT_EQ(visible(index()),
            visible("2711_8\x01" + kInbox + "\x01?00000004\x01<new@y>\x01" + made + "\r\n"));
}

// A settings file that was lost starts the counter again: the ids the link
// index holds are passed over, and the counter written is the one used.
TEST_F(MakeShortCutTest, IdsTheLinkIndexHoldsAreNeverGivenAgain) {
  writeBytes(lumo::LinkIndexPath,
             "2711_7\x01" + kInbox + "\x01?00000001\x01<1@x>\x01\r\n" +      // counter 1, same H
                 "2712_3\x01" + kInbox + "\x01?00000002\x01<2@x>\x01\r\n" +  // counter 2, other H
                 "2714_9\r\n");                                              // counter 4, a line cut short
  ASSERT_EQ(lumo::LumoMakeShortCut(m3.c_str(), kLinks.c_str()), 1);
  EXPECT_EQ(lumo::Settings.lumoCount, 3);
  ASSERT_EQ(lumo::LumoMakeShortCut(m3.c_str(), kLinks.c_str()), 1);
  EXPECT_EQ(lumo::Settings.lumoCount, 5);
  auto made = mails(kLinks);
  ASSERT_EQ(made.size(), 2u);
  EXPECT_NE(source(made[0]).find("X-LuMOID: 2713_7\r\n"), std::string::npos);
  EXPECT_NE(source(made[1]).find("X-LuMOID: 2715_7\r\n"), std::string::npos);
  EXPECT_NE(settingsFile().find("Lumo-Count=5\r\n"), std::string::npos);
}

TEST_F(MakeShortCutTest, AnUnreadableLinkIndexMakesNothing) {
  std::filesystem::create_directory(lumo::LinkIndexPath);
  EXPECT_EQ(lumo::LumoMakeShortCut(m1.c_str(), kLinks.c_str()), 0);
  EXPECT_TRUE(mails(kLinks).empty());
}

// Lines far longer than a 512-byte composing buffer come out whole: a long
// subject with its tag, a Message-ID folded with a long run of blanks (kept
// whole in its "X-" copy; the new Message-ID is written from its unfolded
// value, the same text the link index searches for), and a mail id of the
// longest kind (255 bytes).
TEST_F(MakeShortCutTest, LongHeaderLinesAreComposedWhole) {
  std::string folder = "Box.mb\\" + std::string(238, 'f') + "\\";
  ASSERT_TRUE(fx.store().addFolder(folder, "Long"));
  std::string subject(1500, 's');
  std::string messageIdField = "Message-ID:\r\n" + std::string(600, ' ') + "<long@x>\r\n";
  std::string id = fx.addMail(folder, targetSource(subject, messageIdField));
  ASSERT_EQ(id.size(), 255u);
  std::strcpy(lumo::Settings.scTag, std::string(31, 't').c_str());
  ASSERT_EQ(lumo::LumoMakeShortCut(id.c_str(), kLinks.c_str()), 1);
  std::string made = source(mails(kLinks).at(0));
  EXPECT_NE(made.find("\r\nSubject:" + std::string(31, 't') + " " + subject + "\r\n"), std::string::npos);
  EXPECT_NE(made.find("\r\nX-Message-ID:\r\n" + std::string(600, ' ') + "<long@x>\r\n"), std::string::npos);
  EXPECT_NE(made.find("\r\nMessage-ID: <long@2711_7.LuMO.x>\r\n"), std::string::npos);
  EXPECT_NE(made.find("X-MailID: " + id + "\r\nX-FolderID: " + folder + "\r\n"), std::string::npos);
  EXPECT_NE(index().find("\x01<long@x>\x01" + mails(kLinks).at(0) + "\r\n"), std::string::npos);
}

// A Message-ID too long for a link index line: nothing is handed to the host,
// since the shortcut could not be recorded.
TEST_F(MakeShortCutTest, ATargetThatCannotBeRecordedGetsNoShortcut) {
  std::string id =
      fx.addMail(kInbox, targetSource("Big", "Message-ID: <" + std::string(500, 'm') + "@x>\r\n"));
  EXPECT_EQ(lumo::LumoMakeShortCut(id.c_str(), kLinks.c_str()), 0);
  EXPECT_TRUE(mails(kLinks).empty());
  EXPECT_EQ(settingsFile().find("Lumo-Count"), std::string::npos);
}

TEST_F(MakeShortCutTest, ACounterThatCannotBeWrittenMakesNothing) {
  std::filesystem::create_directory(lumo::SettingsPath);
  EXPECT_EQ(lumo::LumoMakeShortCut(m1.c_str(), kLinks.c_str()), 0);
  EXPECT_TRUE(mails(kLinks).empty());
  EXPECT_EQ(index(), "");
}

// A Message-ID whose shortcut Message-ID would not fit an id (256 bytes) gives
// no shortcut at all: one without its Message-ID could never be looked up,
// and its link would be dropped by the first cleanup. One byte less, and the
// shortcut carries the whole field and its link the location.
TEST_F(MakeShortCutTest, EveryShortcutCarriesItsMessageIdAndALocatedLinkOrNoneIsMade) {
  std::string fits = "<" + std::string(239, 'm') + "@x>";  // 243 bytes: 255 with "2711_7" and ".LuMO."
  std::string tooLong = "<" + std::string(240, 'm') + "@x>";
  std::string refused = fx.addMail(kInbox, targetSource("Long", "Message-ID: " + tooLong + "\r\n"));
  EXPECT_EQ(lumo::LumoMakeShortCut(refused.c_str(), kLinks.c_str()), 0);
  EXPECT_TRUE(mails(kLinks).empty());
  EXPECT_EQ(index(), "");
  EXPECT_EQ(settingsFile().find("Lumo-Count"), std::string::npos);

  std::string made = fx.addMail(kInbox, targetSource("Long", "Message-ID: " + fits + "\r\n"));
  ASSERT_EQ(lumo::LumoMakeShortCut(made.c_str(), kLinks.c_str()), 1);
  std::string shortcut = mails(kLinks).at(0);
  std::string own = "<" + std::string(239, 'm') + "@2712_7.LuMO.x>";
  EXPECT_NE(source(shortcut).find("\r\nMessage-ID: " + own + "\r\n"), std::string::npos);
  EXPECT_NE(index().find("\x01" + fits + "\x01" + shortcut + "\r\n"), std::string::npos) << visible(index());
}

// A link line that cannot be appended to the link index makes the creation a
// failure (0), though the mail was handed to the host and counted.
TEST_F(MakeShortCutTest, ALinkLineThatCannotBeAppendedIsAFailureAfterTheMailWasCounted) {
  lumo::platform::failStep(lumo::platform::FileStep::OpenAppend);
  EXPECT_EQ(lumo::LumoMakeShortCut(m1.c_str(), kLinks.c_str()), 0);
  EXPECT_EQ(mails(kLinks).size(), 1u);
  EXPECT_NE(settingsFile().find("Lumo-Count=1\r\n"), std::string::npos);
  EXPECT_EQ(index(), "");
}

// A shortcut location that would make the link line longer than the index
// takes is left out: the link is recorded all the same, without a location.
TEST_F(MakeShortCutTest, ALocationTooLongForTheLinkLineIsLeftOut) {
  std::string far = "Box.mb\\" + std::string(240, 'd') + "\\";
  ASSERT_TRUE(fx.store().addFolder(far, "Far"));
  std::string messageId = "<" + std::string(215, 'm') + "@x>";
  std::string id = fx.addMail(kInbox, targetSource("Far", "Message-ID: " + messageId + "\r\n"));
  ASSERT_EQ(lumo::LumoMakeShortCut(id.c_str(), far.c_str()), 1);
  ASSERT_EQ(mails(far).size(), 1u);
  EXPECT_EQ(visible(index()), visible("2711_7\x01" + kInbox + "\x01?00000004\x01" + messageId + "\x01\r\n"));
}

// Host stand-ins swapped into the function table for single cases.
LPSTR WINAPI headerForAnyId(LPCSTR) {
  const char header[] = "Subject: x\r\nMessage-ID: <n@x>\r\n\r\n";
  auto* block = static_cast<char*>(lumo::HostApi.BKA_Alloc(sizeof header));
  std::memcpy(block, header, sizeof header);
  return block;
}
BOOL WINAPI refuseAppend(LPCSTR, LPCSTR) { return FALSE; }
decltype(lumo::HostApi.BKA_AppendMessage) hostAppend = nullptr;
BOOL WINAPI storeButAnswerFailure(LPCSTR folderId, LPCSTR message) {
  hostAppend(folderId, message);
  return FALSE;
}

// A mail id without "\\" has no folder: nothing is made, and the number it
// took stays used in memory but is not written.
TEST_F(MakeShortCutTest, AMailIdWithoutBackslashUsesUpANumberInMemoryOnly) {
  auto saved = lumo::HostApi.BKA_GetHeader;
  lumo::HostApi.BKA_GetHeader = headerForAnyId;
  int result = lumo::LumoMakeShortCut("Box.mb?00000001", kLinks.c_str());
  lumo::HostApi.BKA_GetHeader = saved;
  EXPECT_EQ(result, 0);
  EXPECT_EQ(lumo::Settings.lumoCount, 1);
  EXPECT_EQ(settingsFile(), "");
  EXPECT_TRUE(mails(kLinks).empty());
  ASSERT_EQ(lumo::LumoMakeShortCut(m1.c_str(), kLinks.c_str()), 1);
  EXPECT_NE(source(mails(kLinks).at(0)).find("X-LuMOID: 2712_7\r\n"), std::string::npos);
}

// The host's answer to the append says nothing: the look-up does. A mail
// stored under a "failed" answer is recorded with its location; one the host
// dropped is counted and recorded without a location, as when the look-up
// finds nothing.
TEST_F(MakeShortCutTest, TheAppendAnswerIsNotExaminedTheLookUpDecidesTheLocation) {
  auto saved = lumo::HostApi.BKA_AppendMessage;
  hostAppend = saved;
  lumo::HostApi.BKA_AppendMessage = storeButAnswerFailure;
  int stored = lumo::LumoMakeShortCut(m1.c_str(), kLinks.c_str());
  lumo::HostApi.BKA_AppendMessage = refuseAppend;
  int dropped = lumo::LumoMakeShortCut(m2.c_str(), kLinks.c_str());
  lumo::HostApi.BKA_AppendMessage = saved;
  EXPECT_EQ(stored, 1);
  EXPECT_EQ(dropped, 1);
  ASSERT_EQ(mails(kLinks).size(), 1u);
  EXPECT_EQ(visible(index()),
            visible("2711_7\x01" + kInbox + "\x01?00000001\x01<1@x>\x01" + mails(kLinks)[0] +
                    "\r\n2712_7\x01" + kInbox + "\x01?00000002\x01<2@x>\x01\r\n"));
  EXPECT_NE(settingsFile().find("Lumo-Count=2\r\n"), std::string::npos);
}

// The export other software calls reaches the same creation.
TEST_F(MakeShortCutTest, TheExportCreatesTheSame) {
  ASSERT_EQ(::LumoMakeShortCut(m2.c_str(), kLinks.c_str()), 1);
  EXPECT_EQ(source(mails(kLinks).at(0)), shortcutOf("00000002", "Two", "2711_7", "<2@x>"));
}

}  // namespace
