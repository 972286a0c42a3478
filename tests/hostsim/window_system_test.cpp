// The host's window system as the plug-in meets it, on either platform: in
// memory on Linux, real user32 windows, boxes and dialogs on Windows. The
// calls come from a library of their own (ui_caller), as the plug-in's do.
#include "host-sim/core/window_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui_caller.h"

namespace lumo::hostsim {
namespace {

struct Seen {
  UINT message;
  WPARAM wParam;
  WPARAM removal;  // PM_NOREMOVE / PM_REMOVE for posted messages
};
std::vector<Seen> posted;
std::vector<Seen> sent;
struct Notice {
  HWND to;
  HWND from;
  UINT code;
};
std::vector<Notice> notices;
HHOOK getMessageHook = nullptr;
HHOOK callWndHook = nullptr;
constexpr WPARAM kProbe = 4242;

LRESULT CALLBACK onGetMessage(int code, WPARAM removal, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && msg->message == WM_COMMAND && msg->wParam >= kProbe)
    posted.push_back({msg->message, msg->wParam, removal});
  return CallNextHookEx(getMessageHook, code, removal, lParam);
}

LRESULT CALLBACK onCallWnd(int code, WPARAM wParam, LPARAM lParam) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && cwp->message == WM_COMMAND && cwp->wParam >= kProbe)
    sent.push_back({cwp->message, cwp->wParam, 0});
  return CallNextHookEx(callWndHook, code, wParam, lParam);
}

LRESULT CALLBACK onNotify(int code, WPARAM wParam, LPARAM lParam) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && cwp->message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(cwp->lParam);
    notices.push_back({cwp->hwnd, header->hwndFrom, header->code});
  }
  return CallNextHookEx(callWndHook, code, wParam, lParam);
}

class WindowSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windows = makeWindowSystem();
    setActiveWindowSystem(windows.get());
    windows->watchModule(uiCallerModule());
    windows->setWindowProc([this](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
      if (message == WM_COMMAND && wParam >= kProbe) reached.push_back(wParam);
      return 0;
    });
    posted.clear();
    sent.clear();
    notices.clear();
  }
  void TearDown() override {
    windows->setWindowProc(nullptr);
    setActiveWindowSystem(nullptr);
  }
  DWORD uiThread() { return GetWindowThreadProcessId(windows->mainWindow(), nullptr); }

  std::unique_ptr<WindowSystem> windows;
  std::vector<WPARAM> reached;
};

TEST_F(WindowSystemTest, BoxesTakeQueuedAnswersAndAreRecordedAsCalled) {
  windows->queueAnswer(IDNO);
  windows->queueAnswer(IDOK);
  EXPECT_EQ(uiShowBox(windows->mainWindow(), "Delete it?", "Lumo", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(uiShowBox(nullptr, "Done.", "Lumo", MB_OK | MB_ICONINFORMATION), IDOK);
  EXPECT_TRUE(windows->takeErrors().empty());
  ASSERT_EQ(windows->messageBoxes().size(), 2u);
  const MessageBoxRecord& first = windows->messageBoxes()[0];
  EXPECT_EQ(first.owner, windows->mainWindow());
  EXPECT_EQ(first.title, "Lumo");
  EXPECT_EQ(first.text, "Delete it?");
  EXPECT_EQ(first.type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(first.answer, IDNO);
  EXPECT_EQ(windows->messageBoxes()[1].owner, nullptr);
  EXPECT_EQ(windows->pendingAnswers(), 0u);
}

TEST_F(WindowSystemTest, ABoxWithoutAnAnswerIsClosedAndReported) {
  EXPECT_EQ(uiShowBox(windows->mainWindow(), "Unexpected", "Lumo", MB_YESNO), IDNO);
  auto errors = windows->takeErrors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Unexpected"), std::string::npos);
  EXPECT_FALSE(windows->messageBoxes().back().queued);
}

TEST_F(WindowSystemTest, AnAnswerTheBoxCannotGiveIsReported) {
  windows->queueAnswer(IDYES);
  EXPECT_NE(uiShowBox(windows->mainWindow(), "Only OK", "Lumo", MB_OK), IDYES);
  EXPECT_EQ(windows->takeErrors().size(), 1u);
}

TEST_F(WindowSystemTest, PostedMessagesPassTheMessageHooksThenReachTheWindow) {
  getMessageHook = uiSetHook(WH_GETMESSAGE, onGetMessage, uiThread());
  ASSERT_NE(getMessageHook, nullptr);
  EXPECT_EQ(windows->hookCount(WH_GETMESSAGE), 1);
  windows->postMessage(windows->mainWindow(), WM_COMMAND, kProbe, 0, true);
  windows->postMessage(windows->mainWindow(), WM_COMMAND, kProbe + 1, 0, false);
  ASSERT_EQ(posted.size(), 3u);
  EXPECT_EQ(posted[0].removal, static_cast<WPARAM>(PM_NOREMOVE));
  EXPECT_EQ(posted[1].removal, static_cast<WPARAM>(PM_REMOVE));
  EXPECT_EQ(posted[2].wParam, kProbe + 1);
  EXPECT_EQ(posted[2].removal, static_cast<WPARAM>(PM_REMOVE));
  EXPECT_EQ(reached, (std::vector<WPARAM>{kProbe, kProbe + 1}));
  EXPECT_TRUE(uiUnhook(getMessageHook));
  EXPECT_EQ(windows->hookCount(WH_GETMESSAGE), 0);
  windows->postMessage(windows->mainWindow(), WM_COMMAND, kProbe + 2, 0, false);
  EXPECT_EQ(posted.size(), 3u);
  EXPECT_EQ(reached.size(), 3u);
}

TEST_F(WindowSystemTest, SentMessagesPassTheCallWindowHooksThenReachTheWindow) {
  callWndHook = uiSetHook(WH_CALLWNDPROC, onCallWnd, uiThread());
  ASSERT_NE(callWndHook, nullptr);
  EXPECT_EQ(windows->hookCount(WH_CALLWNDPROC), 1);
  windows->sendMessage(windows->mainWindow(), WM_COMMAND, kProbe + 5, 0);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].wParam, kProbe + 5);
  EXPECT_EQ(reached, (std::vector<WPARAM>{kProbe + 5}));
  EXPECT_TRUE(uiUnhook(callWndHook));
  EXPECT_EQ(windows->hookCount(WH_CALLWNDPROC), 0);
}

TEST_F(WindowSystemTest, ADoubleClickInTheListNotifiesTheMainWindowThroughTheCallWindowHooks) {
  callWndHook = uiSetHook(WH_CALLWNDPROC, onNotify, uiThread());
  ASSERT_NE(callWndHook, nullptr);
  windows->doubleClickList();
  EXPECT_TRUE(uiUnhook(callWndHook));
  // A real list view may notify more (NM_RELEASEDCAPTURE first); NM_DBLCLK
  // comes exactly once, from the list to its parent.
  int doubleClicks = 0;
  for (const Notice& n : notices) {
    if (n.code != static_cast<UINT>(NM_DBLCLK)) continue;
    ++doubleClicks;
    EXPECT_EQ(n.from, windows->listWindow());
    EXPECT_EQ(n.to, windows->mainWindow());
  }
  EXPECT_EQ(doubleClicks, 1);
}

TEST_F(WindowSystemTest, MenusKeepItemsSeparatorsAndOrder) {
  HMENU menu = windows->createMenu({{101, "Open", false}, {0, "", true}, {32836, "Delete", false}});
  auto items = windows->menuItems(menu);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].id, 101u);
  EXPECT_EQ(items[0].caption, "Open");
  EXPECT_TRUE(items[1].separator);
  EXPECT_EQ(items[2].caption, "Delete");
  windows->destroyMenu(menu);
}

