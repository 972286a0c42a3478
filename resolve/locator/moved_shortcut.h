// A shortcut mail the user moved is recorded in the link index by its
// folder alone (the host gives it a new key only after the drop); it is
// found there again by its own Message-ID when it is next needed.
#pragma once

#include <string>

#include "linkindex/link_record.h"

namespace lumo {

// The shortcut of `record` (a line of the link index) looked for in the
// folder its location names, by the shortcut's own Message-ID; a hit becomes
// the line's new location in the link index (LinkIndexPath). The hit's mail
// id; empty when the location is absent or a mail id (it holds "?" and names
// no folder), the line gives no such Message-ID, or the folder lacks it.
std::string relocateShortcut(const LinkRecord& record);

}  // namespace lumo
