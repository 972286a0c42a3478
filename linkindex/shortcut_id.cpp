// Checks the form of shortcut ids before they select or create index lines.
#include "linkindex/shortcut_id.h"

#include "text/id_limits.h"

namespace lumo {

bool isShortcutId(std::string_view id) {
  if (id.size() > kIdMax) return false;
  std::size_t underscore = id.find('_');
  if (underscore == 0 || underscore == std::string_view::npos || underscore + 1 == id.size()) return false;
  for (std::size_t i = 0; i < underscore; ++i) {
    char c = id[i];
    // Ids are written in lower case only: "2A_3" is not the id "2a_3".
    bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    if (!hex) return false;
  }
  for (std::size_t i = underscore + 1; i < id.size(); ++i)
    if (id[i] < '0' || id[i] > '9') return false;
  return true;
}

}  // namespace lumo
