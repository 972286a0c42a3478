// The exported entry points: each feature's export forwards to its own function;
// the others have fixed results. And the information record.
#include "host/entry_points.h"

#include <cstring>

#include "lumo_version.h"
#include "resolve/drag_drop.h"
#include "resolve/open_mail.h"
#include "settings/settings_dialog.h"
#include "shortcut/creation.h"
#include "ui/hotkeys.h"
#include "ui/menus.h"

#define LUMO_EXPORT_NAME(name, slot) #name,
const char* const LumoExportNames[LUMO_EXPORT_COUNT] = {LUMO_ENTRY_POINTS(LUMO_EXPORT_NAME)};
#undef LUMO_EXPORT_NAME

namespace {

template <std::size_t N>
void copyText(char (&field)[N], const char* text) {
  static_assert(N > 0);
  std::size_t length = std::strlen(text);
  if (length >= N) length = N - 1;
  std::memcpy(field, text, length);
  field[length] = '\0';
}

}  // namespace

extern "C" int WINAPI BKC_OnPlugInInfo(LumoPluginInfo* info) {
  if (!info) return 0;
  copyText(info->name, "Lumo Plug-In for B2");
  copyText(info->version, LUMO_VERSION_TEXT);
  copyText(info->description, "Make Shortcut of mail.");
  return 0;
}

extern "C" int WINAPI BKC_OnMenuInit(HWND window, HMENU menu, int menuType) {
  return lumo::OnMenuInit(window, menu, menuType);
}
extern "C" int WINAPI BKC_OnOpenFolder(LPCSTR folderId) { return lumo::OnOpenFolder(folderId); }
extern "C" int WINAPI BKC_OnOpenMail(LPCSTR mailId) { return lumo::OnOpenMail(mailId); }
extern "C" int WINAPI BKC_OnRetrieve(LPCSTR message, LPCSTR mailId) {
  return lumo::OnRetrieve(message, mailId);
}
extern "C" int WINAPI BKC_OnKeyDispatch(HWND window, int key, int shift) {
  return lumo::OnKeyDispatch(window, key, shift);
}
extern "C" int WINAPI BKC_OnDragDrop(LPCSTR destination, LPCSTR sourceList, int count, int effect) {
  return lumo::OnDragDrop(destination, sourceList, count, effect);
}
extern "C" int WINAPI LumoMakeShortCut(LPCSTR mailId, LPCSTR folderId) {
  return lumo::LumoMakeShortCut(mailId, folderId);
}
extern "C" int WINAPI BKC_OnPlugInSetup(HWND owner) {
  lumo::OpenSettingsDialog(owner);
  return 1;
}
extern "C" int WINAPI BKC_OnEveryMinute(void) { return 0; }

extern "C" int WINAPI BKC_OnOpenCompose(HWND, int) { return 0; }
extern "C" int WINAPI BKC_OnOutgoing(HWND, int) { return 0; }
extern "C" int WINAPI BKC_OnSend(LPCSTR) { return 0; }
extern "C" int WINAPI BKC_OnFinishRetrieve(int) { return 0; }
