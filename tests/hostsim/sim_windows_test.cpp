// The Linux host's window system under the Win32 names the plug-in calls:
// the hook chains and message path, menus, message boxes and dialogs.
#include "host-sim/linux/sim_windows.h"

#include <gtest/gtest.h>

#include <cstring>

#include "res/resource_ids.h"

namespace lumo::hostsim {
namespace {

struct Windows : ::testing::Test {
  SimWindows sim;
  void SetUp() override { setActiveWindowSystem(&sim); }
  void TearDown() override { setActiveWindowSystem(nullptr); }
};

// What each test hook saw: "name:kind-specific detail".
std::vector<std::string> seen;
HHOOK hookA = nullptr, hookB = nullptr, hookC = nullptr;

LRESULT CALLBACK getMessageA(int code, WPARAM flag, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  seen.push_back("A:" + std::to_string(code) + ":" + (flag == PM_REMOVE ? "remove" : "peek") + ":" +
                 std::to_string(msg->message) + ":" + std::to_string(LOWORD(msg->wParam)));
  return CallNextHookEx(hookA, code, flag, lParam);
}
LRESULT CALLBACK callWndProcB(int code, WPARAM flag, LPARAM lParam) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(lParam);
  seen.push_back("B:" + std::to_string(code) + ":" + std::to_string(flag) + ":" +
                 std::to_string(cwp->message) + ":" + std::to_string(LOWORD(cwp->wParam)));
  return CallNextHookEx(hookB, code, flag, lParam);
}
LRESULT CALLBACK callWndProcC(int code, WPARAM flag, LPARAM lParam) {
  seen.push_back("C");
  return CallNextHookEx(hookC, code, flag, lParam) + 10;
}

TEST_F(Windows, PostedMessagesPassGetMessageHooksPeekedThenRemovedSentOnesCallWndProc) {
  std::vector<std::string> delivered;
  sim.setWindowProc([&](HWND, UINT m, WPARAM w, LPARAM) {
    delivered.push_back(std::to_string(m) + ":" + std::to_string(w));
    return 0;
  });
  DWORD thread = GetWindowThreadProcessId(sim.mainWindow(), nullptr);
  EXPECT_EQ(thread, GetWindowThreadProcessId(sim.listWindow(), nullptr));
  hookA = SetWindowsHookExA(WH_GETMESSAGE, getMessageA, nullptr, thread);
  hookB = SetWindowsHookExA(WH_CALLWNDPROC, callWndProcB, nullptr, thread);
  ASSERT_TRUE(hookA && hookB);
  seen.clear();
  sim.postMessage(sim.mainWindow(), WM_COMMAND, 108, 0, true);
  sim.sendMessage(sim.mainWindow(), WM_COMMAND, 32836, 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"A:0:peek:273:108", "A:0:remove:273:108", "B:0:1:273:32836"}));
  EXPECT_EQ(delivered, (std::vector<std::string>{"273:108", "273:32836"}));
  EXPECT_TRUE(UnhookWindowsHookEx(hookA));
  EXPECT_FALSE(UnhookWindowsHookEx(hookA));
  seen.clear();
  sim.postMessage(sim.mainWindow(), WM_COMMAND, 1, 0, false);
  EXPECT_TRUE(seen.empty());
}

TEST_F(Windows, LaterHooksRunFirstAndCallNextHookExChainsToEarlierOnes) {
  hookB = SetWindowsHookExA(WH_CALLWNDPROC, callWndProcB, nullptr, SimWindows::kUiThread);
  hookC = SetWindowsHookExA(WH_CALLWNDPROC, callWndProcC, nullptr, SimWindows::kUiThread);
  seen.clear();
  CWPSTRUCT cwp{0, 5, WM_COMMAND, sim.mainWindow()};
  // The chain as a hook sees it: C, then B through CallNextHookEx, then nothing.
  LRESULT r = callWndProcC(HC_ACTION, 1, reinterpret_cast<LPARAM>(&cwp));
  EXPECT_EQ(r, 10);
  EXPECT_EQ(seen, (std::vector<std::string>{"C", "B:0:1:273:5"}));
  seen.clear();
  sim.sendMessage(sim.listWindow(), WM_NOTIFY, 0, 0 + reinterpret_cast<LPARAM>(&cwp));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "C");
  EXPECT_EQ(SetWindowsHookExA(WH_CALLWNDPROC, callWndProcC, nullptr, 999), nullptr) << "no such thread";
}

