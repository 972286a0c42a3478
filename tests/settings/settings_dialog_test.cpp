// The setup dialog through the substitute host: opened by the host's setup
// call, driven through its controls, checked against the settings in memory
// and the exact bytes of the settings file.
#include "settings/settings_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host-sim/core/cp932.h"
#include "host-sim/core/fixture.h"
#include "host/api/module_state.h"
#include "res/resource_ids.h"
#include "settings/settings_store.h"
#include "support/temp_dir.h"

namespace lumo {
namespace {

using hostsim::utf8ToCp932;
using testing::readBytes;
using testing::visible;
using testing::writeBytes;

const std::string kNoFolder = "現在、作成先フォルダは設定されていません。";

// Every key the dialog shows, each with a value other than its default.
const char* const kStored =
    "[Settings]\r\nCreSCMailCheck=1\r\nSubCh=0\r\nToDel=7\r\nRealMail=0\r\nMsgSt=1\r\nSetFolder=0\r\n"
    "RetFolder=1\r\nSc-Tag=[SC]\r\nSetSC-Path=Box.mb\\Work\\\r\nRetSC-Path=Box.mb\\Gone\\\r\nLumo-Count="
    "42\r\n"
    "SCMMakeKey=582\r\nSCMFolderKey=583\r\nSCFindKey=584\r\nSCMLinkJumpKey=585\r\nSCMEMOEditKey=586\r\n"
    "SCMailALLKey=587\r\n";

// The file after OK from a fresh installation: the fourteen keys in the
// order OK writes them.
std::string defaultsWritten(const std::string& tag = "->") {
  return "[Settings]\r\nSc-Tag=" + tag +
         "\r\nCreSCMailCheck=0\r\nSubCh=1\r\nToDel=1\r\nRealMail=1\r\nMsgSt=0\r\nSetFolder=0\r\n"
         "RetFolder=0\r\nSCMMakeKey=0\r\nSCMFolderKey=0\r\nSCFindKey=0\r\nSCMLinkJumpKey=0\r\n"
         "SCMEMOEditKey=0\r\nSCMailALLKey=0\r\n";
}

class SettingsDialog : public ::testing::Test {
 protected:
  hostsim::HostFixture fx;
  testing::TempDir pluginDir;  // beside the plug-in: its settings file

  void SetUp() override {
    fx.addFolder("Box.mb\\Work\\", "Work folder");
    ASSERT_TRUE(fx.loadLinkedPlugin());
    std::string path = pluginDir.file("lumo.ini");
    ASSERT_LT(path.size(), sizeof SettingsPath);
    std::strcpy(SettingsPath, path.c_str());
    loadSettings(SettingsPath);  // no file yet: the defaults
  }
  void useSettingsFile(const std::string& content) {
    writeBytes(SettingsPath, content);
    loadSettings(SettingsPath);
  }
  std::string settingsFile() { return readBytes(SettingsPath); }
  const std::vector<hostsim::MessageBoxRecord>& boxes() { return fx.windows().messageBoxes(); }

  // Opens the dialog through the host's setup call with these actions
  // queued; returns the dialog's result.
  INT_PTR setup(const std::string& actions) {
    EXPECT_EQ(fx.run(actions), "");
    EXPECT_EQ(fx.run("setup"), "");
    EXPECT_EQ(fx.windows().takeErrors(), std::vector<std::string>());
    EXPECT_EQ(fx.windows().pendingDialogActions(), 0u);
    EXPECT_EQ(fx.windows().dialogs().size(), 1u);
    return fx.windows().dialogs().empty() ? 0 : fx.windows().dialogs().back().result;
  }
  void expectBox(const hostsim::MessageBoxRecord& box, const std::string& utf8Text, UINT icon) {
    EXPECT_EQ(hostsim::cp932ToUtf8(box.text), utf8Text);
    EXPECT_EQ(box.title, "Message from LuMO");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | icon | MB_TASKMODAL | MB_TOPMOST));
    EXPECT_NE(box.owner, nullptr);
    EXPECT_NE(box.owner, fx.windows().mainWindow());  // the dialog owns it
  }
};

