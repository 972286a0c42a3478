// The window system the host runs on, as the host and its scripts use it:
// the host's windows, menus as data, the message path through the plug-in's
// hooks, message boxes with queued answers and modal dialogs driven by
// queued actions. Linux serves it in memory (host-sim/linux/); a Windows
// build serves it with real windows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace lumo::hostsim {

struct MessageBoxRecord {
  HWND owner = nullptr;
  std::string title;  // code page 932, as the plug-in passed it
  std::string text;
  UINT type = 0;
  int answer = 0;
  bool queued = true;  // false: no answer was queued (a script error)

  // A box as MessageBoxA was asked for it; a null caption shows "Error".
  static MessageBoxRecord of(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    return {owner, caption ? caption : "Error", text ? text : "", type, 0, true};
  }
};

struct MenuItem {
  UINT id = 0;
  std::string caption;  // empty for a separator
  bool separator = false;
};

// One step of driving an open dialog; returns an error text or empty.
using DialogAction = std::function<std::string(HWND dialog)>;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // The host's windows: main window, folder tree, mail list, mail view, and
  // the view's editor child (class "Edit", id 114).
  virtual HWND mainWindow() const = 0;
  virtual HWND treeWindow() const = 0;
  virtual HWND listWindow() const = 0;
  virtual HWND viewWindow() const = 0;
  virtual HWND viewEditor() const = 0;
  virtual void setEditorReadOnly(bool readOnly) = 0;
  virtual bool editorReadOnly() const = 0;

  // Receives every message that reaches a host window after the hooks.
  virtual void setWindowProc(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> proc) = 0;
  // Posts a message and lets the host's loop take it: the WH_GETMESSAGE hooks
  // see it first looked at (PM_NOREMOVE) when `peekFirst`, then taken
  // (PM_REMOVE); then it is dispatched to the window.
  virtual LRESULT postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool peekFirst) = 0;
  // Sends a message: the WH_CALLWNDPROC hooks of the window's thread, then
  // the window.
  virtual LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // The user double-clicks in the mail list: the list sends its parent, the
  // main window, WM_NOTIFY with NM_DBLCLK (through the WH_CALLWNDPROC hooks).
  virtual void doubleClickList() = 0;
  // Number of hooks installed of a kind (WH_GETMESSAGE, WH_CALLWNDPROC).
  virtual int hookCount(int kind) const = 0;

  virtual HMENU createMenu(const std::vector<MenuItem>& items) = 0;
  virtual std::vector<MenuItem> menuItems(HMENU menu) const = 0;
  virtual void destroyMenu(HMENU menu) = 0;

  // Message boxes: answers are taken in order; without one the box is
  // answered by the prompt (interactive) or fails the run.
  virtual void queueAnswer(int answer) = 0;
  virtual std::size_t pendingAnswers() const = 0;
  virtual void setPrompt(std::function<int(const MessageBoxRecord&)> prompt) = 0;
  virtual const std::vector<MessageBoxRecord>& messageBoxes() const = 0;

  // Dialogs: actions queued before the event that opens the dialog run in
  // order once it has been initialised, until one of them ends it.
  virtual void queueDialogAction(DialogAction action) = 0;
  virtual std::size_t pendingDialogActions() const = 0;
  // Asked for more actions when an open dialog has none left (interactive
  // use); returns false when none will come.
  virtual void setDialogRefill(std::function<bool(int templateId)> refill) = 0;
  // Helpers used by dialog actions, on the open dialog.
  virtual LRESULT sendToControl(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual std::string controlText(HWND dialog, int id) = 0;
  virtual void setControlText(HWND dialog, int id, const std::string& text) = 0;
  virtual bool dialogEnded(HWND dialog) const = 0;
  // Paints a window with its children and writes it, as the screen shows it,
  // to a 24-bit BMP file; returns an error text or empty. Windows kept in
  // memory are never drawn, so there it is an error.
  virtual std::string captureWindow(HWND window, const std::string& path) = 0;
  // Templates of the dialogs opened so far, with their results.
  struct DialogRecord {
    int templateId = 0;
    INT_PTR result = 0;
  };
  virtual const std::vector<DialogRecord>& dialogs() const = 0;

  // Watches a loaded module's user-interface calls where the window system
  // needs to see them (the Windows host); elsewhere they reach it anyway.
  virtual void watchModule(HMODULE) {}

  // Errors found by the window system (missing answers, dialogs left open);
  // the script runner reports and clears them.
  virtual std::vector<std::string> takeErrors() = 0;
};

// Whether a box with the buttons of `type` can give `answer`.
bool answerFits(UINT type, int answer);
// The answer of a box nobody answered: the button that closes it harmlessly.
int fallbackAnswer(UINT type);

// The window system of this platform.
std::unique_ptr<WindowSystem> makeWindowSystem();
// The window system serving the Win32 user-interface names, or null.
WindowSystem* activeWindowSystem();
void setActiveWindowSystem(WindowSystem* windows);

}  // namespace lumo::hostsim
