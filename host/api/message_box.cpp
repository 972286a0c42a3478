// Message boxes with the plug-in's fixed modality.
#include "host/api/message_box.h"

namespace lumo {

int showMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxA(owner, text, caption, type | MB_TASKMODAL | MB_TOPMOST);
}

bool askOkCancel(HWND owner, const char* text, const char* caption, UINT icon) {
  return showMessageBox(owner, text, caption, MB_OKCANCEL | icon) == IDOK;
}

}  // namespace lumo
