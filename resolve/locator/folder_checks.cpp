// The folder test and the letter-case-blind search used around the plug-in.
#include <cstring>

#include "host/api/host_api.h"
#include "resolve/locator/locator.h"
#include "text/ascii_case.h"

namespace lumo {

const char* FindNoCase(const char* text, const char* word) {
  if (text == nullptr || word == nullptr || *text == '\0') return nullptr;
  for (const char* at = text; *at != '\0'; ++at) {
    std::size_t i = 0;
    while (word[i] != '\0' && asciiLower(at[i]) == asciiLower(word[i])) ++i;  // stops at the text's end too
    if (word[i] == '\0') return at;
  }
  return nullptr;
}

bool IsUsableFolder(const char* folderId) {
  bool current = folderId == nullptr;
  const char* id =
      current ? (HostApi.BKA_GetCurrentFolder ? HostApi.BKA_GetCurrentFolder() : nullptr) : folderId;
  if (id == nullptr || !isStoreRelativeId(id)) return false;
  // A mailbox alone ("Box.mb\") has one backslash; a folder in it has two.
  const char* first = std::strchr(id, '\\');
  if (first == nullptr || std::strchr(first + 1, '\\') == nullptr) return false;
  // The current folder: folders whose names begin with "!" (trash and the
  // host's other special folders) are not acted on, the inbox excepted.
  if (current && std::strstr(id, "\\!") != nullptr && std::strstr(id, "!Inbox\\") == nullptr) return false;
  return true;
}

}  // namespace lumo
