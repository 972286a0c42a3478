// The Windows host's window system (see real_windows.h).
#include "host-sim/windows/real_windows.h"

#include <algorithm>

#include "host-sim/core/cp932.h"
#include "host-sim/windows/import_patch.h"
#include "host-sim/windows/window_capture.h"

namespace lumo::hostsim {
namespace {

constexpr UINT kDrive = WM_APP + 1;  // wParam: serial of the box or dialog to serve
constexpr int kMaxWaits = 10000;     // drive messages before a modal window is given up
constexpr const char* kDialogClass = "#32770";

RealWindows* active() { return static_cast<RealWindows*>(activeWindowSystem()); }

bool isDialogWindow(HWND window) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  return std::string_view(name) == kDialogClass;
}

// EnumThreadWindows procedure: adds each dialog to the list. A named WINAPI
// function, since on 32 bits Windows calls it with the stdcall convention,
// which a lambda's function pointer does not have.
BOOL WINAPI collectDialog(HWND window, LPARAM list) {
  if (isDialogWindow(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> threadDialogs() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), collectDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The plug-in's imports of these names come to the host first.
int WINAPI watchedMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  return active() ? active()->messageBox(owner, text, caption, type)
                  : MessageBoxA(owner, text, caption, type);
}
HHOOK WINAPI watchedSetHook(int kind, HOOKPROC proc, HINSTANCE module, DWORD thread) {
  return active() ? active()->setHook(kind, proc, module, thread)
                  : SetWindowsHookExA(kind, proc, module, thread);
}
BOOL WINAPI watchedUnhook(HHOOK hook) {
  return active() ? active()->unhook(hook) : UnhookWindowsHookEx(hook);
}
INT_PTR WINAPI watchedDialogBox(HINSTANCE module, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) {
  return active() ? active()->dialogBox(module, name, owner, proc, param)
                  : DialogBoxParamA(module, name, owner, proc, param);
}
BOOL WINAPI watchedEndDialog(HWND dialog, INT_PTR result) {
  return active() ? active()->endDialog(dialog, result) : EndDialog(dialog, result);
}

}  // namespace

std::unique_ptr<WindowSystem> makeWindowSystem() { return std::make_unique<RealWindows>(); }

bool RealWindows::watchImports(HMODULE module) {
  bool any = false;
  any |=
      replaceImport(module, "user32.dll", "MessageBoxA", reinterpret_cast<const void*>(&watchedMessageBox));
  any |= replaceImport(module, "user32.dll", "SetWindowsHookExA",
                       reinterpret_cast<const void*>(&watchedSetHook));
  any |= replaceImport(module, "user32.dll", "UnhookWindowsHookEx",
                       reinterpret_cast<const void*>(&watchedUnhook));
  any |= replaceImport(module, "user32.dll", "DialogBoxParamA",
                       reinterpret_cast<const void*>(&watchedDialogBox));
  any |= replaceImport(module, "user32.dll", "EndDialog", reinterpret_cast<const void*>(&watchedEndDialog));
  return any;
}

RealWindows::RealWindows() {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&controls);
  registerClasses();
  createWindows();
}

RealWindows::~RealWindows() {
  if (main_) DestroyWindow(main_);
  if (driver_) DestroyWindow(driver_);
}

void RealWindows::registerClasses() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  for (const char* name : {"B2MainWindow", "B2MailView", "LumoHostDriver"}) {
    WNDCLASSA c{};
    c.lpfnWndProc = std::string_view(name) == "LumoHostDriver" ? driverProc : hostProc;
    c.hInstance = instance;
    c.hCursor = LoadCursor(nullptr, IDC_ARROW);
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    c.lpszClassName = name;
    RegisterClassA(&c);  // a second host in one process finds them registered
  }
}

