// The one test that keeps ids from headers inside the data folder.
//
// Components are split at every "\" and "/" byte. In code page 932 the second
// byte of a double-byte character can be 0x5C, so this may split a Japanese
// name in two; that only ever adds splits, and a dangerous component ("..",
// "CON", ...) holds no 0x5C byte, so it is found whatever the code page.
// Empty components are allowed (such a split, and the final "\"): Windows
// reads a doubled separator inside a path as one.
#include <string_view>

#include "resolve/locator/locator.h"
#include "text/ascii_case.h"

namespace lumo {
namespace {

// Windows drops trailing dots and spaces from a name.
std::string_view trimmed(std::string_view name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
  return name;
}

// A reserved device name, which Windows opens as the device in any folder,
// with or without an extension.
bool isDeviceName(std::string_view component) {
  std::string_view base = trimmed(component.substr(0, component.find('.')));
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
    if (equalsNoCase(base, device)) return true;
  if (base.size() != 4 || !(equalsNoCase(base.substr(0, 3), "COM") || equalsNoCase(base.substr(0, 3), "LPT")))
    return false;
  // A digit, or a superscript one, two or three in code page 1252.
  auto last = static_cast<unsigned char>(base[3]);
  return (last >= '0' && last <= '9') || last == 0xB9 || last == 0xB2 || last == 0xB3;
}

bool isSafeComponent(std::string_view component) {
  if (component.empty()) return true;
  // ".", "..", "...", ". ." and the like: all lead to the folder or above.
  if (trimmed(component).empty()) return false;
  return !isDeviceName(component);
}

bool isForbiddenByte(char c) {
  auto b = static_cast<unsigned char>(c);
  // ":" makes drive paths and alternate streams; the others are wildcards of
  // the file system's listing or no part of any name.
  return b < 0x20 || c == ':' || c == '*' || c == '<' || c == '>' || c == '"';
}

}  // namespace

bool isStoreRelativeId(std::string_view id) {
  if (id.empty() || id.front() == '\\' || id.front() == '/') return false;
  // A mail id is a folder id, "?" and a mail key: one "?" at most.
  std::size_t question = id.find('?');
  if (question != std::string_view::npos && id.find('?', question + 1) != std::string_view::npos)
    return false;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= id.size(); ++i) {
    if (i < id.size() && isForbiddenByte(id[i])) return false;
    if (i == id.size() || id[i] == '\\' || id[i] == '/' || id[i] == '?') {
      if (!isSafeComponent(id.substr(start, i - start))) return false;
      start = i + 1;
    }
  }
  return true;
}

}  // namespace lumo
