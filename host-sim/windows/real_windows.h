// The window system of the Windows host: real windows and controls made by
// user32, real hooks, menus, message boxes and modal dialogs. Boxes and
// dialogs run their own modal loops; the host answers and drives them from
// inside those loops through messages posted to a hidden driver window.
//
// What user32 cannot tell afterwards (a box's exact style, which hooks are
// installed, which dialog template was opened, whether a dialog has ended)
// the host learns by watching the plug-in's calls: watchModule() points the
// plug-in's imports of those five functions at the host, which records the
// call and passes it on to user32 unchanged.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "host-sim/core/scripted_windows.h"

namespace lumo::hostsim {

class RealWindows : public ScriptedWindowSystem {
 public:
  RealWindows();
  ~RealWindows() override;
  RealWindows(const RealWindows&) = delete;
  RealWindows& operator=(const RealWindows&) = delete;

  HWND mainWindow() const override { return main_; }
  HWND treeWindow() const override { return tree_; }
  HWND listWindow() const override { return list_; }
  HWND viewWindow() const override { return view_; }
  HWND viewEditor() const override { return editor_; }
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

  // Watches a module's calls to MessageBoxA, SetWindowsHookExA,
  // UnhookWindowsHookEx, DialogBoxParamA and EndDialog. False when the module
  // imports none of them.
  static bool watchImports(HMODULE module);
  void watchModule(HMODULE module) override { watchImports(module); }

  // The watched calls, recorded and then made on user32.
  int messageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
  HHOOK setHook(int kind, HOOKPROC proc, HINSTANCE module, DWORD thread);
  BOOL unhook(HHOOK hook);
  INT_PTR dialogBox(HINSTANCE module, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM initParam);
  BOOL endDialog(HWND dialog, INT_PTR result);

 private:
  // A box or dialog the host has to answer or drive, innermost last.
  struct Modal {
    unsigned serial = 0;
    bool box = false;
    int answer = 0;      // boxes: the button to press
    int templateId = 0;  // dialogs
    HWND window = nullptr;
    std::vector<HWND> before;  // dialog windows open before it
    int waits = 0;             // drive messages that found no window yet
  };

  static LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK driverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void registerClasses();
  void createWindows();
  void drive(unsigned serial);
  void driveDialog(HWND dialog, int templateId, unsigned serial);
  HWND newModalWindow(const Modal& modal) const;
  Modal& openModal(bool box);
  void closeModal(unsigned serial);

  HWND main_ = nullptr;
  HWND tree_ = nullptr;
  HWND list_ = nullptr;
  HWND view_ = nullptr;
  HWND editor_ = nullptr;
  HWND driver_ = nullptr;
  std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> windowProc_;
  std::map<HHOOK, int> hooks_;  // installed by the plug-in, with their kinds
  std::set<HWND> ended_;
  std::vector<Modal> modals_;
  unsigned nextSerial_ = 1;
};

}  // namespace lumo::hostsim
