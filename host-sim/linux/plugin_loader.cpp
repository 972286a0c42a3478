// Loading the plug-in on Linux: from lumo.so with dlopen, as the Windows
// loader would (process-attach notification; a refusal unloads it), or
// linked into the program. The module handle passed is the module's base
// address, from which the plug-in finds its own file.
#include <dlfcn.h>

#include "host-sim/core/plugin_module.h"

namespace lumo::hostsim {
namespace {

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
    e.DllMain = reinterpret_cast<decltype(e.DllMain)>(dlsym(library_, "DllMain"));
    bool all = e.DllMain && bindEntryPoints(e, [&](const char* name) { return dlsym(library_, name); });
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