TEST_F(Windows, HostWindowsHaveClassesIdsAndTheReadOnlyEditor) {
  std::vector<std::string> found;
  EnumChildWindows(
      sim.mainWindow(),
      [](HWND w, LPARAM out) -> BOOL {
        char name[31];
        GetClassNameA(w, name, sizeof name);
        reinterpret_cast<std::vector<std::string>*>(out)->push_back(std::string(name) + ":" +
                                                                    std::to_string(GetDlgCtrlID(w)));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  EXPECT_EQ(found, (std::vector<std::string>{"SysTreeView32:101", "SysListView32:102", "B2MailView:103",
                                             "Edit:114"}));
  EXPECT_TRUE(GetWindowLongA(sim.viewEditor(), GWL_STYLE) & ES_READONLY);
  sim.setEditorReadOnly(false);
  EXPECT_FALSE(GetWindowLongA(sim.viewEditor(), GWL_STYLE) & ES_READONLY);
  char tiny[3];
  EXPECT_EQ(GetClassNameA(sim.listWindow(), tiny, sizeof tiny), 2);
  EXPECT_STREQ(tiny, "Sy");
}

TEST_F(Windows, MenuInsertionByPositionAndCommand) {
  HMENU menu = sim.createMenu({{1, "a", false}, {2, "b", false}});
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  EXPECT_TRUE(InsertMenuA(menu, 1, MF_BYPOSITION | MF_STRING, 7, "x"));
  EXPECT_TRUE(InsertMenuA(menu, 99, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr));
  EXPECT_TRUE(InsertMenuA(menu, 2, MF_BYCOMMAND | MF_STRING, 8, "y"));
  EXPECT_FALSE(InsertMenuA(menu, 55, MF_BYCOMMAND | MF_STRING, 9, "z"));
  std::vector<std::string> order;
  for (const auto& item : sim.menuItems(menu))
    order.push_back(item.separator ? "---" : item.caption + std::to_string(item.id));
  EXPECT_EQ(order, (std::vector<std::string>{"a1", "x7", "y8", "b2", "---"}));
  EXPECT_EQ(GetMenuItemID(menu, 1), 7u);
  EXPECT_EQ(GetMenuItemID(menu, 5), static_cast<UINT>(-1));
}

TEST_F(Windows, MessageBoxesTakeQueuedAnswersAndAMissingAnswerIsAnError) {
  sim.queueAnswer(IDCANCEL);
  EXPECT_EQ(MessageBoxA(sim.mainWindow(), "text", "title", MB_OKCANCEL | MB_ICONINFORMATION), IDCANCEL);
  EXPECT_TRUE(sim.takeErrors().empty());
  ASSERT_EQ(sim.messageBoxes().size(), 1u);
  EXPECT_EQ(sim.messageBoxes()[0].owner, sim.mainWindow());
  EXPECT_EQ(sim.messageBoxes()[0].title, "title");
  EXPECT_EQ(sim.messageBoxes()[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONINFORMATION));
  EXPECT_EQ(MessageBoxA(nullptr, "again", "t", MB_OKCANCEL), IDCANCEL);
  auto errors = sim.takeErrors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("without a queued answer"), std::string::npos) << errors[0];
  EXPECT_NE(errors[0].find("again"), std::string::npos) << errors[0];
  sim.queueAnswer(IDYES);
  MessageBoxA(nullptr, "ok only", "t", MB_OK);
  EXPECT_EQ(sim.takeErrors().size(), 1u) << "Yes cannot answer an OK box";
  sim.setPrompt([](const MessageBoxRecord&) { return IDOK; });
  EXPECT_EQ(MessageBoxA(nullptr, "asked", "t", MB_OKCANCEL), IDOK);
  EXPECT_TRUE(sim.takeErrors().empty());
}

// A dialog with a list (item data), a check box, a hot-key field and an edit.
std::vector<std::string> dialogLog;
INT_PTR CALLBACK testDialog(HWND d, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    dialogLog.push_back("init:" + std::to_string(lParam));
    for (int i = 0; i < 3; ++i) {
      auto at =
          static_cast<WPARAM>(SendDlgItemMessageA(d, 10, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item")));
      SendDlgItemMessageA(d, 10, LB_SETITEMDATA, at, 100 + i);
    }
    SetDlgItemTextA(d, 11, "start");
    SendDlgItemMessageA(d, 12, BM_SETCHECK, BST_CHECKED, 0);
    return TRUE;
  }
  if (message == WM_COMMAND) {
    int id = LOWORD(wParam);
    if (id == 10) {
      auto sel = SendDlgItemMessageA(d, 10, LB_GETCURSEL, 0, 0);
      dialogLog.push_back(
          "list:" + std::to_string(SendDlgItemMessageA(d, 10, LB_GETITEMDATA, static_cast<WPARAM>(sel), 0)));
    } else if (id == 13) {
      dialogLog.push_back("hotkey:" + std::to_string(SendMessageA(GetDlgItem(d, 13), HKM_GETHOTKEY, 0, 0)));
    } else if (id == IDOK || id == IDCANCEL) {
      char text[64];
      GetDlgItemTextA(d, 11, text, sizeof text);
      dialogLog.push_back(std::string("end:") + text + ":" +
                          std::to_string(SendDlgItemMessageA(d, 12, BM_GETCHECK, 0, 0)));
      EndDialog(d, id);
    }
    return TRUE;
  }
  return FALSE;
}

TEST_F(Windows, DialogsRunInitialisationThenQueuedActionsUntilEnded) {
  dialogLog.clear();
  auto command = [](int id, int code) {
    return [=](HWND d) {
      SendMessageA(d, WM_COMMAND, static_cast<WPARAM>((code << 16) | id),
                   reinterpret_cast<LPARAM>(GetDlgItem(d, id)));
      return std::string();
    };
  };
  sim.queueDialogAction([&](HWND d) {
    sim.sendToControl(d, 10, LB_SETCURSEL, 2, 0);
    return std::string();
  });
  sim.queueDialogAction(command(10, 1));
  sim.queueDialogAction([&](HWND d) {
    sim.sendToControl(d, 13, HKM_SETHOTKEY, 0x0246, 0);
    sim.setControlText(d, 11, "typed");
    sim.sendToControl(d, 12, BM_SETCHECK, BST_UNCHECKED, 0);
    return std::string();
  });
  sim.queueDialogAction(command(13, 0));
  sim.queueDialogAction(command(IDOK, 0));
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), sim.mainWindow(), testDialog, 42), IDOK);
  EXPECT_EQ(dialogLog, (std::vector<std::string>{"init:42", "list:102", "hotkey:582", "end:typed:0"}));
  ASSERT_EQ(sim.dialogs().size(), 1u);
  EXPECT_EQ(sim.dialogs()[0].templateId, 100);
  EXPECT_TRUE(sim.takeErrors().empty());
}

