// Taking the media type, subtype and boundary of a part from its "Content-Type:" field.
#include "mime/content_type.h"

#include <cstring>

#include "text/ascii_case.h"

namespace lumo {

namespace {

constexpr std::string_view kFieldName = "Content-Type:";

bool isOneOf(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

// Skips bytes of `set`, then takes the token up to the next byte of `set` or
// the end; the byte that ended it becomes NUL and `rest` points after it (or at
// the end). Returns null when only separators are left.
char* takeToken(char* p, const char* set, char*& rest) {
  while (isOneOf(*p, set)) ++p;
  if (*p == '\0') {
    rest = p;
    return nullptr;
  }
  char* token = p;
  while (*p != '\0' && !isOneOf(*p, set)) ++p;
  if (*p != '\0') *p++ = '\0';
  rest = p;
  return token;
}

void copyCut(char* target, const char* token) {
  std::size_t length = std::strlen(token);
  if (length > kMimeTypeMax) length = kMimeTypeMax;
  std::memcpy(target, token, length);
  target[length] = '\0';
}

}  // namespace

bool isContentTypeField(std::string_view field) { return startsWithNoCase(field, kFieldName); }

void applyContentType(MimePart& part, std::string_view field, std::vector<char>& scratch) {
  std::string_view value = field.substr(kFieldName.size());
  scratch.assign(value.begin(), value.end());
  scratch.push_back('\0');
  char* rest = nullptr;
  char* type = takeToken(scratch.data(), "/ \t", rest);
  if (!type) return;
  char* subtype = takeToken(rest, "; \r\n\t", rest);
  if (!subtype) return;
  copyCut(part.type, type);
  copyCut(part.subtype, subtype);
  char* name = nullptr;
  char* parameter = nullptr;
  while (rest && *rest != '\0') {
    rest = nextParameter(rest, name, parameter);
    if (name && equalsNoCase(name, "boundary")) part.setBoundary(parameter);
  }
}

}  // namespace lumo
