// Cost of the plug-in's hooks for the messages they leave alone, which is
// nearly every message of the host's user interface, and of a key press no
// hotkey takes: time per call beside a hook that only hands on, and the
// allocations made (support/counting_new.h counts them).
// Usage: hook_bench [calls]   (default 20,000,000)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "host/api/module_state.h"
#include "host/entry_points.h"
#include "settings/settings_store.h"
#include "shortcut/session_state.h"
#include "support/counting_new.h"
#include "ui/hook_decisions.h"
#include "ui/hooks.h"

namespace {

using Clock = std::chrono::steady_clock;

// A hook that only hands the message on: what any hook costs.
LRESULT CALLBACK passThrough(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

template <class F>
void measure(const char* what, long calls, F&& call) {
  double best = 1e300;
  long allocated = 0;
  for (int run = 0; run < 5; ++run) {
    long before = lumo::testing::AllocationCount;
    auto t0 = Clock::now();
    for (long i = 0; i < calls; ++i) call();
    best =
        std::min(best, std::chrono::duration<double, std::nano>(Clock::now() - t0).count() / double(calls));
    allocated += lumo::testing::AllocationCount - before;
  }
  std::printf("%-52s %7.2f ns/call  %ld allocations\n", what, best, allocated);
}

}  // namespace

int main(int argc, char** argv) {
  long calls = argc > 1 ? std::atol(argv[1]) : 20000000;
  lumo::testing::CountAllocations = true;
  HWND main = reinterpret_cast<HWND>(0x1001);
  HWND list = reinterpret_cast<HWND>(0x1002);
  lumo::ListWindow = list;
  // A shortcut on view and every hotkey set: the hooks have all they could
  // act on, and the messages below still ask for nothing.
  lumo::ShortcutOpened = 1;
  lumo::Settings.realMail = 1;
  for (int slot = 0; slot < lumo::HotkeyCount; ++slot)
    lumo::HotkeyTable[slot] = static_cast<std::uint16_t>(0x0241 + slot);  // Ctrl+A .. Ctrl+F

  MSG keyDown{main, 0x0100, 0x47, 0, 0, {0, 0}};
  MSG command{main, WM_COMMAND, 40001, 0, 0, {0, 0}};
  CWPSTRUCT paint{0, 0, 0x000F, main};
  NMHDR click{list, 102, static_cast<UINT>(-2)};
  CWPSTRUCT notify{reinterpret_cast<LPARAM>(&click), 102, WM_NOTIFY, main};
  volatile LRESULT sink = 0;

  std::printf("%ld calls per run, best of 5 runs; allocations over all runs\n", calls);
  measure("pass-through hook (CallNextHookEx only)", calls,
          [&] { sink = passThrough(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&keyDown)); });
  measure("GetMessageHookProc, WM_KEYDOWN taken", calls,
          [&] { sink = lumo::GetMessageHookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&keyDown)); });
  measure("GetMessageHookProc, host command taken", calls,
          [&] { sink = lumo::GetMessageHookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&command)); });
  measure("CallWndProcHookProc, WM_PAINT sent", calls,
          [&] { sink = lumo::CallWndProcHookProc(HC_ACTION, 1, reinterpret_cast<LPARAM>(&paint)); });
  measure("ListCallWndProcHookProc, NM_CLICK from the list", calls,
          [&] { sink = lumo::ListCallWndProcHookProc(HC_ACTION, 1, reinterpret_cast<LPARAM>(&notify)); });
  measure("BKC_OnKeyDispatch, Ctrl+G (no hotkey)", calls,
          [&] { sink = BKC_OnKeyDispatch(main, 0x47, 0x20); });
  return sink == 12345;  // keeps the calls; never true
}
