// From a mail to its shortcut through the link index, inside the substitute
// host: the key taken from the current mail, a recorded location that still
// holds the shortcut, one that moved within its folder, and the not-found box.
#include "ui/find_shortcut.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host-sim/core/cp932.h"
#include "host-sim/core/fixture.h"
#include "host/api/host_api.h"
#include "host/api/module_state.h"
#include "linkindex/link_record.h"
#include "support/temp_dir.h"

namespace {

using lumo::LinkRecord;
using lumo::hostsim::HostFixture;
using lumo::testing::readBytes;

constexpr char ShortcutId[] = "2711_5";
const std::string Inbox = "Sample.mb\\!!!!Inbox\\";
const std::string Links = "Sample.mb\\Links\\";

class FindShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fx.loadLinkedPlugin());
    index = dir.file("lumo.idx");
    std::strcpy(lumo::LinkIndexPath, index.c_str());
    fx.addFolder(Inbox, "Inbox");
    fx.addFolder(Links, "Links");
    target = fx.addMail(Inbox, HostFixture::mailSource("Plan", "<plan@example.com>"));
    // The shortcut carries the target's Message-ID with its own id put in.
    shortcut = fx.addMail(Links, HostFixture::mailSource("->Plan", "<plan@2711_5.LuMO.example.com>"));
    owner = fx.windows().mainWindow();
  }

  void record(const std::string& targetMailId, const char* messageId, const std::string& location) {
    LinkRecord r;
    ASSERT_EQ(r.setFields(ShortcutId, Inbox.c_str(), targetMailId.c_str(), messageId, location.c_str()), 1);
    ASSERT_EQ(r.appendTo(index.c_str()), 1);
  }
  std::string recordedLocation() {
    LinkRecord r;
    if (!r.findIn(index.c_str(), ShortcutId, lumo::LinkFindKind::ByShortcutId)) return "(no line)";
    return r.shortcutLocation() ? r.shortcutLocation() : "";
  }
  void view(const std::string& mailId) {
    fx.host().currentMail = mailId;
    fx.host().selection = {mailId};
  }
  void expectNotFoundBox() {
    ASSERT_EQ(fx.windows().messageBoxes().size(), 1u);
    const auto& box = fx.windows().messageBoxes().back();
    EXPECT_EQ(lumo::hostsim::cp932ToUtf8(box.text), "選択メールのショートカットは、存在しないと思われます。");
    EXPECT_EQ(box.title, "Message from LuMO");
    EXPECT_EQ(box.type, 0x42010u);  // OK, stop icon, task-modal, topmost
    EXPECT_EQ(box.owner, owner);
  }

  HostFixture fx;
  lumo::testing::TempDir dir;
  std::string index, target, shortcut;
  HWND owner = nullptr;
};

TEST_F(FindShortcutTest, TheRecordedShortcutIsSelected) {
  record(target, "<plan@example.com>", shortcut);
  view(target);
  lumo::FindShortcutOfSelected(owner, 0);
  EXPECT_EQ(fx.host().currentMail, shortcut);
  EXPECT_TRUE(fx.windows().messageBoxes().empty());
}

// Copies of one mail share its Message-ID (a mail that came by a list and
// directly, a copy kept in another folder), and each may have a shortcut:
// the copy in view finds its own, whatever line comes first.
TEST_F(FindShortcutTest, ACopySharingTheMessageIdFindsItsOwnShortcut) {
  std::string copy = fx.addMail(Inbox, HostFixture::mailSource("Plan", "<plan@example.com>"));
  std::string copyShortcut =
      fx.addMail(Links, HostFixture::mailSource("->Plan", "<plan@2711_4.LuMO.example.com>"));
  LinkRecord first;
  ASSERT_EQ(
      first.setFields("2711_4", Inbox.c_str(), copy.c_str(), "<plan@example.com>", copyShortcut.c_str()), 1);
  ASSERT_EQ(first.appendTo(index.c_str()), 1);
  record(target, "<plan@example.com>", shortcut);
  view(target);
  lumo::FindShortcutOfSelected(owner, 0);
  EXPECT_EQ(fx.host().currentMail, shortcut);
  view(copy);
  lumo::FindShortcutOfSelected(owner, 0);
  EXPECT_EQ(fx.host().currentMail, copyShortcut);
  EXPECT_TRUE(fx.windows().messageBoxes().empty());
}

