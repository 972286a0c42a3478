// Loading lumo.dll with LoadLibraryA: the Windows loader itself sends the
// process-attach notification and refuses a module whose notification fails.
// The host then watches the plug-in's user-interface calls (real_windows.h).
#include "host-sim/core/plugin_module.h"
#include "host-sim/windows/real_windows.h"

namespace lumo::hostsim {
namespace {

class LibraryPlugin : public PluginModule {
 public:
  explicit LibraryPlugin(std::string path) : path_(std::move(path)) {}
  ~LibraryPlugin() override { unload(); }

  bool load() override {
    if (module_) return true;
    module_ = LoadLibraryA(path_.c_str());
    if (!module_) {
      DWORD why = GetLastError();
      error_ = why == ERROR_DLL_INIT_FAILED ? path_ + " refused to load (its load notification failed)"
                                            : "cannot load " + path_ + " (error " + std::to_string(why) + ")";
      return false;
    }
    if (!bindAll()) {
      error_ = path_ + " lacks a plug-in entry point";
      unload();
      return false;
    }
    RealWindows::watchImports(module_);
    return true;
  }

  void unload() override {
    if (!module_) return;
    FreeLibrary(module_);  // the loader sends the process-detach notification
    module_ = nullptr;
    entry_ = PluginEntryPoints();
  }

  bool loaded() const override { return module_ != nullptr; }
  const PluginEntryPoints& entry() const override { return entry_; }
  std::string description() const override { return path_; }

 private:
  // DllMain is the loader's to call and is not exported from lumo.dll.
  bool bindAll() {
    return bindEntryPoints(
        entry_, [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(module_, name)); });
  }

  std::string path_;
  HMODULE module_ = nullptr;
  PluginEntryPoints entry_;
};

}  // namespace

const char* const kPluginFileName = "lumo.dll";

std::unique_ptr<PluginModule> makeLibraryPlugin(const std::string& path) {
  return std::make_unique<LibraryPlugin>(path);
}

}  // namespace lumo::hostsim
