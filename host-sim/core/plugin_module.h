// The plug-in as the host sees it: its load notification and sixteen entry
// points, reached through a loaded shared library or by direct linking.
#pragma once

#include <memory>
#include <string>
#include <type_traits>

#include "host/entry_points.h"

namespace lumo::hostsim {

// The entry points of one loaded plug-in. Every pointer is set once load()
// succeeded.
struct PluginEntryPoints {
  BOOL(WINAPI* DllMain)(HINSTANCE, DWORD, LPVOID) = nullptr;
  int(WINAPI* OnStart)() = nullptr;
  int(WINAPI* OnExit)() = nullptr;
  int(WINAPI* OnMenuInit)(HWND, HMENU, int) = nullptr;
  int(WINAPI* OnOpenFolder)(LPCSTR) = nullptr;
  int(WINAPI* OnOpenMail)(LPCSTR) = nullptr;
  int(WINAPI* OnRetrieve)(LPCSTR, LPCSTR) = nullptr;
  int(WINAPI* OnKeyDispatch)(HWND, int, int) = nullptr;
  int(WINAPI* OnDragDrop)(LPCSTR, LPCSTR, int, int) = nullptr;
  int(WINAPI* MakeShortCut)(LPCSTR, LPCSTR) = nullptr;
  int(WINAPI* OnPlugInSetup)(HWND) = nullptr;
  int(WINAPI* OnPlugInInfo)(LumoPluginInfo*) = nullptr;
  int(WINAPI* OnEveryMinute)() = nullptr;
  int(WINAPI* OnOpenCompose)(HWND, int) = nullptr;
  int(WINAPI* OnOutgoing)(HWND, int) = nullptr;
  int(WINAPI* OnSend)(LPCSTR) = nullptr;
  int(WINAPI* OnFinishRetrieve)(int) = nullptr;
};

// Binds the sixteen entry points by name through `lookup`, which gives an
// address or null. False when any of them is missing.
template <typename Lookup>
bool bindEntryPoints(PluginEntryPoints& e, Lookup lookup) {
  auto bind = [&](const char* name, auto& slot) {
    void* address = lookup(name);
    slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(address);
    return address != nullptr;
  };
  return bind("BKC_OnStart", e.OnStart) && bind("BKC_OnExit", e.OnExit) && bind("BKC_OnMenuInit", e.OnMenuInit) &&
         bind("BKC_OnOpenFolder", e.OnOpenFolder) && bind("BKC_OnOpenMail", e.OnOpenMail) &&
         bind("BKC_OnRetrieve", e.OnRetrieve) && bind("BKC_OnKeyDispatch", e.OnKeyDispatch) &&
         bind("BKC_OnDragDrop", e.OnDragDrop) && bind("LumoMakeShortCut", e.MakeShortCut) &&
         bind("BKC_OnPlugInSetup", e.OnPlugInSetup) && bind("BKC_OnPlugInInfo", e.OnPlugInInfo) &&
         bind("BKC_OnEveryMinute", e.OnEveryMinute) && bind("BKC_OnOpenCompose", e.OnOpenCompose) &&
         bind("BKC_OnOutgoing", e.OnOutgoing) && bind("BKC_OnSend", e.OnSend) &&
         bind("BKC_OnFinishRetrieve", e.OnFinishRetrieve);
}

class PluginModule {
 public:
  virtual ~PluginModule() = default;
  // Maps the module and sends it the process-attach notification, as the
  // Windows loader does; a failed notification unloads it again. Returns
  // false with a reason in error().
  virtual bool load() = 0;
  // Sends process-detach and unmaps the module.
  virtual void unload() = 0;
  virtual bool loaded() const = 0;
  virtual const PluginEntryPoints& entry() const = 0;
  virtual std::string description() const = 0;
  const std::string& error() const { return error_; }

 protected:
  std::string error_;
};

// The plug-in's file name on this platform: "lumo.so" or "lumo.dll".
extern const char* const kPluginFileName;

// The plug-in linked into this program (tests): DllMain is called directly,
// with the program's base address as the module handle.
std::unique_ptr<PluginModule> makeLinkedPlugin();
// A plug-in shared library loaded from a file (lumo.so / lumo.dll).
std::unique_ptr<PluginModule> makeLibraryPlugin(const std::string& path);

}  // namespace lumo::hostsim
