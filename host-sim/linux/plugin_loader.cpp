// Loading the plug-in on Linux: from lumo.so with dlopen, as the Windows
// loader would (process-attach notification; a refusal unloads it), or
// linked into the program. The module handle passed is the module's base
// address, from which the plug-in finds its own file.
#include <dlfcn.h>

#include "host-sim/core/plugin_module.h"

namespace lumo::hostsim {
namespace {

template <typename F>
bool bind(void* library, const char* name, F& slot) {
  void* address = dlsym(library, name);
  slot = reinterpret_cast<F>(address);
  return address != nullptr;
}

class LibraryPlugin : public PluginModule {
 public:
  explicit LibraryPlugin(std::string path) : path_(std::move(path)) {}
  ~LibraryPlugin() override { unload(); }

  bool load() override {
    if (library_) return true;
    library_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_) {
      const char* why = dlerror();
      error_ = "cannot load " + path_ + ": " + (why ? why : "unknown error");
      return false;
    }
    PluginEntryPoints& e = entry_;
    bool all = bind(library_, "DllMain", e.DllMain) && bind(library_, "BKC_OnStart", e.OnStart) &&
               bind(library_, "BKC_OnExit", e.OnExit) && bind(library_, "BKC_OnMenuInit", e.OnMenuInit) &&
               bind(library_, "BKC_OnOpenFolder", e.OnOpenFolder) &&
               bind(library_, "BKC_OnOpenMail", e.OnOpenMail) &&
               bind(library_, "BKC_OnRetrieve", e.OnRetrieve) &&
               bind(library_, "BKC_OnKeyDispatch", e.OnKeyDispatch) &&
               bind(library_, "BKC_OnDragDrop", e.OnDragDrop) &&
               bind(library_, "LumoMakeShortCut", e.MakeShortCut) &&
               bind(library_, "BKC_OnPlugInSetup", e.OnPlugInSetup) &&
               bind(library_, "BKC_OnPlugInInfo", e.OnPlugInInfo) &&
               bind(library_, "BKC_OnEveryMinute", e.OnEveryMinute) &&
               bind(library_, "BKC_OnOpenCompose", e.OnOpenCompose) &&
               bind(library_, "BKC_OnOutgoing", e.OnOutgoing) && bind(library_, "BKC_OnSend", e.OnSend) &&
               bind(library_, "BKC_OnFinishRetrieve", e.OnFinishRetrieve);
    if (!all) {
      error_ = path_ + " lacks a plug-in entry point";
      close();
      return false;
    }
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(e.DllMain), &info);
    module_ = static_cast<HINSTANCE>(info.dli_fbase);
    if (!e.DllMain(module_, DLL_PROCESS_ATTACH, nullptr)) {
      error_ = path_ + " refused to load (its load notification failed)";
      close();
      return false;
    }
    return true;
  }

  void unload() override {
    if (!library_) return;
    entry_.DllMain(module_, DLL_PROCESS_DETACH, nullptr);
    close();
  }

  bool loaded() const override { return library_ != nullptr; }
  const PluginEntryPoints& entry() const override { return entry_; }
  std::string description() const override { return path_; }

 private:
  void close() {
    dlclose(library_);
    library_ = nullptr;
    entry_ = PluginEntryPoints();
  }

  std::string path_;
  void* library_ = nullptr;
  HINSTANCE module_ = nullptr;
  PluginEntryPoints entry_;
};

}  // namespace

const char* const kPluginFileName = "lumo.so";

std::unique_ptr<PluginModule> makeLibraryPlugin(const std::string& path) {
  return std::make_unique<LibraryPlugin>(path);
}

}  // namespace lumo::hostsim