void RealWindows::createWindows() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  auto child = [&](const char* cls, DWORD style, int id, HWND parent, int x, int y, int w, int h) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  main_ = CreateWindowExA(0, "B2MainWindow", "Lumo host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 900,
                          600, nullptr, nullptr, instance, nullptr);
  tree_ = child(WC_TREEVIEWA, WS_BORDER, 101, main_, 0, 0, 220, 560);
  list_ = child(WC_LISTVIEWA, WS_BORDER | LVS_REPORT, 102, main_, 220, 0, 660, 220);
  view_ = child("B2MailView", 0, 103, main_, 220, 220, 660, 340);
  editor_ = child("Edit", WS_VSCROLL | ES_MULTILINE | ES_READONLY, 114, view_, 0, 0, 660, 340);
  driver_ = CreateWindowExA(0, "LumoHostDriver", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  ShowWindow(main_, SW_SHOWNOACTIVATE);
}

// The host's own windows: what the host handles goes to its window procedure,
// everything else to the default one.
LRESULT CALLBACK RealWindows::hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  RealWindows* self = active();
  bool hostMessage = message == WM_COMMAND || message == WM_KEYDOWN || message == WM_NOTIFY;
  if (self && window == self->main_ && hostMessage && self->windowProc_)
    return self->windowProc_(window, message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK RealWindows::driverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kDrive && active()) {
    active()->drive(static_cast<unsigned>(wParam));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RealWindows::setEditorReadOnly(bool readOnly) {
  SendMessageA(editor_, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

bool RealWindows::editorReadOnly() const { return (GetWindowLongA(editor_, GWL_STYLE) & ES_READONLY) != 0; }

// A posted message goes through the thread's queue: looked at first when
// `peekFirst` (the hooks see PM_NOREMOVE), then taken (PM_REMOVE) and
// dispatched, as the host's message loop would.
LRESULT RealWindows::postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool peekFirst) {
  if (!PostMessageA(window, message, wParam, lParam)) return 0;
  MSG msg{};
  if (peekFirst) PeekMessageA(&msg, window, message, message, PM_NOREMOVE);
  if (!PeekMessageA(&msg, window, message, message, PM_REMOVE)) return 0;
  return DispatchMessageA(&msg);
}

LRESULT RealWindows::sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(window, message, wParam, lParam);
}

// The real list view turns the double-click into its own notifications to
// the main window: NM_RELEASEDCAPTURE, then NM_DBLCLK.
void RealWindows::doubleClickList() { SendMessageA(list_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 8)); }

int RealWindows::hookCount(int kind) const {
  return static_cast<int>(
      std::count_if(hooks_.begin(), hooks_.end(), [&](const auto& h) { return h.second == kind; }));
}

HMENU RealWindows::createMenu(const std::vector<MenuItem>& items) {
  HMENU menu = CreatePopupMenu();
  for (const MenuItem& item : items)
    AppendMenuA(menu, item.separator ? MF_SEPARATOR : MF_STRING, item.id,
                item.separator ? nullptr : item.caption.c_str());
  return menu;
}

std::vector<MenuItem> RealWindows::menuItems(HMENU menu) const {
  std::vector<MenuItem> items;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    MenuItem item;
    item.id = info.wID;
    item.separator = (info.fType & MFT_SEPARATOR) != 0;
    if (!item.separator && info.cch > 0) {
      std::string caption(info.cch + 1, '\0');
      info.dwTypeData = caption.data();
      info.cch = static_cast<UINT>(caption.size());
      GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
      caption.resize(info.cch);
      item.caption = caption;
    }
    items.push_back(item);
  }
  return items;
}

void RealWindows::destroyMenu(HMENU menu) { DestroyMenu(menu); }

RealWindows::Modal& RealWindows::openModal(bool box) {
  Modal modal;
  modal.serial = nextSerial_++;
  modal.box = box;
  modal.before = threadDialogs();
  modals_.push_back(std::move(modal));
  PostMessageA(driver_, kDrive, modals_.back().serial, 0);
  return modals_.back();
}

void RealWindows::closeModal(unsigned serial) {
  auto it = std::find_if(modals_.begin(), modals_.end(), [&](const Modal& m) { return m.serial == serial; });
  if (it == modals_.end()) return;
  ended_.erase(it->window);
  modals_.erase(it);
}

