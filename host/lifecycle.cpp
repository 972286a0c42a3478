// Loading, start and exit of the plug-in.
#include "host/api/host_api.h"
#include "host/api/module_state.h"
#include "host/cleanup_trigger.h"
#include "host/entry_points.h"
#include "host/side_path.h"
#include "settings/settings_store.h"
#include "ui/hooks.h"

namespace lumo {

namespace {

// Works out the settings and link index paths from the module's own path. A
// path that fills the whole buffer may have been cut: then neither file is
// used, rather than some other file of a cut name.
void deriveFilePaths() {
  char modulePath[PathCapacity] = "";
  DWORD length = GetModuleFileNameA(ModuleHandle, modulePath, PathCapacity);
  if (length == 0 || length >= static_cast<DWORD>(PathCapacity - 1)) {
    SettingsPath[0] = LinkIndexPath[0] = '\0';
    return;
  }
  std::string_view path(modulePath, length);
  deriveSidePath(path, ".ini", SettingsPath, PathCapacity);
  deriveSidePath(path, ".idx", LinkIndexPath, PathCapacity);
}

}  // namespace
}  // namespace lumo

using namespace lumo;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
  ModuleHandle = module;
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  if (!bindHostApi()) return FALSE;
  deriveFilePaths();
  loadSettings(SettingsPath);
  return TRUE;
}

extern "C" int WINAPI BKC_OnStart(void) {
  HWND windows[4] = {};
  HostApi.BKA_GetWindowHandles(&windows[0], &windows[1], &windows[2], &windows[3]);
  ListWindow = windows[2];
  installHooks(windows[0], ListWindow);
  return 0;
}

extern "C" int WINAPI BKC_OnExit(void) {
  removeHooks();
  int threshold = readSettingInt(SettingsPath, KeyLumoCleanInt, 0);
  CleanupDecision decision = decideCleanup(threshold, Settings.lumoCount);
  if (!decision.run) return 0;
  cleanLinkIndex(LinkIndexPath);
  writeSettingInt(SettingsPath, KeyLumoCleanInt, decision.nextThreshold);
  return 0;
}
