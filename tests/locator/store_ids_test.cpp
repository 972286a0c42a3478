// Ids from headers must stay inside the data folder: every way out that
// Windows or Linux would take is refused, ordinary ids (Japanese names in
// code page 932 among them) pass.
#include <gtest/gtest.h>

#include <string>

#include "resolve/locator/locator.h"

namespace lumo {
namespace {

TEST(StoreIds, OrdinaryFolderAndMailIdsPass) {
  for (std::string id :
       {"Box.mb\\", "Box.mb\\Inbox\\", "Box.mb\\!Trash\\", "Box.mb\\!!!!Inbox\\Sub\\",
        "Box.mb\\Inbox\\?0000001A", "My Box.mb\\a.b\\", "Box.mb\\Inbox\\x.\\", "Box.mb\\.hidden\\",
        "Box.mb\\CONFIG\\", "Box.mb\\COM10\\", "Box.mb\\LPT\\", "Box.mb\\console\\",
        // "表" (95 5C) and "機能" (8B 40 94 5C): a trail byte 0x5C
        // looks like a separator and must not make the id fail.
        "Box.mb\\\x95\x5C\x8E\xA6\\", "Box.mb\\\x8B\x40\x94\x5C\\", "Box.mb\\\x83\x5C\x83\x74\x83\x67\\"})
    EXPECT_TRUE(isStoreRelativeId(id)) << id;
}

TEST(StoreIds, ClimbingOutIsRefused) {
  for (std::string id : {"..\\", "..\\outside\\", "Box.mb\\..\\..\\outside\\", "Box.mb\\.\\", ".\\Box.mb\\",
                         "Box.mb/../../x/", "Box.mb\\...\\", "Box.mb\\.. \\", "Box.mb\\. .\\", "Box.mb\\ \\",
                         "Box.mb\\Inbox\\?..", "Box.mb\\Inbox\\?..\\..\\x", "Box.mb\\..", ".."})
    EXPECT_FALSE(isStoreRelativeId(id)) << id;
}

TEST(StoreIds, AbsoluteDriveAndUncPathsAreRefused) {
  for (std::string id :
       {"\\outside\\", "/etc/", "\\\\server\\share\\", "//server/share/", "C:\\outside\\", "C:outside\\",
        "c:/x/", "Box.mb\\Inbox\\Folder.idx:stream\\", "\\\\?\\C:\\x\\", "\\\\.\\COM1\\"})
    EXPECT_FALSE(isStoreRelativeId(id)) << id;
}

TEST(StoreIds, DeviceNamesAreRefusedInAnyFormAndPlace) {
  for (std::string id :
       {"CON\\", "Box.mb\\CON\\", "Box.mb\\con\\", "Box.mb\\Nul.txt\\", "Box.mb\\aux.mb\\",
        "Box.mb\\PRN .x\\", "Box.mb\\COM1\\", "Box.mb\\com9.idx\\", "Box.mb\\LPT1\\", "Box.mb\\lpt5.\\",
        "Box.mb\\COM0\\", "Box.mb\\CONIN$\\", "Box.mb\\conout$\\", "Box.mb\\CLOCK$\\", "Box.mb\\COM\xB9\\",
        "Box.mb\\NUL \\", "Box.mb\\Inbox\\?NUL", "Box.mb\\Inbox\\?con.eml", "Box.mb\\\x95\\CON\\"})
    EXPECT_FALSE(isStoreRelativeId(id)) << id;
}

TEST(StoreIds, ControlBytesWildcardsAndEmptyIdsAreRefused) {
  for (std::string id : {"", "Box.mb\\*\\", "Box.mb\\In?box\\?1", "Box.mb\\a<b\\", "Box.mb\\a>b\\",
                         "Box.mb\\a\"b\\", "Box.mb\\a\tb\\", "Box.mb\\a\rb\\", "Box.mb\\Inbox\\?1?2"})
    EXPECT_FALSE(isStoreRelativeId(id)) << id;
  EXPECT_FALSE(isStoreRelativeId(std::string_view("Box.mb\\a\0b\\", 11)));
}

}  // namespace
}  // namespace lumo
