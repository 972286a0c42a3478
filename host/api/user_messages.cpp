// Message boxes and status texts with the plug-in's fixed title and flags.
#include "host/api/user_messages.h"

#include "host/api/host_api.h"

namespace lumo {
namespace {

constexpr UINT kBoxFlags = MB_TASKMODAL | MB_TOPMOST;

}  // namespace

int showMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxA(owner, text, caption, type | kBoxFlags);
}

bool askOkCancel(HWND owner, const char* text, const char* caption, UINT icon) {
  return showMessageBox(owner, text, caption, MB_OKCANCEL | icon) == IDOK;
}

void showNotice(HWND owner, const char* text) {
  showMessageBox(owner, text, MessageTitle, MB_OK | MB_ICONINFORMATION);
}

void showStatus(const char* text) { HostApi.BKA_SetMessageText(nullptr, text); }

}  // namespace lumo
