// Selecting a mail by a recorded id (see select_mail.h).
#include "ui/select_mail.h"

#include <cstring>

#include "host/api/host_api.h"
#include "resolve/locator/locator.h"
#include "text/id_limits.h"

namespace lumo {

void selectMail(const char* mailId) {
  if (mailId == nullptr || mailId[0] == '\0' || std::strlen(mailId) >= kIdBufferSize ||
      !isStoreRelativeId(mailId))
    return;
  HostApi.BKA_SetCurrentMail(mailId);
}

}  // namespace lumo
