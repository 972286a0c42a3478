// Reading one line of a NUL-terminated mail source into a caller's buffer.
#include "mime/mime_part.h"

namespace lumo {

std::size_t readLine(const char*& cursor, char* buffer, std::size_t capacity) {
  if (capacity == 0) return 0;
  std::size_t stored = 0;
  const char* p = cursor;
  while (stored + 1 < capacity) {
    char c = *p;
    if (c == '\0') break;
    if (c == '\n' || c == '\r') {
      p += (c == '\r' && p[1] == '\n') ? 2 : 1;
      buffer[stored++] = '\n';
      break;
    }
    buffer[stored++] = c;
    ++p;
  }
  buffer[stored] = '\0';
  cursor = p;
  return stored;
}

}  // namespace lumo
