// Dialog actions of the script language, `dialog ACTION ...`: queued before
// the event that opens a dialog, run one after another once it is
// initialised, until the dialog ends.
#include <cstdlib>

#include "host-sim/core/script.h"
#include "host-sim/core/script_text.h"

namespace lumo::hostsim {

using namespace script_text;

namespace {

long number(const std::string& s) { return std::strtol(s.c_str(), nullptr, 0); }
int controlId(const Words& w) { return static_cast<int>(number(w[2])); }

// A command from a control to its dialog, as the control itself sends it.
void sendCommand(HWND dialog, int id, int code) {
  HWND control = GetDlgItem(dialog, id);
  SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>((code << 16) | (id & 0xffff)),
               reinterpret_cast<LPARAM>(control));
}

// An action given fewer words than it needs is not one.
std::string unknownAction(const Words& w) { return "unknown dialog action \"" + join(w, 1) + "\""; }

}  // namespace

std::span<const ScriptCommand> Script::dialogActions() {
  static const ScriptCommand table[] = {
      {"ok", "", "press OK", &Script::dialogEnd},
      {"cancel", "", "press Cancel", &Script::dialogEnd},
      {"command", "ID [CODE]", "WM_COMMAND from control ID", &Script::dialogCommand},
      {"text", "ID TEXT", "set a control's text", &Script::dialogText},
      {"check", "ID 0|1", "set a check box, then a command from it", &Script::dialogCheck},
      {"select", "ID INDEX", "select a list item, then LBN_SELCHANGE", &Script::dialogSelect},
      {"hotkey", "ID VALUE", "set a hot-key control, then EN_CHANGE", &Script::dialogHotkey},
      {"capture", "FILE", "write the dialog as drawn to a 24-bit BMP (Windows host)", &Script::dialogCapture},
      {"expect-text", "ID TEXT", "a control shows TEXT", &Script::dialogExpectText},
      {"expect-check", "ID N", "a check box's state", &Script::dialogExpectValue},
      {"expect-hotkey", "ID N", "a hot-key control's value", &Script::dialogExpectValue},
      {"expect-selected", "ID N", "a list's selected index", &Script::dialogExpectValue},
      {"expect-items", "ID DATA...", "a list's item data in order", &Script::dialogExpectItems},
  };
  return table;
}

std::string Script::dialog(const Words& w) {
  if (w.size() < 2) return "dialog needs an action";
  for (const ScriptCommand& row : dialogActions())
    if (w[1] == row.name) return (this->*row.run)(w);
  return unknownAction(w);
}

// dialog ok|cancel
std::string Script::dialogEnd(const Words& w) {
  int id = w[1] == "ok" ? IDOK : IDCANCEL;
  windows_.queueDialogAction([=](HWND d) {
    sendCommand(d, id, 0);
    return std::string();
  });
  return {};
}

// dialog command ID [CODE]
std::string Script::dialogCommand(const Words& w) {
  if (w.size() < 3) return unknownAction(w);
  int id = controlId(w);
  int code = w.size() >= 4 ? static_cast<int>(number(w[3])) : 0;
  windows_.queueDialogAction([=](HWND d) {
    sendCommand(d, id, code);
    return std::string();
  });
  return {};
}

// dialog text ID TEXT
std::string Script::dialogText(const Words& w) {
  if (w.size() < 3) return unknownAction(w);
  int id = controlId(w);
  std::string text = c(w.size() >= 4 ? w[3] : "");
  windows_.queueDialogAction([=, &windows = windows_](HWND d) {
    windows.setControlText(d, id, text);
    return std::string();
  });
  return {};
}

// dialog check ID 0|1
std::string Script::dialogCheck(const Words& w) {
  if (w.size() < 4) return unknownAction(w);
  int id = controlId(w);
  auto state = static_cast<WPARAM>(number(w[3]));
  windows_.queueDialogAction([=, &windows = windows_](HWND d) {
    windows.sendToControl(d, id, BM_SETCHECK, state, 0);
    sendCommand(d, id, 0);  // BN_CLICKED
    return std::string();
  });
  return {};
}

// dialog select ID INDEX
std::string Script::dialogSelect(const Words& w) {
  if (w.size() < 4) return unknownAction(w);
  int id = controlId(w);
  auto index = static_cast<WPARAM>(number(w[3]));
  windows_.queueDialogAction([=, &windows = windows_](HWND d) {
    if (windows.sendToControl(d, id, LB_SETCURSEL, index, 0) == LB_ERR)
      return std::string("no list item ") + std::to_string(index);
    sendCommand(d, id, 1);  // LBN_SELCHANGE
    return std::string();
  });
  return {};
}

// dialog hotkey ID VALUE
std::string Script::dialogHotkey(const Words& w) {
  if (w.size() < 4) return unknownAction(w);
  int id = controlId(w);
  auto value = static_cast<WPARAM>(number(w[3]));
  windows_.queueDialogAction([=, &windows = windows_](HWND d) {
    windows.sendToControl(d, id, HKM_SETHOTKEY, value, 0);
    sendCommand(d, id, 0x0300);  // EN_CHANGE
    return std::string();
  });
  return {};
}

// dialog capture FILE
std::string Script::dialogCapture(const Words& w) {
  if (w.size() < 3) return unknownAction(w);
  std::string path = w[2];
  windows_.queueDialogAction([=, &windows = windows_](HWND d) { return windows.captureWindow(d, path); });
  return {};
}

// dialog expect-text ID TEXT
std::string Script::dialogExpectText(const Words& w) {
  if (w.size() < 3) return unknownAction(w);
  int id = controlId(w);
  std::string text = c(w.size() >= 4 ? w[3] : "");
  windows_.queueDialogAction([=, &windows = windows_](HWND d) {
    std::string actual = windows.controlText(d, id);
    return actual == text ? std::string()
                          : "control " + std::to_string(id) + " shows \"" + u(actual) + "\", expected \"" +
                                u(text) + "\"";
  });
  return {};
}

// dialog expect-check|expect-hotkey|expect-selected ID N
std::string Script::dialogExpectValue(const Words& w) {
  if (w.size() < 4) return unknownAction(w);
  const std::string kind = w[1];
  int id = controlId(w);
  LRESULT want = number(w[3]);
  UINT message = kind == "expect-check"    ? BM_GETCHECK
                 : kind == "expect-hotkey" ? HKM_GETHOTKEY
                                           : LB_GETCURSEL;
  windows_.queueDialogAction([=, &windows = windows_](HWND d) {
    LRESULT actual = windows.sendToControl(d, id, message, 0, 0);
    return actual == want ? std::string()
                          : "control " + std::to_string(id) + " " + kind.substr(7) + " is " +
                                std::to_string(actual) + ", expected " + std::to_string(want);
  });
  return {};
}

// dialog expect-items ID DATA...
std::string Script::dialogExpectItems(const Words& w) {
  if (w.size() < 3) return unknownAction(w);
  int id = controlId(w);
  std::vector<std::string> want(w.begin() + 3, w.end());
  windows_.queueDialogAction([=, &windows = windows_](HWND d) {
    std::vector<std::string> actual;
    LRESULT count = windows.sendToControl(d, id, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      LRESULT data = windows.sendToControl(d, id, LB_GETITEMDATA, static_cast<WPARAM>(i), 0);
      actual.push_back(std::to_string(data));
    }
    std::string got = join(actual, 0, ",");
    std::string expected = join(want, 0, ",");
    return got == expected ? std::string()
                           : "list " + std::to_string(id) + " item data " + got + ", expected " + expected;
  });
  return {};
}

}  // namespace lumo::hostsim