int RealWindows::messageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  MessageBoxRecord box = MessageBoxRecord::of(owner, text, caption, type);
  int answer = chooseAnswer(box);
  Modal& modal = openModal(true);
  modal.answer = answer;
  unsigned serial = modal.serial;
  int result = MessageBoxA(owner, text, caption, type);
  closeModal(serial);
  if (result != answer)
    reportError("message box \"" + cp932ToUtf8(box.text) + "\" returned " + std::to_string(result) +
                " instead of " + std::to_string(answer));
  box.answer = result;
  recordBox(box);
  return result;
}

HHOOK RealWindows::setHook(int kind, HOOKPROC proc, HINSTANCE module, DWORD thread) {
  HHOOK hook = SetWindowsHookExA(kind, proc, module, thread);
  if (hook) hooks_[hook] = kind;
  return hook;
}

BOOL RealWindows::unhook(HHOOK hook) {
  BOOL removed = UnhookWindowsHookEx(hook);
  if (removed) hooks_.erase(hook);
  return removed;
}

INT_PTR RealWindows::dialogBox(HINSTANCE module, LPCSTR templateName, HWND owner, DLGPROC proc,
                               LPARAM initParam) {
  int templateId = IS_INTRESOURCE(templateName) ? LOWORD(reinterpret_cast<UINT_PTR>(templateName)) : 0;
  std::size_t record = openDialog(templateId);
  Modal& modal = openModal(false);
  modal.templateId = templateId;
  unsigned serial = modal.serial;
  INT_PTR result = DialogBoxParamA(module, templateName, owner, proc, initParam);
  closeModal(serial);
  closeDialog(record, result);
  return result;
}

BOOL RealWindows::endDialog(HWND dialog, INT_PTR result) {
  BOOL ended = EndDialog(dialog, result);
  if (ended) ended_.insert(dialog);
  return ended;
}

bool RealWindows::dialogEnded(HWND dialog) const { return ended_.count(dialog) != 0 || !IsWindow(dialog); }

// The box or dialog opened last that no other open one has claimed.
HWND RealWindows::newModalWindow(const Modal& modal) const {
  for (HWND window : threadDialogs()) {
    if (std::find(modal.before.begin(), modal.before.end(), window) != modal.before.end()) continue;
    bool claimed =
        std::any_of(modals_.begin(), modals_.end(), [&](const Modal& m) { return m.window == window; });
    if (!claimed) return window;
  }
  return nullptr;
}

// Serves one drive message: answers a box, or runs one action on a dialog.
// Until the box or dialog shows up, and while one opened inside it is open,
// the message is posted again.
void RealWindows::drive(unsigned serial) {
  auto it = std::find_if(modals_.begin(), modals_.end(), [&](const Modal& m) { return m.serial == serial; });
  if (it == modals_.end()) return;  // closed meanwhile, or never opened
  Modal& modal = *it;
  if (!modal.window) modal.window = newModalWindow(modal);
  if (!modal.window || &modal != &modals_.back()) {
    if (++modal.waits > kMaxWaits) {
      reportError(modal.box ? "a message box did not appear" : "a dialog did not appear");
      return;
    }
    PostMessageA(driver_, kDrive, serial, 0);
    return;
  }
  if (modal.box) {
    PostMessageA(modal.window, WM_COMMAND, MAKEWPARAM(modal.answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(modal.window, modal.answer)));
    return;
  }
  driveDialog(modal.window, modal.templateId, serial);
}

void RealWindows::driveDialog(HWND dialog, int templateId, unsigned serial) {
  if (dialogEnded(dialog)) return;
  if (!runNextDialogAction(dialog, templateId)) {
    EndDialog(dialog, IDCANCEL);
    ended_.insert(dialog);
    return;
  }
  if (!dialogEnded(dialog)) PostMessageA(driver_, kDrive, serial, 0);
}

LRESULT RealWindows::sendToControl(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

std::string RealWindows::controlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return {};
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::string RealWindows::captureWindow(HWND window, const std::string& path) {
  return captureWindowToBmp(window, path);
}

void RealWindows::setControlText(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextA(dialog, id, text.c_str());
}

}  // namespace lumo::hostsim
