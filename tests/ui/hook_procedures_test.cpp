// The plug-in's window hooks installed by BKC_OnStart on the substitute
// host's windows (in memory, Linux): commands posted to and sent to the main
// window, and double-clicks in the mail list, as a user causes them.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "linkindex/link_record.h"
#include "platform/file.h"
#include "ui/hook_texts.h"
#include "ui/plugin_on_host.h"

namespace lumo {
namespace {

using testing::readBytes;

class HookProcedures : public testing::PluginOnHost {
 protected:
  std::string target, other, shortcut;

  void SetUp() override {
    PluginOnHost::SetUp();
    target = fx.addMail(inbox, fx.mailSource("Target", "<t1@example.com>"));
    other = fx.addMail(inbox, fx.mailSource("Other", "<o1@example.com>"));
    shortcut = fx.addMail(links, shortcutSource("2711_12", target, "<t1@2711_12.LuMO.example.com>"));
    ASSERT_NE(GetMessageHook, nullptr);
    ASSERT_NE(ListCallWndProcHook, nullptr);
  }

  static std::string shortcutSource(const std::string& id, const std::string& targetId,
                                    const std::string& messageId, const std::string& extra = "") {
    std::string folder = targetId.substr(0, targetId.rfind('\\') + 1);
    return "From: sender@example.com\r\nSubject: ->Target\r\nMessage-ID: " + messageId +
           "\r\nX-LuMOID: " + id + "\r\nX-MailID: " + targetId + "\r\nX-FolderID: " + folder + "\r\n" +
           extra + "\r\nShortcut.\r\n";
  }
  static void addLink(const std::string& id, const std::string& targetId, const std::string& messageId,
                      const std::string& location) {
    LinkRecord record;
    std::string folder = targetId.substr(0, targetId.rfind('\\') + 1);
    ASSERT_EQ(
        record.setFields(id.c_str(), folder.c_str(), targetId.c_str(), messageId.c_str(), location.c_str()),
        1);
    ASSERT_EQ(record.appendTo(LinkIndexPath), 1);
  }
  static std::string linkIndex() { return readBytes(LinkIndexPath); }

