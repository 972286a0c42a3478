// Script runs against the plug-in linked into this test: loading, the
// information record, hooks across start and exit, events and expectations,
// and how a run ends on the first failure.
#include "host-sim/core/script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "host-sim/core/cp932.h"
#include "host-sim/core/fixture.h"

extern "C" UINT WINAPI BKA_RegisterCommand(LPCSTR statusText, int menuType, LumoCommandProc proc);

namespace lumo::hostsim {
namespace {

TEST(SplitWords, QuotesEscapesAndComments) {
  EXPECT_EQ(splitWords("a  \"b c\" d\\e # note"), (std::vector<std::string>{"a", "b c", "d\\e"}));
  EXPECT_EQ(splitWords("x \"q\\\"q\\r\\n\" \"Box.mb\\Inbox\\\""),
            (std::vector<std::string>{"x", "q\"q\r\n", "Box.mb\\Inbox\\"}));
  EXPECT_TRUE(splitWords("   # only a comment").empty());
}

TEST(Cp932, JapaneseRoundTripsAndBadBytesBecomeQuestionMarks) {
  const std::string utf8 = "\xe4\xbc\x9a\xe8\xad\xb0\xe3\x81\xae\xe4\xbb\xb6";  // 会議の件
  const std::string sjis = "\x89\xef\x8b\x63\x82\xcc\x8c\x8f";
  EXPECT_EQ(utf8ToCp932(utf8), sjis);
  EXPECT_EQ(cp932ToUtf8(sjis), utf8);
  EXPECT_EQ(cp932ToUtf8("a\x81"), "a?");
}

struct ScriptRun : ::testing::Test {
  HostFixture fx;
  void SetUp() override {
    fx.addFolder("Main.mb\\!!!!Inbox\\", "Inbox");
    fx.addFolder("Main.mb\\!Trash\\", "Trash");
  }
};

TEST_F(ScriptRun, LoadsThePluginShowsItsRecordAndInstallsHooksUntilExit) {
  ASSERT_TRUE(fx.loadLinkedPlugin()) << fx.output();
  ASSERT_EQ(fx.run("info\nexpect result 0\nstart\nexpect hooks 1 2\nexit\nexpect hooks 0 0"), "");
  EXPECT_NE(fx.output().find("name: Lumo Plug-In for B2\n"), std::string::npos) << fx.output();
  EXPECT_NE(fx.output().find("version: 1.2\n"), std::string::npos);
  EXPECT_NE(fx.output().find("description: Make Shortcut of mail.\n"), std::string::npos);
  EXPECT_NE(fx.output().find("vendor: (host)\n"), std::string::npos)
      << "the vendor field is left as the host set it";
}

TEST_F(ScriptRun, EventsReachTheHostStateAndExpectationsCheckIt) {
  ASSERT_TRUE(fx.loadLinkedPlugin());
  std::string script =
      "mail Main.mb\\!!!!Inbox\\ <1@x> \"\xe4\xbc\x9a\xe8\xad\xb0\"\n"
      "mail Main.mb\\!!!!Inbox\\ <2@x> Two\n"
      "open-folder Main.mb\\!!!!Inbox\\\n"
      "expect folder Main.mb\\!!!!Inbox\\\n"
      "open-mail @2\n"
      "expect mail @2\n"
      "expect shown-contains \"Subject: Two\"\n"
      "expect readonly yes\n"
      "select @2 @1\n"
      "expect selection @1 @2\n"
      "expect header @1 Subject \"\xe4\xbc\x9a\xe8\xad\xb0\"\n"
      "expect menu 2 \"New Folder\" Rename Properties --- "
      "受信時作成先に設定 ショートカットの作成先に設定 \"Empty Trash\"\n"
      "post 32836\n"
      "expect mails Main.mb\\!Trash\\ 2\n"
      "expect mails Main.mb\\!!!!Inbox\\ 0";
  ASSERT_EQ(fx.run(script), "") << fx.output();
  // The subject reached the store as code page 932 bytes.
  EXPECT_EQ(fx.store().index("Main.mb\\!Trash\\")[0].subject, "\x89\xef\x8b\x63");
}

TEST_F(ScriptRun, AMailRetrievedFromAFileKeepsItsBytesAndTheViewIsComparedWithASource) {
  ASSERT_TRUE(fx.loadLinkedPlugin());
  // Bytes no script could spell as text: a lone lead byte, 0x01, a folded field.
  const std::string bytes = "Message-ID:\r\n <r@x>\r\nSubject: \x81\x01\r\n\r\nBody\xff\r\n";
  const std::string file = (fx.dataFolder() / "real.eml").string();
  std::ofstream(file, std::ios::binary) << bytes;
  ASSERT_EQ(
      fx.run("mail Main.mb\\!!!!Inbox\\ <1@x> One\nretrieve-file Main.mb\\!!!!Inbox\\ \"" + file +
             "\"\nexpect result 0\nopen-folder Main.mb\\!!!!Inbox\\\nopen-mail @2\nexpect shown-source @2"),
      "")
      << fx.output();
  EXPECT_NE(fx.output().find("retrieved Main.mb\\!!!!Inbox\\?00000002"), std::string::npos) << fx.output();
  EXPECT_EQ(fx.store().source("Main.mb\\!!!!Inbox\\?00000002").value_or(""), bytes);
  std::string error = fx.run("expect shown-source @1");
  EXPECT_NE(error.find("differs from the source of @1 at byte 0"), std::string::npos) << error;
}

TEST_F(ScriptRun, AFailedExpectationNamesWhatWasExpectedAndFound) {
  std::string error = fx.run("expect status \"done\"");
  EXPECT_NE(error.find("expected status \"done\", got \"\""), std::string::npos) << error;
  EXPECT_NE(fx.run("frobnicate").find("unknown command"), std::string::npos);
}

TEST(ScriptEnd, AnswersOrDialogActionsLeftUnusedFailTheRun) {
  std::ostringstream out;
  auto windows = makeWindowSystem();
  Script script(*windows, out);
  std::istringstream lines("answer OK\ndialog ok\n");
  EXPECT_EQ(script.run(lines, "t.lhs", false), 1);
  EXPECT_NE(out.str().find("1 queued message-box answers and 1 queued dialog actions were not used"),
            std::string::npos)
      << out.str();
}

TEST_F(ScriptRun, AMessageBoxWithoutQueuedAnswerFailsTheLineThatShowedIt) {
  std::ostringstream out;
  auto windows = makeWindowSystem();
  Script script(*windows, out);
  EXPECT_EQ(script.runLine("answer OK"), "");
  MessageBoxA(nullptr, "first", "t", MB_OKCANCEL);
  EXPECT_EQ(script.runLine("expect box answer OK"), "");
  MessageBoxA(nullptr, "second", "t", MB_OKCANCEL);
  std::istringstream lines("echo one\nexpect boxes 2\necho never\n");
  EXPECT_EQ(script.run(lines, "t.lhs", false), 1);
  EXPECT_NE(out.str().find("t.lhs:1: error: message box without a queued answer"), std::string::npos)
      << out.str();
  EXPECT_EQ(out.str().find("never"), std::string::npos) << "the run stops at the first error";
}

// What a demo prints: each step's own boxes, the header lines it names and
// the 0x01 separators of a file drawn as U+2401, the file's bytes unchanged.
TEST_F(ScriptRun, ShowPrintsNewBoxesNamedHeaderLinesAndVisibleSeparators) {
  ASSERT_EQ(fx.run("answer OK OK"), "");
  MessageBoxA(nullptr, "first", "t", MB_OK);
  ASSERT_EQ(fx.run("show new-boxes"), "");
  MessageBoxA(nullptr, "second", "t", MB_OK);
  ASSERT_EQ(fx.run("echo --\nshow new-boxes\necho --\nshow new-boxes\necho --\nshow boxes"), "");
  auto box = [](const char* text) {
    return "box title=\"t\" text=\"" + std::string(text) + "\" icon=none buttons=OK owner=none answer=OK\n";
  };
  EXPECT_EQ(fx.output(), box("first") + "--\n" + box("second") + "--\n--\n" + box("first") + box("second"))
      << "show new-boxes prints the boxes since the last show, show boxes all of them";

  std::string id =
      fx.addMail("Main.mb\\!!!!Inbox\\",
                 "From: a@x\r\nX-Link: one\r\n two\r\nX-Other: b\r\nx-link: later\r\n\r\nX-Link: body\r\n");
  ASSERT_EQ(fx.run("show header " + id + " x-other X-Link"), "");
  EXPECT_NE(fx.output().find("X-Other: b\r\nX-Link: one\r\n two\r\n"), std::string::npos) << fx.output();
  EXPECT_NE(fx.run("show header " + id + " X-Missing"), "");

  std::string file = (fx.dataFolder() / "sep.idx").string();
  ASSERT_EQ(fx.run("write-bytes " + file + " \"a\\x01b\\x1f\\r\\n\\tc\\r\\n\"\nshow file " + file), "");
  EXPECT_NE(fx.output().find("a\xE2\x90\x81"
                             "b\xE2\x90\x9F\r\n\tc\r\n"),
            std::string::npos)
      << fx.output();
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
            "a\x01"
            "b\x1f\r\n\tc\r\n");
}

std::vector<UINT> postedToMain;
HHOOK keyHook = nullptr;
LRESULT CALLBACK recordPosted(int code, WPARAM flag, LPARAM lParam) {
  if (code == HC_ACTION && flag == PM_REMOVE) postedToMain.push_back(reinterpret_cast<MSG*>(lParam)->message);
  return CallNextHookEx(keyHook, code, flag, lParam);
}

TEST_F(ScriptRun, AKeyThePluginLeavesIsPostedToTheMainWindowAndChoicesAreCommands) {
  ASSERT_TRUE(fx.loadLinkedPlugin());
  keyHook = SetWindowsHookExA(WH_GETMESSAGE, recordPosted, nullptr, 0);
  ASSERT_NE(keyHook, nullptr);
  postedToMain.clear();
  ASSERT_EQ(fx.run("key 0x41 0x20\nexpect result 0\nchoose 2 Rename"), "") << fx.output();
  EXPECT_EQ(postedToMain, (std::vector<UINT>{0x0100, WM_COMMAND}));
  EXPECT_NE(fx.run("choose 1 Nothing-Like-This").find("no menu item"), std::string::npos);
  UnhookWindowsHookEx(keyHook);
}

// A settings-like dialog: a list of three slots with item data, a hot-key
// field showing the chosen slot's value, an edit and a check box.
WORD slotKeys[3] = {0x0146, 0, 0x0246};
int currentSlot = -1;
INT_PTR CALLBACK slotDialog(HWND d, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    for (int i = 0; i < 3; ++i) {
      auto at =
          static_cast<WPARAM>(SendDlgItemMessageA(d, 20, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("slot")));
      SendDlgItemMessageA(d, 20, LB_SETITEMDATA, at, i);
    }
    SetDlgItemTextA(d, 21, "->");
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case 20: {
      if (currentSlot >= 0)
        slotKeys[currentSlot] = static_cast<WORD>(SendDlgItemMessageA(d, 22, HKM_GETHOTKEY, 0, 0));
      auto sel = static_cast<WPARAM>(SendDlgItemMessageA(d, 20, LB_GETCURSEL, 0, 0));
      currentSlot = static_cast<int>(SendDlgItemMessageA(d, 20, LB_GETITEMDATA, sel, 0));
      SendDlgItemMessageA(d, 22, HKM_SETHOTKEY, slotKeys[currentSlot], 0);
      return TRUE;
    }
    case IDOK:
      if (currentSlot >= 0)
        slotKeys[currentSlot] = static_cast<WORD>(SendDlgItemMessageA(d, 22, HKM_GETHOTKEY, 0, 0));
      EndDialog(d, IDOK);
      return TRUE;
    case IDCANCEL:
      EndDialog(d, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

TEST_F(ScriptRun, DialogActionsDriveAnOpenDialogAndCheckItsControls) {
  ASSERT_EQ(fx.run("dialog expect-text 21 ->\n"
                   "dialog expect-items 20 0 1 2\n"
                   "dialog select 20 2\n"
                   "dialog expect-hotkey 22 0x0246\n"
                   "dialog hotkey 22 0x0441\n"
                   "dialog select 20 0\n"
                   "dialog expect-hotkey 22 0x0146\n"
                   "dialog expect-selected 20 0\n"
                   "dialog ok"),
            "");
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), fx.windows().mainWindow(), slotDialog, 0), IDOK);
  EXPECT_EQ(fx.run("echo after"), "") << "every check inside the dialog passed";
  EXPECT_EQ(slotKeys[2], 0x0441);
  EXPECT_EQ(fx.windows().pendingDialogActions(), 0u);
}

