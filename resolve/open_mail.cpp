// BKC_OnOpenMail: resolving a shortcut mail to its target.
#include "resolve/open_mail.h"

#include <cstring>
#include <optional>
#include <string>

#include "host/api/host_api.h"
#include "host/api/host_text.h"
#include "host/api/module_state.h"
#include "host/api/user_messages.h"
#include "linkindex/link_record.h"
#include "linkindex/shortcut_id.h"
#include "resolve/locator/locator.h"
#include "resolve/open_steps.h"
#include "resolve/open_texts.h"
#include "shortcut/session_state.h"
#include "shortcut/shortcut_reader.h"

namespace lumo {
namespace {

// What a shortcut's headers say about its target. Ids that would lead
// outside the data folder (a forged header) are kept apart: such a target is
// never read, stored or selected, so it is treated as not found.
struct RecordedTarget {
  std::string mailId;
  std::string messageId;
  std::string folderId;
  bool mailIdSafe = true;

  explicit RecordedTarget(std::string_view header) {
    ShortcutTarget target = readShortcutTarget(header);
    mailId = target.mailId.value_or("");
    messageId = target.messageId.value_or("");
    folderId = target.folderId.value_or("");
    mailIdSafe = mailId.empty() || isStoreRelativeId(mailId);
    if (!folderId.empty() && !isStoreRelativeId(folderId)) folderId.clear();
  }
  // The mail id as it may be used: empty when it is not safe.
  std::string usableMailId() const { return mailIdSafe ? mailId : std::string(); }
};

// The jump command selects the target of the shortcut opened last, unless a
// creation waits for its destination (then the selection is the creation's).
void rememberTarget(std::string_view mailId) {
  if (CreationPending) return;
  if (mailId.size() >= sizeof SelectedTargetId) mailId = {};
  std::memcpy(SelectedTargetId, mailId.data(), mailId.size());
  SelectedTargetId[mailId.size()] = '\0';
}

bool ask(const char* text, const char* caption) { return askOkCancel(nullptr, text, caption); }

// The shortcut being opened: its id, and whether the link index line of that
// id is its own to write. Any mail can carry any shortcut id (a received one,
// a copy sent on); only the link's own shortcut mail, or any while the index
// holds no line of that id, brings the line in step, repairs or removes it.
struct OpenedShortcut {
  std::string id;
  bool ownsLine = true;
};

// The link is given up: the shortcut is marked deleted, its index line goes
// and the shortcut mail (the host's selection) moves to the trash folder.
void offerDelete(const OpenedShortcut& shortcut, const char* question) {
  if (!ask(question, open_text::DeleteCaption)) return;
  HostApi.BKA_SetSpecifiedHeader("X-LuMOID", ("DEL" + shortcut.id).c_str());
  if (shortcut.ownsLine)
    LinkRecord().updateIn(LinkIndexPath, shortcut.id.c_str(), "", LinkUpdateField::Remove);
  MoveSelectionToTrash();
}

// The target is not where the shortcut says: search its recorded folder,
// then, with the user's consent, every mailbox. A target found again is
// shown and recorded; otherwise the shortcut may be deleted.
void repairLink(const OpenedShortcut& shortcut, const RecordedTarget& target) {
  const char* deleteQuestion = open_text::DeleteQuestion;
  std::string found = FindMailInFolder(target.messageId, target.folderId);
  if (found.empty()) {
    if (!ask(open_text::RepairQuestion, open_text::LinkCaption)) return offerDelete(shortcut, deleteQuestion);
    found = FindMailInMailboxes(target.messageId);
    deleteQuestion = open_text::NotFoundDeleteQuestion;
    if (found.empty()) return offerDelete(shortcut, deleteQuestion);
  }
  HostApi.BKA_SetSpecifiedHeader("X-MailID", found.c_str());
  rememberTarget(found);
  if (shortcut.ownsLine)
    LinkRecord().updateIn(LinkIndexPath, shortcut.id.c_str(), found.c_str(), LinkUpdateField::SetMailId);
  const char* source = HostApi.BKA_GetSource(found.c_str());
  if (!source) return offerDelete(shortcut, deleteQuestion);
  showTarget(found.c_str(), source);
}

// The shortcut id, after the restore question for a deleted shortcut; none
// when the id is unusable or the user keeps the shortcut deleted.
std::optional<std::string> liveShortcutId(std::string_view header) {
  std::optional<ShortcutIdValue> value = readShortcutId(header);
  if (!value || !isShortcutId(value->id)) return std::nullopt;
  if (value->givenUp) {
    if (!ask(open_text::RestoreQuestion, open_text::LinkCaption)) return std::nullopt;
    HostApi.BKA_SetSpecifiedHeader("X-LuMOID", value->id.c_str());
  }
  return value->id;
}

void openShortcut(std::string_view header, const char* mailId) {
  ShortcutOpened = 1;
  MemoOpened = readMemoOn(header) ? 1 : 0;
  std::optional<std::string> shortcutId = liveShortcutId(header);
  if (!shortcutId) return;
  OpenedShortcut shortcut{*shortcutId};
  RecordedTarget target(header);
  // Whose the line is and bringing it in step take one read of the index.
  LinkRecord().storeOwnedIn(
      LinkIndexPath, shortcut.id.c_str(), target.folderId.c_str(), target.usableMailId().c_str(),
      target.messageId.c_str(), mailId, 1,
      [&](const LinkRecord& line) { return ownsLinkRecord(line, header, mailId); }, shortcut.ownsLine);
  const char* source = target.mailIdSafe ? HostApi.BKA_GetSource(target.mailId.c_str()) : nullptr;
  rememberTarget(target.usableMailId());
  if (source && std::strstr(source, target.messageId.c_str())) {
    showTarget(target.mailId.c_str(), source);
    HostApi.BKA_Command(nullptr, "SetRead");
    MarkFolderIndexEntry(target.messageId, target.folderId);
  } else {
    if (target.mailId.empty()) return;
    repairLink(shortcut, target);
  }
  leaveEditMode();
}

}  // namespace

int OnOpenMail(const char* mailId) {
  if (!mailId || std::strstr(mailId, "!Trash")) return 0;
  HostBlock header(HostApi.BKA_GetHeader(mailId));
  if (!header) return 0;
  if (isShortcutHeader(header.text()))
    openShortcut(header.text(), mailId);
  else
    restoreLostHeaders(header.text());
  return 0;
}

}  // namespace lumo
