// Checks the form of shortcut ids before they select or create index lines.
#include "linkindex/shortcut_id.h"

namespace lumo {

bool isShortcutId(std::string_view id) {
  if (id.size() > kShortcutIdMax) return false;
  std::size_t underscore = id.find('_');
  if (underscore == 0 || underscore == std::string_view::npos || underscore + 1 == id.size()) return false;
  for (std::size_t i = 0; i < underscore; ++i) {
    char c = id[i];
    bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!hex) return false;
  }
  for (std::size_t i = underscore + 1; i < id.size(); ++i)
    if (id[i] < '0' || id[i] > '9') return false;
  return true;
}

}  // namespace lumo
