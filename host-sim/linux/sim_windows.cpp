// The in-memory window system of the Linux host (see sim_windows.h).
#include "host-sim/linux/sim_windows.h"

#include <algorithm>
#include <cstring>

#include "host-sim/core/copy_out.h"
#include "host-sim/linux/dialog_templates.h"

namespace lumo::hostsim {

std::unique_ptr<WindowSystem> makeWindowSystem() { return std::make_unique<SimWindows>(); }

SimWindows::SimWindows() {
  main_ = create("B2MainWindow", 0, nullptr);
  tree_ = create("SysTreeView32", 101, main_);
  list_ = create("SysListView32", 102, main_);
  view_ = create("B2MailView", 103, main_);
  editor_ = create("Edit", 114, view_, ES_READONLY);
}

SimWindow* SimWindows::create(const std::string& className, int id, SimWindow* parent, LONG style) {
  auto w = std::make_unique<SimWindow>();
  w->className = className;
  w->id = id;
  w->thread = kUiThread;
  w->style = style;
  w->parent = parent;
  if (parent) parent->children.push_back(w.get());
  live_.insert(w.get());
  windows_.push_back(std::move(w));
  return windows_.back().get();
}

SimWindow* SimWindows::window(HWND handle) const {
  auto* w = reinterpret_cast<SimWindow*>(handle);
  return live_.count(w) ? w : nullptr;
}

void SimWindows::setEditorReadOnly(bool readOnly) {
  if (readOnly)
    editor_->style |= ES_READONLY;
  else
    editor_->style &= ~static_cast<LONG>(ES_READONLY);
}

bool SimWindows::editorReadOnly() const { return (editor_->style & ES_READONLY) != 0; }

// Hooks installed later run first, as on Windows; CallNextHookEx goes on
// towards the ones installed earlier.
LRESULT SimWindows::runChain(int kind, DWORD thread, std::size_t from, int code, WPARAM wParam,
                             LPARAM lParam) {
  for (std::size_t i = from; i-- > 0;) {
    SimHook* h = hooks_[i].get();
    if (h && h->kind == kind && (h->thread == 0 || h->thread == thread)) return h->proc(code, wParam, lParam);
  }
  return 0;
}

int SimWindows::hookCount(int kind) const {
  return static_cast<int>(
      std::count_if(hooks_.begin(), hooks_.end(), [&](const auto& h) { return h && h->kind == kind; }));
}

HHOOK SimWindows::setHook(int kind, HOOKPROC proc, DWORD thread) {
  if (!proc || (kind != WH_GETMESSAGE && kind != WH_CALLWNDPROC)) return nullptr;
  if (thread != 0 && thread != kUiThread) return nullptr;  // no such thread
  auto h = std::make_unique<SimHook>(SimHook{kind, proc, thread});
  hooks_.push_back(std::move(h));
  return reinterpret_cast<HHOOK>(hooks_.back().get());
}

BOOL SimWindows::unhook(HHOOK hook) {
  for (auto& h : hooks_) {
    if (h && reinterpret_cast<HHOOK>(h.get()) == hook) {
      h.reset();
      return TRUE;
    }
  }
  return FALSE;
}

LRESULT SimWindows::callNextHook(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  for (std::size_t i = 0; i < hooks_.size(); ++i) {
    if (hooks_[i] && reinterpret_cast<HHOOK>(hooks_[i].get()) == hook)
      return runChain(hooks_[i]->kind, hooks_[i]->thread == 0 ? kUiThread : hooks_[i]->thread, i, code,
                      wParam, lParam);
  }
  return 0;
}

LRESULT SimWindows::postMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, bool peekFirst) {
  SimWindow* w = window(handle);
  if (!w) return 0;
  MSG msg{handle, message, wParam, lParam, 0, {0, 0}};
  if (peekFirst)
    runChain(WH_GETMESSAGE, w->thread, hooks_.size(), HC_ACTION, PM_NOREMOVE, reinterpret_cast<LPARAM>(&msg));
  runChain(WH_GETMESSAGE, w->thread, hooks_.size(), HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&msg));
  // The hooks may change the message before it is dispatched, as on Windows.
  return windowProc_ ? windowProc_(msg.hwnd, msg.message, msg.wParam, msg.lParam) : 0;
}