TEST_F(Windows, ADialogLeftOpenWithoutActionsIsClosedWithAnError) {
  dialogLog.clear();
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, testDialog, 0), IDCANCEL);
  auto errors = sim.takeErrors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("dialog 100"), std::string::npos) << errors[0];
}

// The MEMO dialog's template: its editor and two buttons exist from the
// start, with the template's classes and captions, and no other control does.
std::string memoSeen;
INT_PTR CALLBACK memoDialog(HWND d, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    for (int id : {IDC_MEMO_TEXT, IDOK, IDCANCEL}) {
      char name[32] = "", text[32] = "";
      GetClassNameA(GetDlgItem(d, id), name, sizeof name);
      GetDlgItemTextA(d, id, text, sizeof text);
      memoSeen += std::to_string(GetDlgCtrlID(GetDlgItem(d, id))) + ":" + name + ":" + text + " ";
    }
    memoSeen += GetDlgItem(d, 1005) ? "1005 exists" : "no 1005";
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    std::string typed(64000, '\0');
    UINT length = GetDlgItemTextA(d, IDC_MEMO_TEXT, typed.data(), 64000);
    EndDialog(d, length);
    return TRUE;
  }
  return FALSE;
}

TEST_F(Windows, TheMemoTemplateHasItsControlsAndNoOthers) {
  memoSeen.clear();
  sim.queueDialogAction([&](HWND d) {
    sim.setControlText(d, IDC_MEMO_TEXT, std::string(70000, 'n'));
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    return std::string();
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MEMO), nullptr, memoDialog, 0), 63999)
      << "a 64000-byte buffer takes 63999 bytes and the terminating zero";
  EXPECT_EQ(memoSeen, "1004:Edit: 1:Button:OK 2:Button:\xb7\xac\xdd\xbe\xd9 no 1005");
  auto errors = sim.takeErrors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "dialog 102 has no control 1005");
}

}  // namespace
}  // namespace lumo::hostsim