// A mail without Message-ID is known to the link index by its mail id.
TEST_F(FindShortcutTest, AMailWithoutMessageIdIsFoundByItsMailId) {
  std::string bare = fx.addMail(Inbox, "Subject: no id\r\n\r\nBody\r\n");
  record(bare, nullptr, shortcut);
  view(bare);
  lumo::FindShortcutOfSelected(owner, 0);
  EXPECT_EQ(fx.host().currentMail, shortcut);
  EXPECT_TRUE(fx.windows().messageBoxes().empty());
}

// The shortcut was recorded by its folder (its own id unknown when it was
// made): the folder is searched for its Message-ID and the hit recorded.
TEST_F(FindShortcutTest, AShortcutRecordedByItsFolderIsFoundThereAndRecorded) {
  record(target, "<plan@example.com>", Links);
  view(target);
  lumo::FindShortcutOfSelected(owner, 0);
  EXPECT_EQ(fx.host().currentMail, shortcut);
  EXPECT_TRUE(fx.windows().messageBoxes().empty());
  EXPECT_EQ(recordedLocation(), shortcut);
}

TEST_F(FindShortcutTest, AGoneShortcutIsSelectedWhereRecordedAndReported) {
  std::string gone = Links + "?000000FF";
  record(target, "<plan@example.com>", gone);
  std::string before = readBytes(index);
  view(target);
  lumo::FindShortcutOfSelected(owner, 0);
  expectNotFoundBox();
  // A recorded mail id names no folder: nothing is searched or rewritten.
  EXPECT_EQ(readBytes(index), before);
  EXPECT_EQ(fx.host().currentMail, target);  // the host knows no such mail
}

TEST_F(FindShortcutTest, AFolderWithoutTheShortcutKeepsItsRecord) {
  record(target, "<plan@example.com>", Inbox);
  std::string before = readBytes(index);
  view(target);
  lumo::FindShortcutOfSelected(owner, 0);
  expectNotFoundBox();
  EXPECT_EQ(readBytes(index), before);
}

// A host may fill the whole header buffer and leave no NUL: the key is what
// the buffer holds, and nothing past its end is read.
TEST_F(FindShortcutTest, AMessageIdThatFillsTheBufferIsReadNoFurther) {
  auto real = lumo::HostApi.BKA_GetSpecifiedHeader;
  lumo::HostApi.BKA_GetSpecifiedHeader = [](LPCSTR, LPSTR value, int size) WINAPI {
    std::memset(value, 'x', static_cast<std::size_t>(size));
  };
  lumo::SelectedMailKey key = lumo::selectedMailKey();
  lumo::HostApi.BKA_GetSpecifiedHeader = real;
  EXPECT_EQ(key.text, std::string(lumo::kLinkLineMax, 'x'));
  EXPECT_EQ(key.kind, lumo::LinkFindKind::ByMessageId);
}

TEST_F(FindShortcutTest, NoRecordNoLocationOrNoMailIsReported) {
  view(target);
  lumo::FindShortcutOfSelected(owner, 0);  // no link index at all
  expectNotFoundBox();

  record(target, "<plan@example.com>", "");  // a record without location
  lumo::FindShortcutOfSelected(nullptr, 0);
  EXPECT_EQ(fx.windows().messageBoxes().size(), 2u);
  EXPECT_EQ(fx.windows().messageBoxes().back().owner, nullptr);

  view("");
  lumo::FindShortcutOfSelected(owner, 0);
  EXPECT_EQ(fx.windows().messageBoxes().size(), 3u);
  EXPECT_EQ(fx.host().currentMail, "");
}

}  // namespace
