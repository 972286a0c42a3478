// Message boxes and status texts with the plug-in's fixed title and flags.
#include "host/api/user_messages.h"

#include "host/api/host_api.h"

namespace lumo {
namespace {

constexpr UINT kBoxFlags = MB_TASKMODAL | MB_TOPMOST;

}  // namespace

bool askOkCancel(HWND owner, const char* text) {
  return MessageBoxA(owner, text, MessageTitle, MB_OKCANCEL | kBoxFlags) == IDOK;
}

void showNotice(HWND owner, const char* text) {
  MessageBoxA(owner, text, MessageTitle, MB_OK | MB_ICONINFORMATION | kBoxFlags);
}

void showStatus(const char* text) { HostApi.BKA_SetMessageText(nullptr, text); }

}  // namespace lumo
