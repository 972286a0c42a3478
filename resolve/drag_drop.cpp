// BKC_OnDragDrop: keeping links in step with mails moved by the user.
#include "resolve/drag_drop.h"

#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/api/host_api.h"
#include "host/api/host_block.h"
#include "host/api/host_text.h"
#include "host/api/module_state.h"
#include "linkindex/link_record.h"
#include "linkindex/message_id_value.h"
#include "linkindex/shortcut_id.h"
#include "resolve/locator/locator.h"
#include "resolve/locator/moved_shortcut.h"
#include "shortcut/shortcut_reader.h"
#include "text/ascii_case.h"

namespace lumo {
namespace {

constexpr int kMoveEffect = 2;
constexpr std::string_view kFolderField = "X-FolderID";

// The header block of a mail source: the text before its first blank line.
std::string_view headerBlock(std::string_view source) {
  std::size_t end = source.find("\r\n\r\n");
  return end == std::string_view::npos ? source : source.substr(0, end + 2);
}

// The shortcut's source with its "X-FolderID" value replaced by
// `folderId`; empty when its header has no such field ending in CR LF.
std::string withFolderId(std::string_view source, std::string_view folderId) {
  std::string_view header = headerBlock(source);
  std::size_t at = 0;
  for (;; ++at) {
    at = header.find_first_of("Xx", at);
    if (at == std::string_view::npos) return {};
    if (startsWithNoCase(header.substr(at), kFolderField)) break;
  }
  std::size_t lineEnd = source.find("\r\n", at);
  if (lineEnd == std::string_view::npos) return {};
  std::string result(source.substr(0, at));
  result.append(kFolderField).append(": ").append(folderId).append(source.substr(lineEnd));
  return result;
}

// The mail id of the shortcut mail of `record`: its recorded location, or,
// for a shortcut moved earlier (recorded by its folder alone), the mail it
// is found as there, which the index then records. Empty when it cannot be
// found or the location leads outside the store.
std::string shortcutMailId(const LinkRecord& record) {
  const char* location = record.shortcutLocation();
  if (location == nullptr || !isStoreRelativeId(location)) return {};
  if (std::strchr(location, '?') != nullptr) return location;
  return relocateShortcut(record);
}

// The link of a moved target with this Message-ID. Copies of one mail (the
// client's copy, a resent mail) share it, each with a link of its own, so
// the link that moves is the one whose target mail id is the dropped mail's.
// A link an earlier move left with an old mail id comes next: one whose
// recorded mail no longer has that Message-ID, first one that records the
// dropped mail's folder (where the earlier drop put it). A link whose mail
// still has it belongs to that mail and never moves. False when none fits.
bool findMovedTargetLink(LinkRecord& record, const std::string& messageId, const std::string& mailId) {
  const char* key = messageId.c_str();
  const std::string folder = mailId.substr(0, mailId.find('?'));
  auto isDropped = [&](const LinkRecord& r) { return r.targetMailId() && mailId == r.targetMailId(); };
  auto isLeftBehind = [&](const LinkRecord& r) {
    return !r.targetMailId() || !mailHasMessageId(r.targetMailId(), messageId);
  };
  auto isLeftInFolder = [&](const LinkRecord& r) {
    return r.targetFolderId() && folder == r.targetFolderId() && isLeftBehind(r);
  };
  return record.findIn(LinkIndexPath, key, LinkFindKind::ByMessageId, isDropped) ||
         record.findIn(LinkIndexPath, key, LinkFindKind::ByMessageId, isLeftInFolder) ||
         record.findIn(LinkIndexPath, key, LinkFindKind::ByMessageId, isLeftBehind);
}

// A shortcut mail was moved: its link index line records the new folder.
// A mail that only carries the id (a received one) moves no line.
void shortcutMoved(const std::string& mailId, std::string_view header, const char* destination) {
  std::optional<ShortcutIdValue> value = readShortcutId(header);
  if (!value || !isShortcutId(value->id) || !ownsLinkLine(value->id, header, mailId)) return;
  LinkRecord().updateIn(LinkIndexPath, value->id.c_str(), destination, LinkUpdateField::SetLocation);
}

// Any other mail was moved: when it is the target of a shortcut, the link
// index line and the shortcut's "X-FolderID" record the new folder.
void targetMoved(std::string_view header, const std::string& mailId, const char* destination) {
  // Without a Message-ID the link is found by the target's mail id.
  std::string messageId = headerMessageId(header);
  LinkRecord record;
  bool found = messageId.empty()
                   ? !mailId.empty() && record.findIn(LinkIndexPath, mailId.c_str(), LinkFindKind::ByMailId)
                   : findMovedTargetLink(record, messageId, mailId);
  if (!found || !record.shortcutLocation()) return;
  LinkRecord().updateIn(LinkIndexPath, record.shortcutId(), destination, LinkUpdateField::SetFolderId);
  std::string shortcut = shortcutMailId(record);
  if (shortcut.empty()) return;
  const char* source = HostApi.BKA_GetSource(shortcut.c_str());
  if (!source) return;
  std::string rewritten = withFolderId(source, destination);
  if (!rewritten.empty()) setSourceText(shortcut.c_str(), rewritten);
}

// A dropped mail with its header text, read once for both passes.
struct DroppedMail {
  std::string id;
  std::string header;
};

std::vector<DroppedMail> droppedMails(std::string_view list, int count) {
  std::vector<DroppedMail> mails;
  for (int taken = 0; taken < count && !list.empty(); ++taken) {
    std::size_t end = list.find('\n');
    std::string id(list.substr(0, end));
    list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
    HostBlock header(HostApi.BKA_GetHeader(id.c_str()));
    if (header) mails.push_back({std::move(id), std::string(header.text())});
  }
  return mails;
}

}  // namespace

int OnDragDrop(const char* destinationFolderId, const char* sourceList, int count, int dropEffect) {
  if (!sourceList || std::string_view(sourceList).find('?') == std::string_view::npos) return 0;
  if (dropEffect != kMoveEffect || count <= 0) return 0;
  // The destination becomes a link index field and a header value: it must
  // name a folder inside the store and hold no line end.
  if (!destinationFolderId || !isStoreRelativeId(destinationFolderId) || breaksIndexLine(destinationFolderId))
    return 0;
  // Targets first: a shortcut dropped together with its target is still
  // where its link line says, so its "X-FolderID" is rewritten now rather
  // than repaired at its next opening. Then the shortcuts record their folder.
  std::vector<DroppedMail> mails = droppedMails(sourceList, count);
  for (const DroppedMail& mail : mails)
    if (!isShortcutHeader(mail.header)) targetMoved(mail.header, mail.id, destinationFolderId);
  for (const DroppedMail& mail : mails)
    if (isShortcutHeader(mail.header)) shortcutMoved(mail.id, mail.header, destinationFolderId);
  return 0;
}

}  // namespace lumo
