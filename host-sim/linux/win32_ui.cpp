// The Win32 user-interface names the plug-in calls, served on Linux by the
// active in-memory window system and exported from the program.
#include <algorithm>

#include "host-sim/core/copy_out.h"
#include "host-sim/linux/sim_windows.h"

#define UI_EXPORT extern "C" __attribute__((visibility("default"))) __attribute__((used))

using lumo::hostsim::copyOut;
using lumo::hostsim::SimWindows;

namespace {

SimWindows* sim() { return static_cast<SimWindows*>(lumo::hostsim::activeWindowSystem()); }

}  // namespace

UI_EXPORT int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  return sim() ? sim()->messageBox(owner, text, caption, type) : 0;
}

UI_EXPORT HHOOK SetWindowsHookExA(int kind, HOOKPROC proc, HINSTANCE, DWORD threadId) {
  return sim() ? sim()->setHook(kind, proc, threadId) : nullptr;
}

UI_EXPORT BOOL UnhookWindowsHookEx(HHOOK hook) { return sim() ? sim()->unhook(hook) : FALSE; }

UI_EXPORT LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  return sim() ? sim()->callNextHook(hook, code, wParam, lParam) : 0;
}

UI_EXPORT DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId) {
  auto* w = sim() ? sim()->window(window) : nullptr;
  if (processId) *processId = w ? 4242 : 0;
  return w ? w->thread : 0;
}

UI_EXPORT BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  return sim() ? sim()->enumChildren(parent, proc, lParam) : FALSE;
}

UI_EXPORT int GetClassNameA(HWND window, LPSTR className, int size) {
  auto* w = sim() ? sim()->window(window) : nullptr;
  return w ? copyOut(w->className, className, size) : 0;
}

UI_EXPORT int GetDlgCtrlID(HWND window) {
  auto* w = sim() ? sim()->window(window) : nullptr;
  return w ? w->id : 0;
}

UI_EXPORT LONG GetWindowLongA(HWND window, int index) {
  auto* w = sim() ? sim()->window(window) : nullptr;
  if (!w) return 0;
  if (index == GWL_STYLE) return w->style;
  return index == -12 ? w->id : 0;  // GWL_ID
}

UI_EXPORT int GetMenuItemCount(HMENU menu) {
  auto* m = sim() ? sim()->menu(menu) : nullptr;
  return m ? static_cast<int>(m->items.size()) : -1;
}

UI_EXPORT UINT GetMenuItemID(HMENU menu, int position) {
  auto* m = sim() ? sim()->menu(menu) : nullptr;
  if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size())
    return static_cast<UINT>(-1);
  return m->items[static_cast<std::size_t>(position)].id;
}

UI_EXPORT BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem) {
  auto* m = sim() ? sim()->menu(menu) : nullptr;
  if (!m) return FALSE;
  lumo::hostsim::MenuItem item;
  item.id = static_cast<UINT>(idNewItem);
  item.separator = (flags & MF_SEPARATOR) != 0;
  if (!item.separator) item.caption = newItem ? newItem : "";
  std::size_t at;
  if (flags & MF_BYPOSITION) {
    at = std::min(static_cast<std::size_t>(position), m->items.size());
  } else {
    auto it = std::find_if(m->items.begin(), m->items.end(), [&](const auto& i) { return i.id == position; });
    if (it == m->items.end()) return FALSE;
    at = static_cast<std::size_t>(it - m->items.begin());
  }
  m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), item);
  return TRUE;
}

UI_EXPORT INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC proc,
                                  LPARAM initParam) {
  auto value = reinterpret_cast<UINT_PTR>(templateName);
  int id = value < 0x10000 ? static_cast<int>(value) : 0;
  return sim() ? sim()->dialogBox(id, owner, proc, initParam) : -1;
}

UI_EXPORT BOOL EndDialog(HWND dialog, INT_PTR result) {
  return sim() ? sim()->endDialog(dialog, result) : FALSE;
}

UI_EXPORT HWND GetDlgItem(HWND dialog, int id) { return sim() ? sim()->control(dialog, id) : nullptr; }

UI_EXPORT UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int size) {
  return sim() ? static_cast<UINT>(copyOut(sim()->controlText(dialog, id), text, size)) : 0;
}

UI_EXPORT BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  if (!sim()) return FALSE;
  sim()->setControlText(dialog, id, text ? text : "");
  return TRUE;
}

UI_EXPORT LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return sim() ? sim()->sendToControl(dialog, id, message, wParam, lParam) : 0;
}

UI_EXPORT LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return sim() ? sim()->send(window, message, wParam, lParam) : 0;
}
