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
  decltype(&::DllMain) DllMain = nullptr;
#define LUMO_HOSTSIM_SLOT(name, slot) decltype(&::name) slot = nullptr;
  LUMO_ENTRY_POINTS(LUMO_HOSTSIM_SLOT)
#undef LUMO_HOSTSIM_SLOT
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
  bool all = true;
#define LUMO_HOSTSIM_BIND(name, slot) all = bind(#name, e.slot) && all;
  LUMO_ENTRY_POINTS(LUMO_HOSTSIM_BIND)
#undef LUMO_HOSTSIM_BIND
  return all;
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
