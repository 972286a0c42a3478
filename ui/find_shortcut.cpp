// The find command: from a mail to its shortcut.
#include "ui/find_shortcut.h"

#include <string>

#include "host/api/host_api.h"
#include "host/api/host_block.h"
#include "host/api/module_state.h"
#include "host/api/user_messages.h"
#include "resolve/locator/locator.h"
#include "ui/menu_texts.h"
#include "ui/shortcut_search.h"

namespace lumo {
namespace {

// Whether the host has a mail under this id. Ids from the link index are
// checked before the host is asked to read anything for them.
bool mailExists(const std::string& mailId) {
  if (!isStoreRelativeId(mailId)) return false;
  return static_cast<bool>(HostBlock(HostApi.BKA_GetHeader(mailId.c_str())));
}

void showNotFound(HWND owner) {
  showMessageBox(owner, menu_text::ShortcutNotFound, MessageTitle, MB_OK | MB_ICONSTOP);
}

}  // namespace

void WINAPI FindShortcutOfSelected(HWND window, LPARAM) {
  LinkKey key;
  LinkRecord record;
  if (!currentMailLinkKey(key) || !record.findIn(LinkIndexPath, key.text, key.kind) ||
      record.shortcutLocation() == nullptr) {
    showNotFound(window);
    return;
  }
  std::string destination = record.shortcutLocation();
  bool found = mailExists(destination);
  // A location without "?" is the folder the shortcut was put or moved into.
  if (!found && destination.find('?') == std::string::npos) {
    std::string hit = relocateShortcut(record, destination);
    if (!hit.empty()) {
      destination = hit;
      found = true;
    }
  }
  if (destination.size() < IdCapacity) selectMail(destination.c_str());
  if (!found) showNotFound(window);
}

}  // namespace lumo
