// Storage of the module's process-wide state; set while loading and at start.
#include "host/api/module_state.h"

namespace lumo {

HINSTANCE ModuleHandle = nullptr;
char SettingsPath[PathCapacity] = "";
char LinkIndexPath[PathCapacity] = "";
HWND ListWindow = nullptr;

}  // namespace lumo
