// Finding a moved shortcut again and recording where it is.
#include "resolve/locator/moved_shortcut.h"

#include <cstring>

#include "host/api/module_state.h"
#include "resolve/locator/locator.h"

namespace lumo {

std::string relocateShortcut(const LinkRecord& record) {
  const char* location = record.shortcutLocation();
  if (location == nullptr || record.shortcutId() == nullptr || std::strchr(location, '?') != nullptr)
    return {};
  // An empty Message-ID finds nothing; a folder outside the store is not read.
  std::string moved = FindMailInFolder(record.shortcutMessageId(), location);
  if (!moved.empty())
    LinkRecord().updateIn(LinkIndexPath, record.shortcutId(), moved.c_str(), LinkUpdateField::SetLocation);
  return moved;
}

}  // namespace lumo
