// Splitting name=value parameters of a MIME header field in place.
#include <cstring>

#include "mime/mime_part.h"

namespace lumo {

namespace {

bool isSpaceOrLineEnd(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

char* nextParameter(char* text, char*& name, char*& value) {
  name = nullptr;
  value = nullptr;
  if (!text) return nullptr;
  char* p = text;
  while (isSpaceOrLineEnd(*p) || *p == ';') ++p;
  char* equals = std::strchr(p, '=');
  if (!equals) return nullptr;
  *equals = '\0';
  name = p;
  p = equals + 1;
  while (isSpaceOrLineEnd(*p)) ++p;
  if (*p == '"') {
    value = ++p;
    char* quote = std::strchr(p, '"');
    if (quote) {
      *quote = '\0';
      p = quote + 1;
    } else {
      p += std::strlen(p);
    }
  } else {
    value = p;
    while (*p != '\0' && !isSpaceOrLineEnd(*p) && *p != ';') ++p;
    // The stop byte becomes the value's end; the scan goes on after it.
    if (*p != '\0') *p++ = '\0';
  }
  while (isSpaceOrLineEnd(*p) || *p == ';') ++p;
  return p;
}

}  // namespace lumo
