// Module functions on Linux: the program's own symbols through dlopen(NULL)
// and dlsym, a module's file through dladdr. A module handle here is the base
// address at which the module is mapped (dladdr's dli_fbase).
#include <dlfcn.h>

#include <cstring>

#include "platform/win32.h"

extern "C" HMODULE GetModuleHandleA(LPCSTR moduleName) {
  if (moduleName) return nullptr;  // only the program itself is asked for
  return static_cast<HMODULE>(dlopen(nullptr, RTLD_NOW | RTLD_NOLOAD));
}

extern "C" FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  if (!module || !procName) return nullptr;
  void* address = dlsym(module, procName);
  FARPROC result = nullptr;
  static_assert(sizeof result == sizeof address);
  std::memcpy(&result, &address, sizeof result);
  return result;
}

// Copies the module's path, cut to size - 1 bytes as Windows does; returns
// the number of bytes copied (size when the path was cut), 0 on failure.
extern "C" DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
  if (!fileName || size == 0) return 0;
  Dl_info info{};
  if (!module || !dladdr(module, &info) || !info.dli_fname) return 0;
  std::size_t length = std::strlen(info.dli_fname);
  if (length >= size) {
    std::memcpy(fileName, info.dli_fname, size - 1);
    fileName[size - 1] = '\0';
    return size;
  }
  std::memcpy(fileName, info.dli_fname, length + 1);
  return static_cast<DWORD>(length);
}
