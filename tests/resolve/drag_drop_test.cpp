// Drag and drop through the substitute host: moved shortcuts and moved
// targets keep their links, the next opening finds a moved target without a
// mailbox-wide search, and drops that are not moves, odd lists and forged
// ids change nothing they must not.
#include "resolve/drag_drop.h"

#include <string>
#include <vector>

#include "host/api/host_api.h"
#include "resolve/open_mail.h"
#include "support/shortcut_fixture.h"

namespace lumo {
namespace {

struct DragDrop : testing::ShortcutFixture {
  std::string target, shortcut, shortcutId;
  const std::string messageId = "<t1@example.com>";

  void SetUp() override {
    ShortcutFixture::SetUp();
    target = addTarget(inbox, messageId);
    shortcut = addShortcut(target, links);
    shortcutId = made.shortcutId;
  }

  // The link index line of the shortcut made in SetUp, as a record.
  LinkRecord line() {
    LinkRecord record;
    EXPECT_EQ(record.findIn(LinkIndexPath, shortcutId.c_str(), LinkFindKind::ByShortcutId), 1);
    return record;
  }
  // The host's drop: the plug-in hears, then the host moves the mails.
  void drop(const std::string& destination, const std::string& mails, int effect = 2) {
    run("drop " + destination + " " + std::to_string(effect) + " " + mails);
  }
  int dropRaw(const std::string& destination, const std::string& list, int count, int effect = 2) {
    return OnDragDrop(destination.c_str(), list.c_str(), count, effect);
  }
};

TEST_F(DragDrop, MovedShortcutGetsTheBareDestinationFolderAsLocation) {
  std::string before = source(shortcut);
  drop(work, shortcut);
  EXPECT_EQ(std::string(line().shortcutLocation()), work) << "no \"?\" and no mail key";
  EXPECT_EQ(std::string(line().targetFolderId()), inbox);
  std::vector<std::string> moved = fx.store().mailIds(work);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(source(moved[0]), before) << "the shortcut mail itself is left alone";
}

TEST_F(DragDrop, AMailCarryingAnotherShortcutsIdDoesNotMoveItsLine) {
  // A received mail can carry any shortcut id; only the link's own shortcut
  // mail (its Message-ID) records a new location.
  std::string forged = fx.addMail(inbox, "X-LuMOID: " + shortcutId + "\r\nX-MailID: " + target +
                                             "\r\nMessage-ID: <forged@example.com>\r\n\r\nHello.\r\n");
  std::string index = linkIndex();
  drop(work, forged);
  EXPECT_EQ(linkIndex(), index);
  EXPECT_EQ(std::string(line().shortcutLocation()), shortcut);

  // Nor does a whole copy of the shortcut mail while the mail its line names
  // is still that shortcut: the copy is not the link's.
  std::string copy = fx.addMail(inbox, source(shortcut));
  drop(work, copy);
  EXPECT_EQ(linkIndex(), index);
}

TEST_F(DragDrop, MovedTargetIsRecordedInTheIndexAndTheShortcutFolderHeader) {
  std::string mailIdBefore = header(shortcut, "X-MailID");
  drop(work, target);
  LinkRecord record = line();
  EXPECT_EQ(std::string(record.targetFolderId()), work);
  EXPECT_EQ(std::string(record.targetMailId()), target) << "the new key is not known yet";
  EXPECT_EQ(std::string(record.shortcutLocation()), shortcut);
  EXPECT_EQ(header(shortcut, "X-FolderID"), work);
  EXPECT_EQ(header(shortcut, "X-MailID"), mailIdBefore);
  EXPECT_EQ(header(shortcut, "X-LuMOID"), shortcutId) << "the rest of the header stays";

  // Opening finds the target in its new folder without asking for a
  // search of every mailbox.
  run("open-mail " + shortcut);
  EXPECT_TRUE(fx.windows().messageBoxes().empty());
  std::string moved = fx.store().mailIds(work).at(0);
  EXPECT_EQ(header(shortcut, "X-MailID"), moved);
  EXPECT_NE(host().shownText.find("Hi."), std::string::npos) << host().shownText;
}

TEST_F(DragDrop, TheKeyIsTheMessageIdFieldNotAnXMessageId) {
  // A second target whose header has an "X-Message-ID" before its own.
  std::string other = fx.addMail(inbox,
                                 "X-Message-ID: <decoy@example.com>\r\nMessage-ID: <t2@example.com>\r\n"
                                 "Subject: Two\r\n\r\nBody.\r\n");
  std::string otherShortcut = addShortcut(other, links, 2);
  std::string otherId = made.shortcutId;
  drop(work, other);
  LinkRecord record;
  ASSERT_EQ(record.findIn(LinkIndexPath, otherId.c_str(), LinkFindKind::ByShortcutId), 1);
  EXPECT_EQ(std::string(record.targetFolderId()), work);
  EXPECT_EQ(header(otherShortcut, "X-FolderID"), work);
}

// Of several Message-ID fields the last one is the mail's own: the link
// was made with it, and it finds the link when the target moves.
TEST_F(DragDrop, OfTwoMessageIdFieldsTheLastFindsTheLink) {
  std::string twice = fx.addMail(inbox,
                                 "Message-ID: <first@example.com>\r\nSubject: Two ids\r\n"
                                 "Message-ID: <last@example.com>\r\n\r\nBody.\r\n");
  std::string twiceShortcut = addShortcut(twice, links, 2);
  std::string twiceId = made.shortcutId;
  ASSERT_EQ(made.targetMessageId, "<last@example.com>");
  drop(work, twice);
  LinkRecord record;
  ASSERT_EQ(record.findIn(LinkIndexPath, twiceId.c_str(), LinkFindKind::ByShortcutId), 1);
  EXPECT_EQ(std::string(record.targetFolderId()), work);
  EXPECT_EQ(header(twiceShortcut, "X-FolderID"), work);
}

// A copy of the target (the client's copy, a resent mail) has the same
// Message-ID and a shortcut of its own: each drop moves the dropped mail's
// own link, never the other's, also once earlier drops left both links with
// old mail ids.
TEST_F(DragDrop, CopiesWithOneMessageIdEachMoveTheirOwnLink) {
  std::string copy = fx.addMail(inbox, source(target));
  std::string copyShortcut = addShortcut(copy, links, 2);
  std::string copyId = made.shortcutId;
  auto folderOf = [&](const std::string& id) {
    LinkRecord record;
    EXPECT_EQ(record.findIn(LinkIndexPath, id.c_str(), LinkFindKind::ByShortcutId), 1);
    return std::string(record.targetFolderId());
  };

  drop(work, copy);
  EXPECT_EQ(folderOf(copyId), work);
  EXPECT_EQ(header(copyShortcut, "X-FolderID"), work);
  EXPECT_EQ(folderOf(shortcutId), inbox);
  EXPECT_EQ(header(shortcut, "X-FolderID"), inbox);

  drop(trash, target);
  EXPECT_EQ(folderOf(shortcutId), trash);
  EXPECT_EQ(header(shortcut, "X-FolderID"), trash);
  EXPECT_EQ(folderOf(copyId), work);

  // Both links now hold mail ids their mails left; the copy is in "Work".
  std::string movedCopy = fx.store().mailIds(work).at(0);
  drop(inbox, movedCopy);
  EXPECT_EQ(folderOf(copyId), inbox);
  EXPECT_EQ(header(copyShortcut, "X-FolderID"), inbox);
  EXPECT_EQ(folderOf(shortcutId), trash);
  EXPECT_EQ(header(shortcut, "X-FolderID"), trash);
}

TEST_F(DragDrop, AMailWithoutMessageIdIsFoundByItsMailId) {
  std::string plain = fx.addMail(inbox, "Subject: No id\r\n\r\nBody.\r\n");
  std::string plainShortcut = addShortcut(plain, links, 3);
  std::string plainId = made.shortcutId;
  drop(work, plain);
  LinkRecord record;
  ASSERT_EQ(record.findIn(LinkIndexPath, plainId.c_str(), LinkFindKind::ByShortcutId), 1);
  EXPECT_EQ(std::string(record.targetFolderId()), work);
  EXPECT_EQ(header(plainShortcut, "X-FolderID"), work);
  EXPECT_EQ(std::string(line().targetFolderId()), inbox) << "the other link is untouched";
}

TEST_F(DragDrop, ShortcutThenTargetMovedFindsTheShortcutInItsNewFolder) {
  drop(work, shortcut);
  std::string movedShortcut = fx.store().mailIds(work).at(0);
  drop(trash, target);
  LinkRecord record = line();
  EXPECT_EQ(std::string(record.targetFolderId()), trash);
  EXPECT_EQ(std::string(record.shortcutLocation()), movedShortcut) << "the whole id is learnt again";
  EXPECT_EQ(header(movedShortcut, "X-FolderID"), trash);
}

// Dropped in one go, in either order of the list: the shortcut's folder
// header follows its target before the host moves them, and its opening
// in the new folder neither asks nor searches.
TEST_F(DragDrop, AShortcutDroppedWithItsTargetFollowsItInEitherOrder) {
  for (bool shortcutFirst : {true, false}) {
    SCOPED_TRACE(shortcutFirst ? "shortcut listed first" : "target listed first");
    std::string destination = shortcutFirst ? work : links;
    drop(destination, shortcutFirst ? shortcut + " " + target : target + " " + shortcut);
    std::vector<std::string> moved = fx.store().mailIds(destination);
    ASSERT_EQ(moved.size(), 2u);
    bool firstIsShortcut = !header(moved[0], "X-LuMOID").empty();
    shortcut = moved[firstIsShortcut ? 0 : 1];
    target = moved[firstIsShortcut ? 1 : 0];
    EXPECT_EQ(header(shortcut, "X-FolderID"), destination);
    EXPECT_EQ(std::string(line().targetFolderId()), destination);
    EXPECT_EQ(std::string(line().shortcutLocation()), destination);

    std::size_t boxes = fx.windows().messageBoxes().size();
    run("open-mail " + shortcut);
    EXPECT_EQ(fx.windows().messageBoxes().size(), boxes) << "no question, no search";
    EXPECT_EQ(header(shortcut, "X-MailID"), target);
  }
}

TEST_F(DragDrop, DropsThatAreNotMovesOfMailsChangeNothing) {
  std::string index = linkIndex(), shortcutSource = source(shortcut);
  EXPECT_EQ(dropRaw(work, "Box.mb\\Links\\", 1), 0) << "a folder, no \"?\"";
  EXPECT_EQ(dropRaw(work, target, 1, 1), 0) << "a copy";
  EXPECT_EQ(dropRaw(work, target, 1, 0), 0);
  EXPECT_EQ(dropRaw(work, target, 0), 0);
  EXPECT_EQ(dropRaw(work, target, -3), 0);
  EXPECT_EQ(OnDragDrop(work.c_str(), nullptr, 1, 2), 0);
  EXPECT_EQ(OnDragDrop(nullptr, target.c_str(), 1, 2), 0);
  EXPECT_EQ(linkIndex(), index);
  EXPECT_EQ(source(shortcut), shortcutSource);
}

TEST_F(DragDrop, TheCountBoundsTheListAndEachMailStandsAlone) {
  std::string second = addTarget(inbox, "<t2@example.com>");
  std::string secondShortcut = addShortcut(second, links, 2);
  std::string secondId = made.shortcutId;
  auto folderOf = [&](const std::string& id) {
    LinkRecord record;
    EXPECT_EQ(record.findIn(LinkIndexPath, id.c_str(), LinkFindKind::ByShortcutId), 1);
    return std::string(record.targetFolderId());
  };
  const std::string& firstId = shortcutId;

  // Count 1 of two listed mails: only the first.
  EXPECT_EQ(dropRaw(work, target + "\n" + second, 1), 0);
  EXPECT_EQ(folderOf(firstId), work);
  EXPECT_EQ(folderOf(secondId), inbox);

  // A count above the list, with an unknown mail and an empty entry first:
  // the listed mails are handled and the call stops.
  EXPECT_EQ(dropRaw(trash, "Box.mb\\Nowhere\\?99\n\n" + target + "\n" + second, 9), 0);
  EXPECT_EQ(folderOf(firstId), trash);
  EXPECT_EQ(folderOf(secondId), trash);
  EXPECT_EQ(header(secondShortcut, "X-FolderID"), trash);
}

TEST_F(DragDrop, AShortcutWithoutFolderHeaderIsNotRewritten) {
  // "X-FolderID" only in the body: the header has none, nothing is rewritten.
  ASSERT_TRUE(fx.store().setSource(
      shortcut, "X-LuMOID: " + shortcutId + "\r\nSubject: s\r\n\r\nX-FolderID: body text\r\n"));
  std::string before = source(shortcut);
  drop(work, target);
  EXPECT_EQ(source(shortcut), before);
  EXPECT_EQ(std::string(line().targetFolderId()), work) << "the index still learns the folder";
}

TEST_F(DragDrop, ForgedIdsNeverLeaveTheDataFolder) {
  // A destination that leads outside the store, or would break the index
  // line or the header, is refused whole.
  std::string index = linkIndex(), before = source(shortcut);
  for (const std::string& bad : {std::string("..\\..\\outside\\"), std::string("C:\\Windows\\"),
                                 std::string("Box.mb\\Work\\\r\nX-Evil: 1\r\n")}) {
    EXPECT_EQ(dropRaw(bad, target, 1), 0);
    EXPECT_EQ(dropRaw(bad, shortcut, 1), 0);
  }
  EXPECT_EQ(linkIndex(), index);
  EXPECT_EQ(source(shortcut), before);

  // A link line whose location leads outside: the index is updated, but no
  // mail there is read or written; the plug-in never even asks the host.
  std::filesystem::path outside = fx.dataFolder().parent_path() / "outside.mb";
  std::string forged =
      shortcutId + "\x01" + inbox + "\x01?00000001\x01" + messageId + "\x01..\\outside.mb\\F\\?00000001\r\n";
  testing::writeBytes(LinkIndexPath, forged);
  static std::vector<std::string> asked;
  static decltype(HostApi.BKA_GetSource) hostGetSource = HostApi.BKA_GetSource;
  asked.clear();
  HostApi.BKA_GetSource = [](LPCSTR id) WINAPI -> LPSTR {
    asked.push_back(id ? id : "(null)");
    return hostGetSource(id);
  };
  EXPECT_EQ(dropRaw(work, target, 1), 0);
  HostApi.BKA_GetSource = hostGetSource;
  EXPECT_EQ(asked, std::vector<std::string>{}) << "the forged location is refused by the plug-in itself";
  EXPECT_EQ(std::string(line().targetFolderId()), work);
  EXPECT_EQ(std::string(line().shortcutLocation()), "..\\outside.mb\\F\\?00000001");
  EXPECT_FALSE(std::filesystem::exists(outside));
  EXPECT_EQ(source(shortcut), before);

  // A forged bare folder location outside the store is not searched.
  forged = shortcutId + "\x01" + inbox + "\x01?00000001\x01" + messageId + "\x01..\\..\\\r\n";
  testing::writeBytes(LinkIndexPath, forged);
  EXPECT_EQ(dropRaw(trash, target, 1), 0);
  EXPECT_EQ(std::string(line().shortcutLocation()), "..\\..\\");
  EXPECT_EQ(source(shortcut), before);
}

}  // namespace
}  // namespace lumo