TEST_F(SettingsDialog, EveryControlShowsTheStoredSettings) {
  useSettingsFile(kStored);
  std::vector<std::string> captions;
  fx.windows().queueDialogAction([&](HWND d) {
    LRESULT count = SendDlgItemMessageA(d, IDC_HOTKEY_LIST, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      char text[64] = "";
      SendDlgItemMessageA(d, IDC_HOTKEY_LIST, LB_GETTEXT, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(text));
      captions.push_back(hostsim::cp932ToUtf8(text));
    }
    return std::string();
  });
  EXPECT_EQ(setup("dialog expect-text 1004 [SC]\n"
                  "dialog expect-text 1009 \"Work folder\"\n"
                  // A folder the host names with empty text keeps the template's text.
                  "dialog expect-text 1010 \"" +
                  kNoFolder +
                  "\"\n"
                  "dialog expect-check 1000 1\ndialog expect-check 1001 0\ndialog expect-check 1002 1\n"
                  "dialog expect-check 1003 0\ndialog expect-check 1007 1\ndialog expect-check 1008 0\n"
                  "dialog expect-check 1011 1\n"
                  "dialog expect-items 1018 0 1 2 3 4 5\n"
                  "dialog expect-selected 1018 -1\n"
                  "dialog expect-hotkey 1015 0\n"
                  "dialog cancel"),
            IDCANCEL);
  EXPECT_EQ(captions,
            (std::vector<std::string>{"SCメール選択(作成)", "現在のフォルダに作成", "SC検索ジャンプ",
                                      "元メールジャンプ", "MEMO追加・編集", "ショートカット一覧"}));
  EXPECT_EQ(fx.windows().dialogs().back().templateId, IDD_SETTINGS);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(SettingsDialog, FreshInstallationShowsDefaultsAndNoFolders) {
  EXPECT_EQ(setup("dialog expect-text 1004 ->\n"
                  "dialog expect-text 1009 \"" +
                  kNoFolder + "\"\ndialog expect-text 1010 \"" + kNoFolder +
                  "\"\n"
                  "dialog expect-check 1000 0\ndialog expect-check 1001 1\ndialog expect-check 1002 1\n"
                  "dialog expect-check 1003 1\ndialog expect-check 1007 0\ndialog expect-check 1008 0\n"
                  "dialog expect-check 1011 0\ndialog ok"),
            IDOK);
  EXPECT_EQ(visible(settingsFile()), visible(defaultsWritten()));
}

TEST_F(SettingsDialog, OkWritesTheFourteenKeysInOrderOverTheStoredFile) {
  useSettingsFile(kStored);
  EXPECT_EQ(setup("dialog text 1004 \"[Lnk]\"\n"
                  "dialog check 1000 0\ndialog check 1001 1\ndialog check 1003 1\ndialog check 1008 1\n"
                  "answer OK\n"
                  "dialog select 1018 5\ndialog hotkey 1015 0x0141\n"
                  "dialog ok"),
            IDOK);
  // Every key keeps its place; the folders and the counter are not written.
  EXPECT_EQ(visible(settingsFile()),
            visible("[Settings]\r\nCreSCMailCheck=0\r\nSubCh=1\r\nToDel=1\r\nRealMail=1\r\nMsgSt=1\r\n"
                    "SetFolder=1\r\nRetFolder=1\r\nSc-Tag=[Lnk]\r\nSetSC-Path=Box.mb\\Work\\\r\n"
                    "RetSC-Path=Box.mb\\Gone\\\r\nLumo-Count=42\r\nSCMMakeKey=582\r\nSCMFolderKey=583\r\n"
                    "SCFindKey=584\r\nSCMLinkJumpKey=585\r\nSCMEMOEditKey=586\r\nSCMailALLKey=321\r\n"));
  EXPECT_STREQ(Settings.scTag, "[Lnk]");
  EXPECT_EQ(Settings.creScMailCheck, 0);
  EXPECT_EQ(Settings.subCh, 1);
  EXPECT_EQ(Settings.toDel, 1);  // a stored 7 is written back as "on": 1
  EXPECT_EQ(Settings.realMail, 1);
  EXPECT_EQ(Settings.setFolder, 1);
  EXPECT_EQ(HotkeyTable[5], 0x0141);
  EXPECT_EQ(HotkeyTable[0], 582);
  EXPECT_STREQ(Settings.setScPath, "Box.mb\\Work\\");
  EXPECT_EQ(Settings.lumoCount, 42);
}

TEST_F(SettingsDialog, ChosenSlotKeepsItsKeyWhileAnotherIsEdited) {
  useSettingsFile(kStored);
  EXPECT_EQ(setup("dialog select 1018 0\ndialog expect-hotkey 1015 582\n"
                  "dialog hotkey 1015 0x0241\n"
                  "dialog select 1018 3\ndialog expect-hotkey 1015 585\n"
                  "dialog hotkey 1015 0x0446\n"
                  "dialog select 1018 0\ndialog expect-hotkey 1015 577\n"
                  "dialog select 1018 3\ndialog expect-hotkey 1015 1094\n"
                  "dialog ok"),
            IDOK);
  EXPECT_EQ(HotkeyTable[0], 0x0241);
  EXPECT_EQ(HotkeyTable[3], 0x0446);
  EXPECT_NE(
      settingsFile().find("SCMMakeKey=577\r\nSCMFolderKey=583\r\nSCFindKey=584\r\nSCMLinkJumpKey=1094\r\n"),
      std::string::npos)
      << visible(settingsFile());
}

TEST_F(SettingsDialog, SlotsAreTakenFromItemDataNotFromPositions) {
  useSettingsFile(kStored);
  // The list's items as some other hand reordered them: the item data still
  // names the slot.
  fx.windows().queueDialogAction([](HWND d) {
    SendDlgItemMessageA(d, IDC_HOTKEY_LIST, LB_SETITEMDATA, 0, 4);
    SendDlgItemMessageA(d, IDC_HOTKEY_LIST, LB_SETITEMDATA, 4, 0);
    return std::string();
  });
  EXPECT_EQ(
      setup("dialog select 1018 0\ndialog expect-hotkey 1015 586\ndialog hotkey 1015 0x0145\ndialog ok"),
      IDOK);
  EXPECT_EQ(HotkeyTable[4], 0x0145);
  EXPECT_EQ(HotkeyTable[0], 582);
}

TEST_F(SettingsDialog, KeyWithoutChosenSlotIsDropped) {
  useSettingsFile(kStored);
  EXPECT_EQ(setup("dialog hotkey 1015 0x0241\ndialog ok"), IDOK);
  for (int slot = 0; slot < HotkeyCount; ++slot) EXPECT_EQ(HotkeyTable[slot], 582 + slot) << "slot " << slot;
}

TEST_F(SettingsDialog, SelectionClearedLeavesNoSlotAndAnEmptyField) {
  useSettingsFile(kStored);
  ASSERT_EQ(fx.run("dialog select 1018 1\ndialog hotkey 1015 0x0242"), "");
  fx.windows().queueDialogAction([](HWND d) {
    SendDlgItemMessageA(d, IDC_HOTKEY_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageA(d, WM_COMMAND, IDC_HOTKEY_LIST | (1 << 16), 0);
    return std::string();
  });
  EXPECT_EQ(setup("dialog expect-hotkey 1015 0\ndialog hotkey 1015 0x0243\ndialog ok"), IDOK);
  // Slot 1 kept the key typed for it; the key typed with no slot is gone.
  EXPECT_EQ(HotkeyTable[1], 0x0242);
  for (int slot : {0, 2, 3, 4, 5}) EXPECT_EQ(HotkeyTable[slot], 582 + slot) << "slot " << slot;
}

TEST_F(SettingsDialog, CtrlAltAloneIsRefusedAndClearsTheSlot) {
  useSettingsFile(kStored);
  EXPECT_EQ(setup("answer OK\n"
                  "dialog select 1018 2\ndialog hotkey 1015 0x064B\ndialog expect-hotkey 1015 0\n"
                  // With Shift, or with the extended-key bit, it is another combination.
                  "dialog select 1018 4\ndialog hotkey 1015 0x074B\ndialog expect-hotkey 1015 0x074B\n"
                  "dialog select 1018 5\ndialog hotkey 1015 0x0E4B\ndialog expect-hotkey 1015 0x0E4B\n"
                  "dialog ok"),
            IDOK);
  ASSERT_EQ(boxes().size(), 1u);
  expectBox(boxes()[0], "このキーの組み合わせは使えません。", MB_ICONSTOP);
  EXPECT_EQ(HotkeyTable[2], 0);
  EXPECT_EQ(HotkeyTable[4], 0x074B);
  EXPECT_EQ(HotkeyTable[5], 0x0E4B);
  EXPECT_NE(settingsFile().find("SCFindKey=0\r\n"), std::string::npos);
}

TEST_F(SettingsDialog, ThreeOptionsTellTheUserWhenTurnedOn) {
  EXPECT_EQ(setup("answer OK OK OK OK\n"
                  "dialog check 1007 1\ndialog check 1007 0\ndialog check 1007 1\n"
                  "dialog check 1008 1\ndialog check 1008 0\n"
                  "dialog check 1011 1\n"
                  // The other boxes say nothing either way.
                  "dialog check 1000 1\ndialog check 1001 0\ndialog check 1002 0\ndialog check 1003 0\n"
                  "dialog cancel"),
            IDCANCEL);
  ASSERT_EQ(boxes().size(), 4u);
  const std::string msgSt =
      "このオプションをONにしますと、作成開始確認、作成終了確認が表示されなくなります。";
  expectBox(boxes()[0], msgSt, MB_ICONINFORMATION);
  expectBox(boxes()[1], msgSt, MB_ICONINFORMATION);
  expectBox(boxes()[2], "ショートカット作成フォルダの設定は、B2のツリーフォルダから行ってください。",
            MB_ICONINFORMATION);
  expectBox(boxes()[3], "受信時作成フォルダの設定は、B2のツリーフォルダから行ってください。",
            MB_ICONINFORMATION);
}

TEST_F(SettingsDialog, CancelChangesNothing) {
  useSettingsFile(kStored);
  const std::string before = settingsFile();
  const SettingsValues values = Settings;
  EXPECT_EQ(setup("answer OK OK\n"
                  "dialog text 1004 X\ndialog check 1000 0\ndialog check 1001 1\ndialog check 1008 1\n"
                  "dialog check 1011 0\ndialog select 1018 0\ndialog hotkey 1015 0x0241\n"
                  "dialog select 1018 1\ndialog cancel"),
            IDCANCEL);
  EXPECT_EQ(settingsFile(), before);
  EXPECT_EQ(std::memcmp(&Settings, &values, sizeof values), 0);
  for (int slot = 0; slot < HotkeyCount; ++slot) EXPECT_EQ(HotkeyTable[slot], 582 + slot) << "slot " << slot;
}

TEST_F(SettingsDialog, EmptyTagBecomesTheDefault) {
  EXPECT_EQ(setup("dialog text 1004 \"\"\ndialog ok"), IDOK);
  EXPECT_STREQ(Settings.scTag, "->");
  EXPECT_EQ(visible(settingsFile()), visible(defaultsWritten("->")));
}

TEST_F(SettingsDialog, LongTagKeepsItsFirst31BytesAndWholeCharacters) {
  EXPECT_EQ(setup("dialog text 1004 0123456789012345678901234567890123456789\ndialog ok"), IDOK);
  EXPECT_STREQ(Settings.scTag, "0123456789012345678901234567890");
  // 15 two-byte characters and one ASCII byte are 31 bytes; one more
  // character would end on its first half, which is left out.
  std::string japanese;
  for (int i = 0; i < 16; ++i) japanese += "あ";
  ASSERT_EQ(fx.run("dialog text 1004 a" + japanese + "\ndialog ok\nsetup"), "");
  EXPECT_EQ(std::string(Settings.scTag), "a" + utf8ToCp932(japanese.substr(0, 15 * 3)));
  EXPECT_EQ(std::strlen(Settings.scTag), 31u);
  ASSERT_EQ(fx.run("dialog text 1004 ab" + japanese + "\ndialog ok\nsetup"), "");
  EXPECT_EQ(std::string(Settings.scTag), "ab" + utf8ToCp932(japanese.substr(0, 14 * 3)));
  EXPECT_EQ(std::strlen(Settings.scTag), 30u);
}

}  // namespace
}  // namespace lumo