TEST_F(ScriptRun, AFailedCheckInsideADialogFailsTheLineThatOpenedIt) {
  ASSERT_EQ(fx.run("dialog expect-text 21 wrong\ndialog cancel"), "");
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, slotDialog, 0), IDCANCEL);
  std::string error = fx.run("echo next");
  EXPECT_NE(error.find("control 21 shows \"->\", expected \"wrong\""), std::string::npos) << error;
}

// Windows kept in memory are never drawn: a capture is refused, not faked
// with an empty picture.
TEST_F(ScriptRun, ACaptureOnTheLinuxHostFailsTheLineAndWritesNoFile) {
  std::string path = (fx.dataFolder() / "shot.bmp").string();
  ASSERT_EQ(fx.run("dialog capture " + path + "\ndialog cancel"), "");
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, slotDialog, 0), IDCANCEL);
  std::string error = fx.run("echo next");
  EXPECT_NE(error.find("cannot capture " + path + ": the Linux host keeps its windows in memory"),
            std::string::npos)
      << error;
  EXPECT_FALSE(std::filesystem::exists(path));
}

INT_PTR interactiveResult = 0;
void WINAPI openSlotDialog(HWND, LPARAM) {
  interactiveResult = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, slotDialog, 0);
}

TEST(InteractiveRun, AnOpenDialogTakesTheUsersNextLines) {
  std::ostringstream out;
  auto windows = makeWindowSystem();
  Script script(*windows, out);
  UINT id = BKA_RegisterCommand("open", 1, openSlotDialog);
  std::istringstream session("post " + std::to_string(id) +
                             "\nexpect-text 21 wrong\nexpect-text 21 ->\ncancel\n");
  EXPECT_EQ(script.run(session, "input", true), 0) << out.str();
  EXPECT_EQ(interactiveResult, IDCANCEL);
  EXPECT_NE(out.str().find("dialog 100> "), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("error: dialog 100: control 21 shows"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace lumo::hostsim