TEST_F(WindowSystemTest, DialogsAreDrivenControlByControl) {
  auto& w = *windows;
  w.queueDialogAction([&](HWND d) {
    return w.controlText(d, 1004) == "init" ? std::string() : "edit shows " + w.controlText(d, 1004);
  });
  w.queueDialogAction([&](HWND d) {
    w.setControlText(d, 1004, "typed");
    w.sendToControl(d, 1000, BM_SETCHECK, BST_UNCHECKED, 0);
    w.sendToControl(d, 1200, LB_SETCURSEL, 1, 0);
    w.sendToControl(d, 1300, HKM_SETHOTKEY, 0x0641, 0);
    return std::string();
  });
  w.queueDialogAction([](HWND d) {
    SendMessageA(d, WM_COMMAND, IDOK, 0);
    return std::string();
  });
  UiDialogOutcome outcome;
  EXPECT_EQ(uiRunDialog(w.mainWindow(), &outcome), IDOK);
  EXPECT_TRUE(w.takeErrors().empty());
  EXPECT_STREQ(outcome.text, "typed");
  EXPECT_EQ(outcome.checked, BST_UNCHECKED);
  EXPECT_EQ(outcome.selectedData, 20);
  EXPECT_EQ(outcome.hotkey, 0x0641);
  ASSERT_EQ(w.dialogs().size(), 1u);
  EXPECT_EQ(w.dialogs()[0].templateId, 100);
  EXPECT_EQ(w.dialogs()[0].result, IDOK);
  EXPECT_EQ(w.pendingDialogActions(), 0u);
}

TEST_F(WindowSystemTest, ABoxOpenedFromADialogIsAnsweredInsideIt) {
  auto& w = *windows;
  w.queueAnswer(IDYES);
  HWND seen = nullptr;
  w.queueDialogAction([&](HWND d) {
    seen = d;
    SendMessageA(d, WM_COMMAND, 1100, 0);
    return std::string();
  });
  w.queueDialogAction([](HWND d) {
    SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
    return std::string();
  });
  UiDialogOutcome outcome;
  EXPECT_EQ(uiRunDialog(w.mainWindow(), &outcome), IDCANCEL);
  EXPECT_EQ(outcome.askAnswer, IDYES);
  ASSERT_EQ(w.messageBoxes().size(), 1u);
  EXPECT_EQ(w.messageBoxes()[0].owner, seen);
  EXPECT_TRUE(w.takeErrors().empty());
}

TEST_F(WindowSystemTest, ADialogLeftWithoutActionsIsCancelledAndReported) {
  UiDialogOutcome outcome;
  EXPECT_EQ(uiRunDialog(windows->mainWindow(), &outcome), IDCANCEL);
  auto errors = windows->takeErrors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("100"), std::string::npos);
}

}  // namespace
}  // namespace lumo::hostsim
