// The in-memory window system of the Linux host: windows with classes, ids,
// threads and styles; menus; hook chains and the message path; message boxes
// with queued answers; modal dialogs driven by queued actions.
#pragma once

#include <memory>
#include <set>
#include <utility>

#include "host-sim/core/scripted_windows.h"

namespace lumo::hostsim {

struct SimWindow {
  std::string className;
  int id = 0;
  DWORD thread = 0;
  LONG style = 0;
  SimWindow* parent = nullptr;
  std::vector<SimWindow*> children;
  std::string text;
  // Dialogs.
  DLGPROC proc = nullptr;
  bool fixedControls = false;  // a known template: no control is added later
  bool ended = false;
  INT_PTR result = 0;
  // Controls.
  int check = BST_UNCHECKED;
  std::vector<std::pair<std::string, LPARAM>> items;
  int selected = -1;
  WORD hotkey = 0;
};

struct SimHook {
  int kind = 0;
  HOOKPROC proc = nullptr;
  DWORD thread = 0;
};

struct SimMenu {
  std::vector<MenuItem> items;
};

class SimWindows : public ScriptedWindowSystem {
 public:
  static constexpr DWORD kUiThread = 1001;

  SimWindows();

  HWND mainWindow() const override { return handle(main_); }
  HWND treeWindow() const override { return handle(tree_); }
  HWND listWindow() const override { return handle(list_); }
  HWND viewWindow() const override { return handle(view_); }
  HWND viewEditor() const override { return handle(editor_); }
  void setEditorReadOnly(bool readOnly) override;
  bool editorReadOnly() const override;

  void setWindowProc(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> proc) override {
    windowProc_ = std::move(proc);
  }
  LRESULT postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool peekFirst) override;
  LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void doubleClickList() override;
  int hookCount(int kind) const override;

  HMENU createMenu(const std::vector<MenuItem>& items) override;
  std::vector<MenuItem> menuItems(HMENU menu) const override;
  void destroyMenu(HMENU menu) override;

  LRESULT sendToControl(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) override;
  std::string controlText(HWND dialog, int id) override;
  void setControlText(HWND dialog, int id, const std::string& text) override;
  bool dialogEnded(HWND dialog) const override;
  std::string captureWindow(HWND window, const std::string& path) override;

  // The Win32 names served on Linux.
  int messageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
  HHOOK setHook(int kind, HOOKPROC proc, DWORD thread);
  BOOL unhook(HHOOK hook);
  LRESULT callNextHook(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
  SimWindow* window(HWND handle) const;
  SimMenu* menu(HMENU handle) const;
  BOOL enumChildren(HWND parent, WNDENUMPROC proc, LPARAM lParam);
  INT_PTR dialogBox(int templateId, HWND owner, DLGPROC proc, LPARAM initParam);
  BOOL endDialog(HWND dialog, INT_PTR result);
  HWND control(HWND dialog, int id);
  LRESULT controlMessage(SimWindow* control, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static HWND handle(SimWindow* w) { return reinterpret_cast<HWND>(w); }
  SimWindow* create(const std::string& className, int id, SimWindow* parent, LONG style = 0);
  LRESULT runChain(int kind, DWORD thread, std::size_t from, int code, WPARAM wParam, LPARAM lParam);

  std::vector<std::unique_ptr<SimWindow>> windows_;
  std::set<const SimWindow*> live_;
  SimWindow* main_ = nullptr;
  SimWindow* tree_ = nullptr;
  SimWindow* list_ = nullptr;
  SimWindow* view_ = nullptr;
  SimWindow* editor_ = nullptr;
  std::vector<std::unique_ptr<SimHook>> hooks_;  // installation order; null when removed
  std::vector<std::unique_ptr<SimMenu>> menus_;
  std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> windowProc_;
};

}  // namespace lumo::hostsim