LRESULT SimWindows::sendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  SimWindow* w = window(handle);
  if (!w) return 0;
  CWPSTRUCT cwp{lParam, wParam, message, handle};
  runChain(WH_CALLWNDPROC, w->thread, hooks_.size(), HC_ACTION, 1, reinterpret_cast<LPARAM>(&cwp));
  return windowProc_ ? windowProc_(handle, message, wParam, lParam) : 0;
}

// As the list view control does on a double-click: NM_DBLCLK to its parent.
void SimWindows::doubleClickList() {
  NMHDR header{handle(list_), static_cast<UINT_PTR>(list_->id), static_cast<UINT>(NM_DBLCLK)};
  sendMessage(handle(main_), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

HMENU SimWindows::createMenu(const std::vector<MenuItem>& items) {
  menus_.push_back(std::make_unique<SimMenu>(SimMenu{items}));
  return reinterpret_cast<HMENU>(menus_.back().get());
}

SimMenu* SimWindows::menu(HMENU handle) const {
  for (const auto& m : menus_)
    if (reinterpret_cast<HMENU>(m.get()) == handle) return m.get();
  return nullptr;
}

std::vector<MenuItem> SimWindows::menuItems(HMENU handle) const {
  SimMenu* m = menu(handle);
  return m ? m->items : std::vector<MenuItem>();
}

void SimWindows::destroyMenu(HMENU handle) {
  std::erase_if(menus_, [&](const auto& m) { return reinterpret_cast<HMENU>(m.get()) == handle; });
}

int SimWindows::messageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  MessageBoxRecord box = MessageBoxRecord::of(owner, text, caption, type);
  box.answer = chooseAnswer(box);
  recordBox(box);
  return box.answer;
}

BOOL SimWindows::enumChildren(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  SimWindow* p = window(parent);
  if (!p || !proc) return FALSE;
  // Every descendant, parents before their children, as Windows walks them.
  std::vector<SimWindow*> order;
  std::vector<SimWindow*> stack(p->children.rbegin(), p->children.rend());
  while (!stack.empty()) {
    SimWindow* w = stack.back();
    stack.pop_back();
    order.push_back(w);
    stack.insert(stack.end(), w->children.rbegin(), w->children.rend());
  }
  for (SimWindow* w : order)
    if (!proc(handle(w), lParam)) break;
  return TRUE;
}

INT_PTR SimWindows::dialogBox(int templateId, HWND owner, DLGPROC proc, LPARAM initParam) {
  if (!proc) return -1;
  SimWindow* dialog = create("#32770", templateId, window(owner));
  dialog->proc = proc;
  if (const auto* controls = dialogTemplate(templateId)) {
    dialog->fixedControls = true;
    for (const ControlTemplate& c : *controls) create(c.className, c.id, dialog)->text = c.text;
  }
  HWND h = handle(dialog);
  std::size_t record = openDialog(templateId);
  proc(h, WM_INITDIALOG, 0, initParam);
  while (!dialog->ended) {
    if (!runNextDialogAction(h, templateId)) {
      dialog->ended = true;
      dialog->result = IDCANCEL;
    }
  }
  closeDialog(record, dialog->result);
  live_.erase(dialog);
  for (SimWindow* child : dialog->children) live_.erase(child);
  return dialog->result;
}

BOOL SimWindows::endDialog(HWND handle, INT_PTR result) {
  SimWindow* d = window(handle);
  if (!d || !d->proc) return FALSE;
  d->ended = true;
  d->result = result;
  return TRUE;
}

bool SimWindows::dialogEnded(HWND handle) const {
  SimWindow* d = window(handle);
  return !d || d->ended;
}

std::string SimWindows::captureWindow(HWND, const std::string& path) {
  return "cannot capture " + path +
         ": the Linux host keeps its windows in memory and draws nothing (use the "
         "Windows host, lumo-host.exe)";
}

HWND SimWindows::control(HWND dialog, int id) {
  SimWindow* d = window(dialog);
  if (!d) return nullptr;
  for (SimWindow* c : d->children)
    if (c->id == id) return handle(c);
  if (d->fixedControls) {
    reportError("dialog " + std::to_string(d->id) + " has no control " + std::to_string(id));
    return nullptr;
  }
  // Controls of other templates come into being when first used.
  return handle(create("Control", id, d));
}

LRESULT SimWindows::controlMessage(SimWindow* c, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      c->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      return TRUE;
    case WM_GETTEXT:
      return copyOut(c->text, reinterpret_cast<LPSTR>(lParam), static_cast<std::size_t>(wParam));
    case BM_GETCHECK:
      return c->check;
    case BM_SETCHECK:
      c->check = static_cast<int>(wParam);
      return 0;
    case LB_ADDSTRING:
      c->items.emplace_back(lParam ? reinterpret_cast<LPCSTR>(lParam) : "", 0);
      return static_cast<LRESULT>(c->items.size() - 1);
    case LB_INSERTSTRING: {
      // At the given position (-1: at the end), whatever the list's sorting.
      std::size_t at = std::min<std::size_t>(wParam, c->items.size());
      c->items.emplace(c->items.begin() + static_cast<std::ptrdiff_t>(at),
                       lParam ? reinterpret_cast<LPCSTR>(lParam) : "", 0);
      if (c->selected >= static_cast<int>(at)) ++c->selected;
      return static_cast<LRESULT>(at);
    }
    case LB_RESETCONTENT:
      c->items.clear();
      c->selected = -1;
      return 0;
    case LB_SETCURSEL:
      c->selected = wParam < c->items.size() ? static_cast<int>(wParam) : -1;
      return c->selected < 0 ? LB_ERR : c->selected;
    case LB_GETCURSEL:
      return c->selected < 0 ? LB_ERR : c->selected;
    case LB_GETTEXT:
      if (wParam >= c->items.size() || !lParam) return LB_ERR;
      std::strcpy(reinterpret_cast<LPSTR>(lParam), c->items[wParam].first.c_str());
      return static_cast<LRESULT>(c->items[wParam].first.size());
    case LB_GETCOUNT:
      return static_cast<LRESULT>(c->items.size());
    case LB_GETITEMDATA:
      return wParam < c->items.size() ? c->items[wParam].second : LB_ERR;
    case LB_SETITEMDATA:
      if (wParam >= c->items.size()) return LB_ERR;
      c->items[wParam].second = lParam;
      return TRUE;
    case HKM_SETHOTKEY:
      c->hotkey = LOWORD(wParam);
      return 0;
    case HKM_GETHOTKEY:
      return c->hotkey;
    default:
      return 0;
  }
}

LRESULT SimWindows::send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  SimWindow* w = window(handle);
  if (!w) return 0;
  if (w->proc) return w->proc(handle, message, wParam, lParam);
  if (w->parent && w->parent->proc) return controlMessage(w, message, wParam, lParam);
  return sendMessage(handle, message, wParam, lParam);
}

LRESULT SimWindows::sendToControl(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  SimWindow* c = window(control(dialog, id));
  return c ? controlMessage(c, message, wParam, lParam) : 0;
}

std::string SimWindows::controlText(HWND dialog, int id) {
  SimWindow* c = window(control(dialog, id));
  return c ? c->text : std::string();
}

void SimWindows::setControlText(HWND dialog, int id, const std::string& text) {
  if (SimWindow* c = window(control(dialog, id))) c->text = text;
}

}  // namespace lumo::hostsim
