// The window system that serves the plug-in's user-interface calls.
#include "host-sim/core/window_system.h"

namespace lumo::hostsim {
namespace {

WindowSystem* active = nullptr;

}  // namespace

WindowSystem* activeWindowSystem() { return active; }
void setActiveWindowSystem(WindowSystem* windows) { active = windows; }

}  // namespace lumo::hostsim
