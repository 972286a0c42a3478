// Loading lumo.dll with LoadLibraryA: the Windows loader itself sends the
// process-attach notification and refuses a module whose notification fails.
// The host then watches the plug-in's user-interface calls (real_windows.h).
#include "host-sim/core/plugin_module.h"
#include "host-sim/windows/real_windows.h"

namespace lumo::hostsim {
namespace {

template <typename F>
bool bind(HMODULE module, const char* name, F& slot) {
  FARPROC address = GetProcAddress(module, name);
  slot = reinterpret_cast<F>(reinterpret_cast<void*>(address));
  return address != nullptr;
}

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
    PluginEntryPoints& e = entry_;
    HMODULE m = module_;
    return bind(m, "BKC_OnStart", e.OnStart) && bind(m, "BKC_OnExit", e.OnExit) &&
           bind(m, "BKC_OnMenuInit", e.OnMenuInit) && bind(m, "BKC_OnOpenFolder", e.OnOpenFolder) &&
           bind(m, "BKC_OnOpenMail", e.OnOpenMail) && bind(m, "BKC_OnRetrieve", e.OnRetrieve) &&
           bind(m, "BKC_OnKeyDispatch", e.OnKeyDispatch) && bind(m, "BKC_OnDragDrop", e.OnDragDrop) &&
           bind(m, "LumoMakeShortCut", e.MakeShortCut) && bind(m, "BKC_OnPlugInSetup", e.OnPlugInSetup) &&
           bind(m, "BKC_OnPlugInInfo", e.OnPlugInInfo) && bind(m, "BKC_OnEveryMinute", e.OnEveryMinute) &&
           bind(m, "BKC_OnOpenCompose", e.OnOpenCompose) && bind(m, "BKC_OnOutgoing", e.OnOutgoing) &&
           bind(m, "BKC_OnSend", e.OnSend) && bind(m, "BKC_OnFinishRetrieve", e.OnFinishRetrieve);
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
