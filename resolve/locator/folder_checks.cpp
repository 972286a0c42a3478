// The folder test and the letter-case-blind search used around the plug-in.
#include <cstring>
#include <string_view>

#include "host/api/host_api.h"
#include "resolve/locator/locator.h"
#include "text/ascii_case.h"
#include "text/cp932.h"

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
  // A mailbox alone ("Box.mb\") has one separator; a folder in it has two.
  // Separators are read in code page 932: "表" and "ソ" end in the byte of
  // "\" but separate nothing.
  std::string_view text(id);
  std::size_t first = findCp932Separator(text);
  if (first == std::string_view::npos || findCp932Separator(text, first + 1) == std::string_view::npos)
    return false;
  // The current folder: folders whose names begin with "!" (trash and the
  // host's other special folders) are not acted on, the inbox excepted. The
  // "\" of "!Inbox\" follows an ASCII letter, so it is always a separator.
  if (current && std::strstr(id, "!Inbox\\") == nullptr) {
    for (std::size_t at = first; at != std::string_view::npos; at = findCp932Separator(text, at + 1))
      if (at + 1 < text.size() && text[at + 1] == '!') return false;
  }
  return true;
}

}  // namespace lumo
