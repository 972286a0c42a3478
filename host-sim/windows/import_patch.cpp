// Import address table rewriting on a mapped PE image.
#include "host-sim/windows/import_patch.h"

#include <cstring>

namespace lumo::hostsim {
namespace {

const IMAGE_IMPORT_DESCRIPTOR* importsOf(const BYTE* base) {
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (dir.VirtualAddress == 0) return nullptr;
  return reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
}

bool writeSlot(ULONG_PTR* slot, const void* replacement) {
  DWORD old = 0;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return false;
  *slot = reinterpret_cast<ULONG_PTR>(replacement);
  VirtualProtect(slot, sizeof *slot, old, &old);
  return true;
}

}  // namespace

bool replaceImport(HMODULE module, const char* dllName, const char* functionName, const void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  if (!base) return false;
  for (auto* d = importsOf(base); d && d->Name; ++d) {
    if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dllName) != 0) continue;
    // The name table stays as linked; the address table holds what the loader bound.
    DWORD namesAt = d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk;
    auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + namesAt);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), functionName) == 0)
        return writeSlot(&slots->u1.Function, replacement);
    }
  }
  return false;
}

}  // namespace lumo::hostsim
