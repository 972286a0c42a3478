// The jump command and the two folder commands.
#include "ui/commands.h"

#include <cstring>

#include "host/api/host_api.h"
#include "host/api/module_state.h"
#include "host/api/user_messages.h"
#include "settings/settings_store.h"
#include "shortcut/session_state.h"
#include "ui/menu_texts.h"
#include "ui/select_mail.h"

namespace lumo {
namespace {

// Asks the question; on OK stores the current folder id in the setting, in
// memory and in the settings file.
template <std::size_t N>
void chooseFolder(HWND owner, const char* question, const char* key, char (&setting)[N]) {
  if (!askOkCancel(owner, question)) return;
  const char* folder = HostApi.BKA_GetCurrentFolder();
  if (folder == nullptr || folder[0] == '\0') return;
  std::size_t length = std::strlen(folder);
  if (length >= N || std::strpbrk(folder, "\r\n") != nullptr) return;
  std::memcpy(setting, folder, length + 1);
  writeSettingText(SettingsPath, key, setting);
}

}  // namespace

void WINAPI JumpToTargetCommand(HWND, LPARAM) { selectMail(SelectedTargetId); }

void WINAPI SetCreationFolderCommand(HWND window, LPARAM) {
  chooseFolder(window, menu_text::AskCreationFolder, KeySetScPath, Settings.setScPath);
}

void WINAPI SetRetrieveFolderCommand(HWND window, LPARAM) {
  chooseFolder(window, menu_text::AskRetrieveFolder, KeyRetScPath, Settings.retScPath);
}

}  // namespace lumo
