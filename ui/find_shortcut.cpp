// The find command: from a mail to its shortcut.
#include "ui/find_shortcut.h"

#include "host/api/host_api.h"
#include "host/api/module_state.h"
#include "host/api/user_messages.h"
#include "resolve/locator/locator.h"
#include "resolve/locator/moved_shortcut.h"
#include "ui/menu_texts.h"
#include "ui/select_mail.h"

namespace lumo {
namespace {

void showNotFound(HWND owner) {
  showMessageBox(owner, menu_text::ShortcutNotFound, MessageTitle, MB_OK | MB_ICONSTOP);
}

}  // namespace

SelectedMailKey selectedMailKey() {
  // Large enough for any Message-ID a link index line can hold, so a value
  // the host had to cut can never match a recorded one.
  char messageId[kLinkLineCapacity] = "";
  HostApi.BKA_GetSpecifiedHeader("Message-Id", messageId, static_cast<int>(sizeof messageId));
  messageId[sizeof messageId - 1] = '\0';  // a value that fills the buffer comes without its end
  if (messageId[0] != '\0') return {messageId, LinkFindKind::ByMessageId};
  const char* mailId = HostApi.BKA_GetCurrentMail();
  return {mailId ? mailId : "", LinkFindKind::ByMailId};
}

bool findLinkOfSelected(LinkRecord& record) {
  SelectedMailKey key = selectedMailKey();
  if (key.text.empty()) return false;
  if (key.kind == LinkFindKind::ByMessageId) {
    const char* current = HostApi.BKA_GetCurrentMail();
    auto sameMessageId = [&](const LinkRecord& line) {
      return line.targetMessageId() != nullptr && key.text == line.targetMessageId();
    };
    if (current != nullptr && record.findIn(LinkIndexPath, current, LinkFindKind::ByMailId, sameMessageId))
      return true;
  }
  return record.findIn(LinkIndexPath, key.text.c_str(), key.kind) != 0;
}

void WINAPI FindShortcutOfSelected(HWND window, LPARAM) {
  LinkRecord record;
  if (!findLinkOfSelected(record) || record.shortcutLocation() == nullptr) {
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
  selectMail(destination.c_str());
  if (!found) showNotFound(window);
}

}  // namespace lumo
