// The link index cleanup line by line, as literally as it can be said: the
// host for every line with a recorded mail id, one single search of its own
// for every other line; a recorded folder that cannot be listed keeps its
// line. The reference that LinkRecord::cleanIndex must equal
// (tests) and beat (benchmark). Takes well-formed index text (CR LF lines the
// index parses) and gives the text the cleanup leaves.
#pragma once

#include <cstring>
#include <string>

#include "host/api/host_api.h"
#include "linkindex/link_record.h"
#include "platform/directory_listing.h"
#include "resolve/locator/locator.h"

namespace lumo::reference {

// Whether the folder of a recorded location (a folder id, or a mail id up to
// its "?") can be listed.
inline bool canList(const char* location) {
  std::string folder(location);
  folder = folder.substr(0, folder.find('?'));
  return platform::DirectoryListing(std::string(HostApi.BKA_GetDataFolder()) + folder + "*").any();
}

inline std::string literalCleanup(const std::string& content) {
  std::string out;
  for (std::size_t from = 0; from < content.size();) {
    std::size_t end = content.find("\r\n", from);
    std::string text = content.substr(from, end - from);
    from = end + 2;
    LinkRecord r;
    if (!r.parseLine(text)) return content;  // abandoned: the file stays
    const char* location = r.shortcutLocation();
    const bool namesMail = location != nullptr && std::strchr(location, '?') != nullptr;
    if (namesMail) {
      if (LPSTR header = HostApi.BKA_GetHeader(location)) {
        HostApi.BKA_Free(header);
        out += text + "\r\n";
        continue;
      }
    }
    // A recorded folder (of a mail id or a moved shortcut) that cannot be
    // listed proves nothing: the line stays as it is.
    const bool unlistable = location != nullptr && isStoreRelativeId(location) && !canList(location);
    if (namesMail || r.shortcutMessageId().empty()) {
      if (namesMail && unlistable) out += text + "\r\n";
      continue;
    }
    if (unlistable) {
      out += text + "\r\n";
      continue;
    }
    std::string messageId = r.shortcutMessageId();
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
