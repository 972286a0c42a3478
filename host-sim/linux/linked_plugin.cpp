// The plug-in linked into this program (tests): the same load notification
// and entry points, called directly.
#include <dlfcn.h>

#include "host-sim/core/plugin_module.h"

namespace lumo::hostsim {
namespace {

class LinkedPlugin : public PluginModule {
 public:
  LinkedPlugin() {
    entry_.DllMain = DllMain;
#define LUMO_HOSTSIM_LINK(name, slot) entry_.slot = name;
    LUMO_ENTRY_POINTS(LUMO_HOSTSIM_LINK)
#undef LUMO_HOSTSIM_LINK
  }
  ~LinkedPlugin() override { unload(); }

  bool load() override {
    if (loaded_) return true;
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&DllMain), &info);
    module_ = static_cast<HINSTANCE>(info.dli_fbase);
    if (!DllMain(module_, DLL_PROCESS_ATTACH, nullptr)) {
      error_ = "the linked plug-in refused to load (its load notification failed)";
      return false;
    }
    loaded_ = true;
    return true;
  }
  void unload() override {
    if (loaded_) DllMain(module_, DLL_PROCESS_DETACH, nullptr);
    loaded_ = false;
  }
  bool loaded() const override { return loaded_; }
  const PluginEntryPoints& entry() const override { return entry_; }
  std::string description() const override { return "linked plug-in"; }

 private:
  PluginEntryPoints entry_;
  HINSTANCE module_ = nullptr;
  bool loaded_ = false;
};

}  // namespace

std::unique_ptr<PluginModule> makeLinkedPlugin() { return std::make_unique<LinkedPlugin>(); }

}  // namespace lumo::hostsim
