// Derivation of the settings and link index paths from the module path.
#include "host/side_path.h"

#include <cstring>

namespace lumo {

bool deriveSidePath(std::string_view modulePath, std::string_view extension, char* out, int capacity) {
  if (capacity <= 0) return false;
  out[0] = '\0';
  std::size_t dot = modulePath.rfind('.');
  std::string_view stem = dot == std::string_view::npos ? modulePath : modulePath.substr(0, dot);
  if (stem.empty() || stem.size() + extension.size() >= static_cast<std::size_t>(capacity)) return false;
  std::memcpy(out, stem.data(), stem.size());
  std::memcpy(out + stem.size(), extension.data(), extension.size());
  out[stem.size() + extension.size()] = '\0';
  return true;
}

}  // namespace lumo
