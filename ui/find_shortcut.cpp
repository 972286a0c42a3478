// The find command: from a mail to its shortcut.
#include "ui/find_shortcut.h"

#include "host/api/host_api.h"
#include "host/api/host_block.h"
#include "host/api/module_state.h"
#include "host/api/user_messages.h"
#include "resolve/locator/locator.h"
#include "shortcut/session_state.h"
#include "ui/menu_texts.h"
#include "ui/select_mail.h"

namespace lumo {
namespace {

// Whether the host has a mail under this id; the header it hands out is the
// plug-in's to release.
bool mailExists(const std::string& mailId) {
  if (!isStoreRelativeId(mailId)) return false;
  return static_cast<bool>(HostBlock(HostApi.BKA_GetHeader(mailId.c_str())));
}

void showNotFound(HWND owner) {
  showMessageBox(owner, menu_text::ShortcutNotFound, MessageTitle, MB_OK | MB_ICONSTOP);
}

}  // namespace

std::string relocateShortcut(const LinkRecord& record) {
  if (record.shortcutLocation() == nullptr || record.shortcutId() == nullptr) return {};
  std::string location = record.shortcutLocation();
  std::string messageId = record.shortcutMessageId();
  if (messageId.empty() || location.find('?') != std::string::npos) return {};
  std::string moved = FindMailInFolder(messageId, location);
  if (moved.empty()) return {};
  LinkRecord scratch;
  scratch.updateIn(LinkIndexPath, record.shortcutId(), moved.c_str(), LinkUpdateField::SetLocation);
  return moved;
}

SelectedMailKey selectedMailKey() {
  // Large enough for any Message-ID a link index line can hold, so a value
  // the host had to cut can never match a recorded one.
  char messageId[kLinkLineCapacity] = "";
  HostApi.BKA_GetSpecifiedHeader("Message-Id", messageId, static_cast<int>(sizeof messageId));
  if (messageId[0] != '\0') return {messageId, LinkFindKind::ByMessageId};
  const char* mailId = HostApi.BKA_GetCurrentMail();
  return {mailId ? mailId : "", LinkFindKind::ByMailId};
}

void WINAPI FindShortcutOfSelected(HWND window, LPARAM) {
  SelectedMailKey key = selectedMailKey();
  LinkRecord record;
  if (key.text.empty() || !record.findIn(LinkIndexPath, key.text.c_str(), key.kind) ||
      record.shortcutLocation() == nullptr) {
    showNotFound(window);
    return;
  }
  std::string destination = record.shortcutLocation();
  bool found = mailExists(destination);
  if (!found) {
    std::string moved = relocateShortcut(record);
    if (!moved.empty()) {
      destination = moved;
      found = true;
    }
  }
  if (destination.size() < IdCapacity) selectMail(destination.c_str());
  if (!found) showNotFound(window);
}

}  // namespace lumo
