// The link index cleanup line by line, as literally as it can be said: the
// host for every line with a recorded mail id, one single search of its own
// for every other line. The reference that LinkRecord::cleanIndex must equal
// (tests) and beat (benchmark). Takes well-formed index text (CR LF lines the
// index parses) and gives the text the cleanup leaves.
#pragma once

#include <cstring>
#include <string>

#include "host/api/host_api.h"
#include "linkindex/link_record.h"
#include "resolve/locator/locator.h"

namespace lumo::reference {

inline std::string literalCleanup(const std::string& content) {
  std::string out;
  for (std::size_t from = 0; from < content.size();) {
    std::size_t end = content.find("\r\n", from);
    std::string text = content.substr(from, end - from);
    from = end + 2;
    LinkRecord r;
    if (!r.parseLine(text)) return content;  // abandoned: the file stays
    const char* location = r.shortcutLocation();
    if (location != nullptr && std::strchr(location, '?') != nullptr) {
      if (LPSTR header = HostApi.BKA_GetHeader(location)) {
        HostApi.BKA_Free(header);
        out += text + "\r\n";
        continue;
      }
    }
    std::string messageId = r.shortcutMessageId();
    if (messageId.empty()) continue;
    std::string hit =
        location != nullptr ? FindMailInFolder(messageId, location) : FindMailInMailboxes(messageId);
    if (hit.empty()) continue;
    LinkRecord repaired;
    repaired.setFields(r.shortcutId(), r.targetFolderId(), r.targetMailId(), r.targetMessageId(),
                       hit.c_str());
    char formatted[kLinkLineCapacity];
    out += (repaired.formatLine(formatted, sizeof formatted) ? std::string(formatted) : text) + "\r\n";
  }
  return out;
}

}  // namespace lumo::reference
