// The hooks' actions (see hook_actions.h).
#include "ui/hook_actions.h"

#include <cstdio>
#include <cstring>

#include "host/api/host_api.h"
#include "host/api/module_state.h"
#include "linkindex/link_record.h"
#include "resolve/locator/locator.h"
#include "settings/settings_store.h"
#include "shortcut/session_state.h"
#include "shortcut/shortcut_reader.h"
#include "ui/hook_decisions.h"
#include "ui/hook_texts.h"
#include "ui/shortcut_search.h"

namespace lumo {
namespace {

// A header text from BKA_GetHeader, handed back to the host on scope exit.
struct HeaderText {
  explicit HeaderText(char* block) : text(block) {}
  ~HeaderText() {
    if (text) HostApi.BKA_Free(text);
  }
  HeaderText(const HeaderText&) = delete;
  HeaderText& operator=(const HeaderText&) = delete;
  std::string_view view() const { return text ? std::string_view(text) : std::string_view(); }
  char* text;
};

void removeLinkOfMail(const char* mailId) {
  HeaderText header(HostApi.BKA_GetHeader(mailId));
  std::optional<ShortcutIdValue> id = readShortcutId(header.view());
  if (!id || id->givenUp) return;  // a shortcut marked deleted lost its line then
  LinkRecord record;
  record.updateIn(LinkIndexPath, id->id.c_str(), "", LinkUpdateField::Remove);
}

// A double-click on the list's empty space leaves no mail selected; like a
// double-click in a folder the plug-in does not act on, it does not count.
bool anyMailSelected() {
  char mailId[IdCapacity] = "";
  return HostApi.BKA_GetNextMail(-1, mailId, IdCapacity, 1) >= 0;
}

bool currentMailStatusClear() {
  char status[256] = "";
  HostApi.BKA_GetSpecifiedHeader("X-Becky-Status", status, sizeof status);
  status[sizeof status - 1] = '\0';
  return statusTestPasses(status);
}

}  // namespace

void refuseDirectEdit() {
  MessageBoxA(nullptr, hook_text::EditRefused, hook_text::Title, hook_text::StopBoxStyle);
  EditRefusalCount = 1;
  HostApi.BKA_Command(nullptr, "EditMode");
}

int RemoveSelectedLinks() {
  char mailId[IdCapacity] = "";
  int count = 0;
  // Positions only grow; a host that gave one back again would walk forever.
  for (int at = -1, next; (next = HostApi.BKA_GetNextMail(at, mailId, IdCapacity, 1)) > at; at = next) {
    mailId[IdCapacity - 1] = '\0';
    ++count;
    removeLinkOfMail(mailId);
  }
  if (count == 0) return 0;
  char status[sizeof hook_text::LinksRemovedFormat + 16];
  std::snprintf(status, sizeof status, hook_text::LinksRemovedFormat, count);
  HostApi.BKA_SetMessageText(nullptr, status);
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
  LinkKey key;
  if (!currentMailLinkKey(key)) return;
  LinkRecord record;
  if (!record.findIn(LinkIndexPath, key.text, key.kind) || record.shortcutLocation() == nullptr) return;
  std::string destination = record.shortcutLocation();
  if (destination.size() >= IdCapacity) return;
  // A location without "?" is the folder the shortcut was moved into.
  if (destination.find('?') == std::string::npos) {
    std::string hit = relocateShortcut(record, destination);
    if (!hit.empty()) destination = hit;
  }
  selectMail(destination.c_str());
}

}  // namespace lumo
