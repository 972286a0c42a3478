// The walk over the mails selected in the host's list (BKA_GetNextMail), the
// one walk that every caller of the selection uses.
#pragma once

#include "host/api/host_api.h"
#include "text/id_limits.h"

namespace lumo {

// Calls visit(mailId) for each selected mail in the host's order, with the
// mail id in a 256-byte buffer (NUL-terminated whatever the host wrote), and
// returns the number of mails visited. The walk ends when the host gives -1,
// or any position that does not grow: positions only grow along a list, and
// a host that gave one back again (or a smaller one) would otherwise keep the
// walk on one mail for ever.
template <typename Visit>
int forEachSelectedMail(Visit visit) {
  char mailId[kIdBufferSize] = "";
  int count = 0;
  for (int at = -1, next; (next = HostApi.BKA_GetNextMail(at, mailId, kIdBufferSize, TRUE)) > at; at = next) {
    mailId[kIdBufferSize - 1] = '\0';
    ++count;
    visit(static_cast<const char*>(mailId));
  }
  return count;
}

}  // namespace lumo
