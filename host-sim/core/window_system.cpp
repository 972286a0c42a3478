// The window system that serves the plug-in's user-interface calls.
#include "host-sim/core/window_system.h"

namespace lumo::hostsim {
namespace {

WindowSystem* active = nullptr;

}  // namespace

bool answerFits(UINT type, int answer) {
  switch (type & MB_TYPEMASK) {
    case MB_OK:
      return answer == IDOK;
    case MB_OKCANCEL:
      return answer == IDOK || answer == IDCANCEL;
    case MB_ABORTRETRYIGNORE:
      return answer == IDABORT || answer == IDRETRY || answer == IDIGNORE;
    case MB_YESNOCANCEL:
      return answer == IDYES || answer == IDNO || answer == IDCANCEL;
    case MB_YESNO:
      return answer == IDYES || answer == IDNO;
    case MB_RETRYCANCEL:
      return answer == IDRETRY || answer == IDCANCEL;
    default:
      return true;
  }
}

int fallbackAnswer(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OK:
      return IDOK;
    case MB_ABORTRETRYIGNORE:
      return IDABORT;
    case MB_YESNO:
      return IDNO;
    default:
      return IDCANCEL;
  }
}

WindowSystem* activeWindowSystem() { return active; }
void setActiveWindowSystem(WindowSystem* windows) { active = windows; }

}  // namespace lumo::hostsim
