// Binding of the host's functions by name.
#include "host/api/host_api.h"

#include <cstring>

namespace lumo {

HostApiTable HostApi;

const char* const HostFunctionNames[LUMO_HOST_FUNCTION_COUNT] = {
#define LUMO_HOST_NAME(name, result, params) #name,
    LUMO_HOST_FUNCTIONS(LUMO_HOST_NAME)
#undef LUMO_HOST_NAME
};

namespace {

// Stores a looked-up address in a typed member. The bit copy avoids a cast
// between unrelated function pointer types.
template <typename Fn>
bool bindOne(HMODULE module, const char* name, Fn& slot) {
  FARPROC address = GetProcAddress(module, name);
  if (!address) return false;
  static_assert(sizeof(Fn) == sizeof(FARPROC));
  std::memcpy(&slot, &address, sizeof slot);
  return true;
}

}  // namespace

int bindHostApi() {
  if (HostApi.module) return 1;
  HMODULE module = GetModuleHandleA(nullptr);
  if (!module) return 0;
  bool ok = true;
#define LUMO_HOST_BIND(name, result, params) ok = ok && bindOne(module, #name, HostApi.name);
  LUMO_HOST_FUNCTIONS(LUMO_HOST_BIND)
#undef LUMO_HOST_BIND
  if (!ok) {
    HostApi = HostApiTable{};
    return 0;
  }
  HostApi.module = module;
  return 1;
}

}  // namespace lumo
