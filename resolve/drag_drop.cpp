// BKC_OnDragDrop: keeping links in step with mails moved by the user.
#include "resolve/drag_drop.h"

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

// The Message-ID a link index line records for a target: the value of the
// last "Message-ID" field of its header, as shortcut creation takes it (an
// "X-Message-ID" is a different field and never the key). Empty for none.
std::string targetMessageId(std::string_view header) {
  header = headerBlock(header);
  std::string value;
  std::size_t lineStart = 0;
  while (lineStart < header.size()) {
    std::string_view rest = header.substr(lineStart);
    if (startsWithNoCase(rest, "message-id:")) value = messageIdValue(rest);
    std::size_t end = header.find('\n', lineStart);
    if (end == std::string_view::npos) break;
    lineStart = end + 1;
  }
  return value;
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

// The mail id of the shortcut mail of `record`. A moved shortcut is recorded
// by its folder alone (the host gives it a new key only after the drop); it
// is found again there by its own Message-ID, and the index learns the whole
// id. Empty when it cannot be found or the location leads outside the store.
std::string shortcutMailId(LinkRecord& record) {
  std::string location = record.shortcutLocation();
  if (!isStoreRelativeId(location)) return {};
  if (location.find('?') != std::string::npos) return location;
  std::string found = FindMailInFolder(record.shortcutMessageId(), location);
  if (!found.empty())
    LinkRecord().updateIn(LinkIndexPath, record.shortcutId(), found.c_str(), LinkUpdateField::SetLocation);
  return found;
}

// A shortcut mail was moved: its link index line records the new folder.
void shortcutMoved(std::string_view header, const char* destination) {
  std::optional<ShortcutIdValue> value = readShortcutId(header);
  if (!value || !isShortcutId(value->id)) return;
  LinkRecord().updateIn(LinkIndexPath, value->id.c_str(), destination, LinkUpdateField::SetLocation);
}

// Any other mail was moved: when it is the target of a shortcut, the link
// index line and the shortcut's "X-FolderID" record the new folder.
void targetMoved(std::string_view header, const std::string& mailId, const char* destination) {
  // Without a Message-ID the link is found by the target's mail id.
  std::string key = targetMessageId(header);
  LinkFindKind kind = LinkFindKind::ByMessageId;
  if (key.empty()) {
    key = mailId;
    kind = LinkFindKind::ByMailId;
  }
  LinkRecord record;
  if (key.empty() || !record.findIn(LinkIndexPath, key.c_str(), kind) || !record.shortcutLocation()) return;
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
    if (isShortcutHeader(mail.header)) shortcutMoved(mail.header, destinationFolderId);
  return 0;
}

}  // namespace lumo
