// Looking up and finding again the shortcut of the current mail.
#include "ui/shortcut_search.h"

#include <cstring>

#include "host/api/host_api.h"
#include "host/api/module_state.h"
#include "resolve/locator/locator.h"

namespace lumo {

bool currentMailLinkKey(LinkKey& key) {
  HostApi.BKA_GetSpecifiedHeader("Message-Id", key.text, IdCapacity);
  key.text[IdCapacity - 1] = '\0';
  if (key.text[0] != '\0') {
    key.kind = LinkFindKind::ByMessageId;
    return true;
  }
  const char* mailId = HostApi.BKA_GetCurrentMail();
  if (mailId == nullptr || mailId[0] == '\0') return false;
  std::size_t length = std::strlen(mailId);
  if (length >= IdCapacity) return false;
  std::memcpy(key.text, mailId, length + 1);
  key.kind = LinkFindKind::ByMailId;
  return true;
}

std::string relocateShortcut(const LinkRecord& record, std::string_view folderId) {
  std::string messageId = record.shortcutMessageId();
  if (messageId.empty() || record.shortcutId() == nullptr) return {};
  std::string hit = FindMailInFolder(messageId, folderId);
  if (hit.empty()) return {};
  LinkRecord scratch;
  scratch.updateIn(LinkIndexPath, record.shortcutId(), hit.c_str(), LinkUpdateField::SetLocation);
  return hit;
}

void selectMail(const char* mailId) {
  if (mailId == nullptr || mailId[0] == '\0' || !isStoreRelativeId(mailId)) return;
  HostApi.BKA_SetCurrentMail(mailId);
}

}  // namespace lumo
