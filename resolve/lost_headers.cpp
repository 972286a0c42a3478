// A shortcut mail that lost its own headers (a mail client or a filter
// rewrote them) still carries its shortcut id in the "id=" parameter of its
// "Content-Type" field; the link index line of that id gives them back.
#include <optional>
#include <string>

#include "host/api/host_api.h"
#include "host/api/host_text.h"
#include "host/api/module_state.h"
#include "linkindex/link_record.h"
#include "resolve/locator/locator.h"
#include "resolve/open_steps.h"
#include "shortcut/session_state.h"
#include "shortcut/shortcut_reader.h"

namespace lumo {
namespace {

const char* orEmpty(const char* text) { return text ? text : ""; }

void writeShortcutHeaders(const LinkRecord& record) {
  HostApi.BKA_SetSpecifiedHeader("X-LuMOID", record.shortcutId());
  HostApi.BKA_SetSpecifiedHeader("X-MailID", orEmpty(record.targetMailId()));
  HostApi.BKA_SetSpecifiedHeader("X-FolderID", orEmpty(record.targetFolderId()));
  HostApi.BKA_SetSpecifiedHeader("X-Message-ID", orEmpty(record.targetMessageId()));
  HostApi.BKA_SetSpecifiedHeader("X-MEMO", "OFF");
}

}  // namespace

void restoreLostHeaders(std::string_view header) {
  ShortcutOpened = 0;
  std::optional<std::string> id = readFallbackId(header);
  if (!id) return;
  LinkRecord record;
  if (!record.findIn(LinkIndexPath, id->c_str(), LinkFindKind::ByShortcutId)) return;
  // Any received mail can carry any "id=": only the link's own shortcut
  // mail takes its headers back.
  if (!isShortcutMailOf(record, header)) return;
  // Ids that would lead outside the data folder name no mail.
  const char* target = record.targetMailId();
  const char* folder = record.targetFolderId();
  if ((target && !isStoreRelativeId(target)) || (folder && !isStoreRelativeId(folder))) return;
  writeShortcutHeaders(record);
  const char* source = target ? HostApi.BKA_GetSource(target) : nullptr;
  if (!source) return;
  setSourceText("TEMP", source);
  ShortcutOpened = 1;
}

}  // namespace lumo
