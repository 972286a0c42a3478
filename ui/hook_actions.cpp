// The hooks' actions (see hook_actions.h).
#include "ui/hook_actions.h"

#include <cstdio>
#include <vector>

#include "host/api/host_api.h"
#include "host/api/host_block.h"
#include "host/api/module_state.h"
#include "host/api/selected_mails.h"
#include "host/api/user_messages.h"
#include "linkindex/link_record.h"
#include "resolve/locator/locator.h"
#include "resolve/locator/moved_shortcut.h"
#include "settings/settings_store.h"
#include "shortcut/session_state.h"
#include "shortcut/shortcut_reader.h"
#include "ui/find_shortcut.h"
#include "ui/hook_decisions.h"
#include "ui/hook_texts.h"
#include "ui/select_mail.h"

namespace lumo {
namespace {

// The shortcut that a mail being deleted is, if it is one whose line is
// still in the index (a shortcut marked deleted lost its line then) and the
// line is its own (a copy's deletion leaves the link of the original).
void noteDeletedShortcut(const char* mailId, std::vector<DeletedShortcut>& deleted) {
  HostBlock header(HostApi.BKA_GetHeader(mailId));
  std::optional<ShortcutIdValue> id = readShortcutId(header.text());
  if (!id || id->givenUp || !ownsLinkLine(id->id, header.text(), mailId)) return;
  deleted.push_back({std::move(id->id), headerMessageId(header.text())});
}

// A double-click on the list's empty space leaves no mail selected; like a
// double-click in a folder the plug-in does not act on, it does not count.
bool anyMailSelected() {
  char mailId[IdCapacity] = "";
  return HostApi.BKA_GetNextMail(-1, mailId, IdCapacity, 1) >= 0;
}

bool currentMailStatusClear() {
  char status[256] = "";
  HostApi.BKA_GetSpecifiedHeader("X-B2-Status", status, sizeof status);
  status[sizeof status - 1] = '\0';
  return statusTestPasses(status);
}

}  // namespace

void refuseDirectEdit() {
  showMessageBox(nullptr, hook_text::EditRefused, MessageTitle, MB_OK | MB_ICONHAND);
  EditRefusalCount = 1;
  HostApi.BKA_Command(nullptr, "EditMode");
}

int RemoveSelectedLinks() {
  std::vector<DeletedShortcut> deleted;
  int count = forEachSelectedMail([&](const char* mailId) { noteDeletedShortcut(mailId, deleted); });
  // One rewrite for the whole command, however many mails it deletes: this
  // runs inside a hook, on the thread of the host's windows.
  if (!deleted.empty()) LinkRecord::removeLinksOf(LinkIndexPath, deleted);
  if (count == 0) return 0;
  char status[sizeof hook_text::LinksRemovedFormat + 16];
  std::snprintf(status, sizeof status, hook_text::LinksRemovedFormat, count);
  showStatus(status);
  return 1;
}

bool jumpOnDoubleClick() {
  const char* folder = HostApi.BKA_GetCurrentFolder();
  if (folder == nullptr || !IsUsableFolder(folder) || !anyMailSelected()) return false;
  switch (chooseDoubleClickJump(Settings.realMail != 0, ShortcutOpened != 0, SelectedTargetId[0] != '\0')) {
    case DoubleClickJump::ToTarget:
      selectMail(SelectedTargetId);
      break;
    case DoubleClickJump::ToTargetWhenStatusClear:
      if (currentMailStatusClear()) selectMail(SelectedTargetId);
      break;
    case DoubleClickJump::BackWhenCurrentIsTarget: {
      const char* current = HostApi.BKA_GetCurrentMail();
      if (current != nullptr && sameMailId(current, SelectedTargetId)) goBackToShortcut();
      break;
    }
    case DoubleClickJump::None:
      break;
  }
  return true;
}

void goBackToShortcut() {
  if (currentMailStatusClear()) return;
  LinkRecord record;
  if (!findLinkOfSelected(record) || record.shortcutLocation() == nullptr) return;
  // A location without "?" is the folder the shortcut was moved into: the
  // shortcut is looked for there, and the folder id itself selected when it
  // is not found.
  std::string moved = relocateShortcut(record);
  selectMail(moved.empty() ? record.shortcutLocation() : moved.c_str());
}

}  // namespace lumo
