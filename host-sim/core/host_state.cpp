// The host's state and its handling of user events (see host_state.h).
#include "host-sim/core/host_state.h"

#include <algorithm>
#include <filesystem>

#include "text/cp932.h"

namespace lumo::hostsim {

Host& Host::instance() {
  static Host host;
  return host;
}

std::string mailboxOf(const std::string& id) {
  std::size_t cut = findCp932Separator(id);
  return cut == std::string::npos ? std::string() : id.substr(0, cut + 1);
}

void Host::attach(MailStore* store, WindowSystem* windows) {
  *this = Host();
  store_ = store;
  windows_ = windows;
  if (store_) {
    auto temp = store_->root() / "Temp";
    std::error_code ec;
    std::filesystem::create_directories(temp, ec);
    tempFolder = temp.generic_string() + "\\";
    for (const auto& id : store_->folders()) {
      if (currentMailbox.empty()) currentMailbox = mailboxOf(id);
    }
  }
  if (windows_) {
    windows_->setWindowProc([this](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
      if (message == WM_COMMAND) onCommand(LOWORD(wParam));
      return 0;
    });
  }
}

void Host::detach() {
  if (windows_) windows_->setWindowProc(nullptr);
  *this = Host();
}

const PluginEntryPoints* Host::entry() const {
  return plugin_ && plugin_->loaded() ? &plugin_->entry() : nullptr;
}

LPCSTR Host::hold(const std::string& slot, const std::string& text) {
  std::deque<std::string>& held = heldTexts[slot];
  held.push_back(text);  // a deque never moves the texts it keeps
  if (held.size() > kHeldTexts) held.pop_front();
  return held.back().c_str();
}

void Host::openFolder(const std::string& folderId) {
  currentFolder = folderId;
  currentMailbox = mailboxOf(folderId);
  currentMail.clear();
  selection.clear();
  shownText.clear();
  if (const auto* e = entry()) e->OnOpenFolder(folderId.c_str());
}

void Host::openMail(const std::string& mailId) {
  std::string folder = MailStore::folderOf(mailId);
  if (folder != currentFolder) {
    currentFolder = folder;
    currentMailbox = mailboxOf(folder);
  }
  currentMail = mailId;
  selection = {mailId};
  auto text = store_ ? store_->source(mailId) : std::nullopt;
  shownText = text ? *text : std::string();
  if (windows_) windows_->setEditorReadOnly(true);
  if (const auto* e = entry()) e->OnOpenMail(mailId.c_str());
}

void Host::select(const std::vector<std::string>& mailIds) {
  selection.clear();
  if (!store_) return;
  // The list keeps its own order, whatever order the ids came in.
  for (const auto& id : store_->mailIds(currentFolder))
    if (std::find(mailIds.begin(), mailIds.end(), id) != mailIds.end()) selection.push_back(id);
  if (!selection.empty()) currentMail = selection.front();
}

bool Host::deleteSelected() {
  if (!store_ || selection.empty()) return false;
  std::string trash;
  for (const auto& id : store_->folders()) {
    std::string rest = id.substr(currentMailbox.size());
    if (id.rfind(currentMailbox, 0) == 0 && rest.size() > 6 && findCp932Separator(rest) == rest.size() - 1 &&
        rest.substr(rest.size() - 6) == "Trash\\") {
      trash = id;
      break;
    }
  }
  bool moved = false;
  for (const auto& id : selection) {
    if (trash.empty() || MailStore::folderOf(id) == trash)
      moved = store_->remove(id) || moved;
    else
      moved = !store_->transfer(id, trash, false).empty() || moved;
  }
  if (std::find(selection.begin(), selection.end(), currentMail) != selection.end()) {
    currentMail.clear();
    shownText.clear();
  }
  selection.clear();
  return moved;
}

void Host::onCommand(UINT id) {
  if (id == kCommandDelete) {
    deleteSelected();
  } else if (id == kCommandEdit) {
    // Direct editing switches the mail view between read-only and writable.
    if (windows_) windows_->setEditorReadOnly(!windows_->editorReadOnly());
  } else if (const RegisteredCommand* c = command(id)) {
    if (c->proc) c->proc(windows_ ? windows_->mainWindow() : nullptr, 0);
  }
}

void Host::runCommand(const std::string& name) {
  commandLog.push_back(name);
  if (name == "SetRead") {
    if (store_ && !currentMail.empty()) store_->setRead(currentMail, true);
  } else if (name == "EditMode") {
    // The host switches edit mode as its menu does: it posts its own direct
    // edit command, which passes the plug-in's hooks like the user's.
    if (windows_) windows_->postMessage(windows_->mainWindow(), WM_COMMAND, kCommandEdit, 0, false);
  }
}

const RegisteredCommand* Host::command(UINT id) const {
  for (auto it = commands.rbegin(); it != commands.rend(); ++it)
    if (it->id == id) return &*it;
  return nullptr;
}

UINT Host::itemState(UINT id) const {
  const RegisteredCommand* c = command(id);
  if (!c || !c->state) return 0;
  return c->state(windows_ ? windows_->mainWindow() : nullptr, 0);
}

}  // namespace lumo::hostsim
