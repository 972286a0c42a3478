// Fuzz target: nextParameter over any text stays inside it and always advances.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "mime/mime_part.h"

namespace {

void fail(const char* what) {
  std::fprintf(stderr, "mime_parameter_fuzz: %s\n", what);
  std::abort();
}

bool inside(const char* p, const std::vector<char>& text) {
  return p >= text.data() && p < text.data() + text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  char* p = text.data();
  char* name = nullptr;
  char* value = nullptr;
  while (p && *p != '\0') {
    char* next = lumo::nextParameter(p, name, value);
    if (!next) {
      if (name || value) fail("null result with a name or value");
      break;
    }
    if (!inside(next, text) || !inside(name, text) || !inside(value, text)) fail("pointer outside the text");
    if (next <= p) fail("no progress");
    if (name[std::strlen(name)] != '\0' || value < name) fail("value before its name");
    p = next;
  }
  return 0;
}
