// The hooks see every message of the host's user interface: one that they
// do not act on must cost the host no allocation and no file access. This
// program counts every allocation (support/counting_new.h) and records the
// platform layer's file steps around calls of the installed hook procedures
// (and the hotkey dispatch) with such messages.
#include <cstring>

#include "host/entry_points.h"
#include "linkindex/link_record.h"
#include "platform/file.h"
#include "support/counting_new.h"
#include "ui/hook_decisions.h"
#include "ui/plugin_on_host.h"

namespace lumo {
namespace {

constexpr WPARAM kHostCommand = 40001;  // a command of the host's own

class QuietHooks : public testing::PluginOnHost {
 protected:
  HWND main = nullptr;
  HWND list = nullptr;

  void SetUp() override {
    PluginOnHost::SetUp();
    std::string target = fx.addMail(links, fx.mailSource("Target", "<t1@example.com>"));
    std::string shortcut = fx.addMail(
        links, "Message-ID: <t1@2711_12.LuMO.example.com>\r\nX-LuMOID: 2711_12\r\n\r\nShortcut.\r\n");
    LinkRecord record;
    record.setFields("2711_12", links.c_str(), target.c_str(), "<t1@example.com>", shortcut.c_str());
    ASSERT_EQ(record.appendTo(LinkIndexPath), 1);
    run("open-folder " + links + "\nselect @2");
    // A shortcut on view with its target known, a hotkey set: the hooks have
    // everything they could act on, and still must not for these messages.
    ShortcutOpened = 1;
    std::strcpy(SelectedTargetId, target.c_str());
    HotkeyTable[3] = 0x0246;  // Ctrl+F
    main = fx.windows().mainWindow();
    list = fx.windows().listWindow();
  }
  void TearDown() override {
    platform::clearFaults();
    PluginOnHost::TearDown();
  }

  void startWatching() {
    platform::recordSteps();
    testing::AllocationCount = 0;
    testing::CountAllocations = true;
  }
  long stopWatching() {
    testing::CountAllocations = false;
    return testing::AllocationCount;
  }

  LRESULT queued(UINT message, WPARAM wParam, WPARAM removal) {
    MSG msg{main, message, wParam, 0, 0, {0, 0}};
    return GetMessageHookProc(HC_ACTION, removal, reinterpret_cast<LPARAM>(&msg));
  }
  LRESULT sent(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    CWPSTRUCT cwp{lParam, wParam, message, main};
    return CallWndProcHookProc(HC_ACTION, 1, reinterpret_cast<LPARAM>(&cwp));
  }
  LRESULT listSent(UINT message, WPARAM wParam) {
    CWPSTRUCT cwp{0, wParam, message, list};
    return ListCallWndProcHookProc(HC_ACTION, 1, reinterpret_cast<LPARAM>(&cwp));
  }
  LRESULT notified(HWND from, UINT code) {
    NMHDR header{from, 0, code};
    CWPSTRUCT cwp{reinterpret_cast<LPARAM>(&header), 0, WM_NOTIFY, main};
    return ListCallWndProcHookProc(HC_ACTION, 1, reinterpret_cast<LPARAM>(&cwp));
  }
};

TEST_F(QuietHooks, MessagesTheHooksLeaveAloneCostNoAllocationAndNoFileAccess) {
  MSG msg{main, WM_COMMAND, CommandDelete, 0, 0, {0, 0}};
  startWatching();
  for (int round = 0; round < 100; ++round) {
    queued(0x0100 /* WM_KEYDOWN */, 0x46, PM_REMOVE);
    queued(0x000F /* WM_PAINT */, 0, PM_NOREMOVE);
    queued(WM_COMMAND, kHostCommand, PM_REMOVE);                        // passes, lowers nothing below 0
    queued(WM_COMMAND, CommandDirectEdit, PM_NOREMOVE);                 // only looked at
    queued(WM_COMMAND, CommandDelete, PM_NOREMOVE);                     // only looked at
    GetMessageHookProc(-1, PM_REMOVE, reinterpret_cast<LPARAM>(&msg));  // not for the plug-in
    sent(0x000F /* WM_PAINT */, 0);
    sent(WM_COMMAND, kHostCommand);
    sent(WM_NOTIFY, 0);
    notified(list, static_cast<UINT>(-2) /* NM_CLICK */);
    notified(fx.windows().treeWindow(), static_cast<UINT>(NM_DBLCLK));  // not from the list
    listSent(WM_COMMAND, kHostCommand);
    listSent(WM_NOTIFY, 0);               // a notification without its header
    BKC_OnKeyDispatch(main, 0x46, 0x40);  // Shift+F: no slot
    BKC_OnKeyDispatch(main, 0x47, 0x20);  // Ctrl+G: no slot
  }
  EXPECT_EQ(stopWatching(), 0);
  EXPECT_TRUE(platform::recordedSteps().empty()) << platform::recordedSteps().size() << " file steps";
  EXPECT_EQ(EditRefusalCount, 0);
  EXPECT_EQ(DoubleClickArmed, 1);
}

// The instruments see what an acting hook does: the same watch around a
// delete command, which reads and rewrites the link index.
TEST_F(QuietHooks, AnActingHookIsSeenByTheSameWatch) {
  startWatching();
  queued(WM_COMMAND, CommandDelete, PM_REMOVE);
  EXPECT_GT(stopWatching(), 0);
  EXPECT_FALSE(platform::recordedSteps().empty());
  EXPECT_EQ(testing::readBytes(LinkIndexPath), "");
}

}  // namespace
}  // namespace lumo
