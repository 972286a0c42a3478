// The data folder as the host gives it.
#include "resolve/locator/store_paths.h"

#include "host/api/host_api.h"

namespace lumo::locator {

std::string dataFolder() {
  const char* data = HostApi.BKA_GetDataFolder ? HostApi.BKA_GetDataFolder() : nullptr;
  if (data == nullptr || *data == '\0') return {};
  std::string folder(data);
  // The host ends it in "\"; ids are appended to it as they are.
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return folder;
}

}  // namespace lumo::locator