  // The host's view as after the user opened a mail (no plug-in call).
  void view(const std::string& mailId) {
    host().currentFolder = mailId.substr(0, mailId.find('?'));
    host().currentMail = mailId;
    host().selection = {mailId};
  }
  int editModeCommands() {
    int n = 0;
    for (const std::string& c : host().commandLog) n += c == "EditMode";
    return n;
  }
};

// --- Direct editing of a shortcut ---

TEST_F(HookProcedures, APostedDirectEditOfAShortcutIsRefusedOnceWithTheStopBox) {
  ShortcutOpened = 1;
  run("answer OK\npost 108");
  ASSERT_EQ(boxes(), 1u);
  const hostsim::MessageBoxRecord& box = lastBox();
  EXPECT_EQ(box.title, "Message from LuMO");
  EXPECT_EQ(box.text, hook_text::EditRefused);
  EXPECT_EQ(box.type, 0x42010u);
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(editModeCommands(), 1);
  // "EditMode" is the host's own direct-edit command: the one command the
  // refusal lets pass. It switches the view back, so the user's command and
  // the host's leave it read-only, and the count is spent.
  EXPECT_TRUE(fx.windows().editorReadOnly());
  EXPECT_EQ(EditRefusalCount, 0);
  // The user's next attempt is refused again, once.
  run("answer OK\npost 108");
  EXPECT_EQ(boxes(), 2u);
  EXPECT_EQ(editModeCommands(), 2);
  EXPECT_TRUE(fx.windows().editorReadOnly());
}

TEST_F(HookProcedures, CommandsLeftToPassAfterARefusalPassUnrefused) {
  ShortcutOpened = 1;
  EditRefusalCount = 2;  // as opening a shortcut in edit mode leaves it
  run("post 108");
  EXPECT_EQ(EditRefusalCount, 1);
  run("post 40001\npost 40001");
  EXPECT_EQ(EditRefusalCount, 0);
  EXPECT_EQ(boxes(), 0u);
  run("answer OK\npost 108");
  EXPECT_EQ(boxes(), 1u);
}

TEST_F(HookProcedures, ACommandOnlyLookedAtIsNeitherRefusedNorCounted) {
  ShortcutOpened = 1;
  run("answer OK\npeek-post 108");  // looked at first, then taken: one refusal
  EXPECT_EQ(boxes(), 1u);
  EditRefusalCount = 2;
  run("peek-post 40001");  // only the taking lowers the count
  EXPECT_EQ(EditRefusalCount, 1);
}

TEST_F(HookProcedures, ASentDirectEditOfAShortcutIsRefusedWhateverTheCount) {
  ShortcutOpened = 1;
  EditRefusalCount = 2;
  run("answer OK\nsend 108");
  ASSERT_EQ(boxes(), 1u);
  EXPECT_EQ(lastBox().text, hook_text::EditRefused);
  EXPECT_EQ(editModeCommands(), 1);
  EXPECT_EQ(EditRefusalCount, 0);  // set to 1, spent by the host's own command
  EXPECT_TRUE(fx.windows().editorReadOnly());
}

TEST_F(HookProcedures, DirectEditOfAnOrdinaryMailPassesBothHooks) {
  run("post 108");
  EXPECT_FALSE(fx.windows().editorReadOnly());  // the host made its view editable
  run("send 108");
  EXPECT_TRUE(fx.windows().editorReadOnly());
  EXPECT_EQ(boxes(), 0u);
  EXPECT_EQ(editModeCommands(), 0);
}

// --- Deleting shortcuts ---

TEST_F(HookProcedures, DeletingThreeMailsOfWhichOneIsAShortcutRemovesItsLineAndCountsThree) {
  addLink("2711_12", target, "<t1@example.com>", shortcut);
  addLink("2712_12", other, "<o1@example.com>", "");
  fx.addMail(links, fx.mailSource("Plain", "<p1@example.com>"));
  fx.addMail(links, fx.mailSource("Plain 2", "<p2@example.com>"));
  run("open-folder " + links + "\nselect @1 @2 @3\npost 32836");
  std::string index = linkIndex();
  EXPECT_EQ(index.find("2711_12"), std::string::npos) << index;
  EXPECT_NE(index.find("2712_12\x01"), std::string::npos) << index;
  EXPECT_EQ(host().statusText,
            "3\x82\xcc\x83\x81\x81\x5b\x83\x8b\x83\x56\x83\x87\x81\x5b\x83\x67\x83\x4a\x83\x62\x83\x67"
            "\x8f\xee\x95\xf1\x82\xf0\x8d\xed\x8f\x9c\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42");
  EXPECT_EQ(fx.store().source(shortcut), std::nullopt);  // the host deleted them too
}

TEST_F(HookProcedures, ASentDeleteRemovesTheLinksToo) {
  addLink("2711_12", target, "<t1@example.com>", shortcut);
  run("open-folder " + links + "\nselect @1\nsend 32836");
  EXPECT_EQ(linkIndex(), "");
  EXPECT_EQ(host().statusText.substr(0, 1), "1");
}

TEST_F(HookProcedures, DeletingWithNothingSelectedShowsNothingAndKeepsTheIndex) {
  addLink("2711_12", target, "<t1@example.com>", shortcut);
  std::string before = linkIndex();
  run("open-folder " + links);
  host().statusText = "unchanged";
  run("post 32836");
  EXPECT_EQ(host().statusText, "unchanged");
  EXPECT_EQ(linkIndex(), before);
}

TEST_F(HookProcedures, OnlyTheLineOfTheDeletedShortcutsOwnIdGoes) {
  // "2711_1" is a prefix of "2711_12": deleting the first must keep the second.
  addLink("2711_12", target, "<t1@example.com>", shortcut);
  std::string shorter = fx.addMail(links, shortcutSource("2711_1", other, "<o1@2711_1.LuMO.example.com>"));
  addLink("2711_1", other, "<o1@example.com>", shorter);
  // A shortcut marked deleted lost its line when it was marked.
  std::string marked = fx.addMail(links, shortcutSource("DEL2711_12", target, "<x@example.com>"));
  run("open-folder " + links + "\nselect " + shorter + " " + marked + "\npost 32836");
  std::string index = linkIndex();
  EXPECT_EQ(index.find("2711_1\x01"), std::string::npos) << index;
  EXPECT_NE(index.find("2711_12\x01"), std::string::npos) << index;
  EXPECT_EQ(host().statusText.substr(0, 1), "2");
}

// Any mail can carry a shortcut id: one that only mentions it (in its
// subject), or one with the field but not the Message-ID the link gave its
// shortcut, is not that link's shortcut, and its deletion keeps the line.
TEST_F(HookProcedures, OnlyTheLinksOwnShortcutMailTakesItsLineAlong) {
  addLink("2711_12", target, "<t1@example.com>", shortcut);
  const std::string before = linkIndex();
  std::string mentions = fx.addMail(links, fx.mailSource("About X-LuMOID: 2711_12", "<p1@example.com>"));
  std::string forged = fx.addMail(links, shortcutSource("2711_12", target, "<forged@example.com>"));
  run("open-folder " + links + "\nselect " + mentions + " " + forged + "\npost 32836");
  EXPECT_EQ(linkIndex(), before);
  EXPECT_EQ(host().statusText.substr(0, 1), "2");
  // A whole copy of the shortcut mail, while the mail the line names is
  // still the shortcut, is not the link's either.
  std::string copy = fx.addMail(links, shortcutSource("2711_12", target, "<t1@2711_12.LuMO.example.com>"));
  run("select " + copy + "\npost 32836");
  EXPECT_EQ(linkIndex(), before);
  run("select " + shortcut + "\npost 32836");
  EXPECT_EQ(linkIndex(), "");
}

// The hook runs on the thread of the host's windows: deleting many
// shortcuts at once rewrites the index once, not once per shortcut.
TEST_F(HookProcedures, DeletingManyShortcutsRewritesTheIndexOnce) {
  addLink("2711_12", target, "<t1@example.com>", shortcut);
  std::string second = fx.addMail(links, shortcutSource("2712_12", other, "<o1@2712_12.LuMO.example.com>"));
  addLink("2712_12", other, "<o1@example.com>", second);
  std::string third = fx.addMail(links, shortcutSource("2713_12", other, "<o1@2713_12.LuMO.example.com>"));
  addLink("2713_12", other, "<o1@example.com>", third);
  addLink("2714_12", other, "<o1@example.com>", "");
  platform::recordSteps();
  run("open-folder " + links + "\nselect " + shortcut + " " + second + " " + third + "\npost 32836");
  const std::vector<platform::FileStep>& steps = platform::recordedSteps();
  EXPECT_EQ(std::count(steps.begin(), steps.end(), platform::FileStep::Rename), 1);
  platform::clearFaults();
  EXPECT_EQ(linkIndex().find("2711_12"), std::string::npos);
  EXPECT_EQ(linkIndex().find("2712_12"), std::string::npos);
  EXPECT_EQ(linkIndex().find("2713_12"), std::string::npos);
  EXPECT_NE(linkIndex().find("2714_12"), std::string::npos);
}

// --- Double-clicks in the mail list ---

TEST_F(HookProcedures, WithRealMailOnTheFirstDoubleClickOnAShortcutJumpsAndTheSecondOnlyRearms) {
  run("open-mail " + shortcut);  // the target shows in the shortcut's place
  ASSERT_EQ(ShortcutOpened, 1);
  ASSERT_STREQ(SelectedTargetId, target.c_str());
  run("dblclick");
  EXPECT_EQ(host().currentMail, target);
  EXPECT_EQ(DoubleClickArmed, 0);
  run("open-mail " + shortcut + "\ndblclick");
  EXPECT_EQ(host().currentMail, shortcut);
  EXPECT_EQ(DoubleClickArmed, 1);
  run("dblclick");
  EXPECT_EQ(host().currentMail, target);
}

TEST_F(HookProcedures, InAFolderThePlugInDoesNotActOnNoDoubleClickCounts) {
  ShortcutOpened = 1;
  std::strcpy(SelectedTargetId, target.c_str());
  host().currentFolder = "Box.mb\\";  // a mailbox alone
  host().currentMail = shortcut;
  host().selection = {shortcut};
  run("dblclick\ndblclick");
  EXPECT_EQ(host().currentMail, shortcut);
  EXPECT_EQ(DoubleClickArmed, 1);
  view(shortcut);
  run("dblclick");  // still armed: this one acts
  EXPECT_EQ(host().currentMail, target);
}

TEST_F(HookProcedures, ADoubleClickWithNoMailSelectedNeitherJumpsNorCounts) {
  ShortcutOpened = 1;
  std::strcpy(SelectedTargetId, target.c_str());
  view(shortcut);
  host().selection.clear();  // the user double-clicked the list's empty space
  run("dblclick\ndblclick");
  EXPECT_EQ(host().currentMail, shortcut);
  EXPECT_EQ(DoubleClickArmed, 1);
  host().selection = {shortcut};
  run("dblclick");  // the pairs of notifications stay in step: this one acts
  EXPECT_EQ(host().currentMail, target);
}

TEST_F(HookProcedures, WithRealMailOnADoubleClickOnTheTargetGoesBackToItsShortcut) {
  addLink("2711_12", target, "<t1@example.com>", shortcut);
  std::string upper = target;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::strcpy(SelectedTargetId, upper.c_str());  // compared without regard to case
  view(target);
  run("dblclick");
  EXPECT_EQ(host().currentMail, shortcut);
}

TEST_F(HookProcedures, TheWayBackFindsAShortcutMovedIntoAFolderAndRecordsWhereItIs) {
  addLink("2711_12", target, "<t1@example.com>", links);  // only the folder is known
  std::strcpy(SelectedTargetId, target.c_str());
  view(target);
  run("dblclick");
  EXPECT_EQ(host().currentMail, shortcut);
  LinkRecord record;
  ASSERT_EQ(record.findIn(LinkIndexPath, "2711_12", LinkFindKind::ByShortcutId), 1);
  EXPECT_STREQ(record.shortcutLocation(), shortcut.c_str());
}

TEST_F(HookProcedures, TheWayBackFallsBackToTheMailIdForATargetWithoutMessageId) {
  std::string bare = fx.addMail(inbox, "From: a@example.com\r\nSubject: Bare\r\n\r\nNo id.\r\n");
  addLink("2713_3", bare, "", shortcut);
  std::strcpy(SelectedTargetId, bare.c_str());
  view(bare);
  run("dblclick");
  EXPECT_EQ(host().currentMail, shortcut);
}

TEST_F(HookProcedures, AClearStatusKeepsTheDoubleClickOnTheTargetWhereItIs) {
  std::string cleared = fx.addMail(inbox,
                                   "From: a@example.com\r\nMessage-ID: <c1@example.com>\r\nX-B2-Status: "
                                   "0123456789abcdef00000000\r\n\r\nx\r\n");
  addLink("2714_4", cleared, "<c1@example.com>", shortcut);
  std::strcpy(SelectedTargetId, cleared.c_str());
  view(cleared);
  run("dblclick");
  EXPECT_EQ(host().currentMail, cleared);
}

TEST_F(HookProcedures, WithRealMailOffOnlyAShortcutWithAClearStatusJumps) {
  Settings.realMail = 0;
  ShortcutOpened = 1;
  std::strcpy(SelectedTargetId, target.c_str());
  view(shortcut);
  run("dblclick");
  EXPECT_EQ(host().currentMail, shortcut);
  std::string cleared = fx.addMail(links, shortcutSource("2715_5", target, "<t1@2715_5.LuMO.example.com>",
                                                         "X-B2-Status: 0123456789abcdef00000000\r\n"));
  view(cleared);
  run("dblclick\ndblclick");  // the first only re-arms
  EXPECT_EQ(host().currentMail, target);
}

TEST_F(HookProcedures, TheHooksGoWithExit) {
  run("exit");
  EXPECT_EQ(GetMessageHook, nullptr);
  EXPECT_EQ(CallWndProcHook, nullptr);
  EXPECT_EQ(ListCallWndProcHook, nullptr);
  ShortcutOpened = 1;
  run("post 108");
  EXPECT_EQ(boxes(), 0u);
  run("start");  // for TearDown
}

}  // namespace
}  // namespace lumo
