// Finding the shortcut mail of the host's current mail through the link
// index: the way back from a target to its shortcut, and the find command.
#pragma once

#include <string>
#include <string_view>

#include "linkindex/link_record.h"
#include "shortcut/session_state.h"

namespace lumo {

// The key that finds the current mail's line in the link index: its
// "Message-Id" value (ByMessageId) or, when it has none, its mail id
// (ByMailId). False when the mail has neither, or a mail id too long for an
// id buffer (a cut id could name another mail).
struct LinkKey {
  char text[IdCapacity] = "";
  LinkFindKind kind = LinkFindKind::ByMessageId;
};
bool currentMailLinkKey(LinkKey& key);

// Looks for the shortcut of `record` (a line found in the link index) in
// the folder `folderId` by the Message-ID the shortcut mail carries. On a
// hit the line's location becomes the hit's mail id and the id is returned;
// empty when the record gives no such Message-ID or the folder lacks it.
std::string relocateShortcut(const LinkRecord& record, std::string_view folderId);

// Selects a mail in the host, unless the id would lead outside the data
// folder (ids come from mail headers and link index lines that a received
// mail can forge).
void selectMail(const char* mailId);

}  // namespace lumo
