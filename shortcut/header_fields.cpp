// Case-insensitive prefix test for header field names.
#include "shortcut/header_fields.h"

namespace lumo {
namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool startsWithNoCase(std::string_view field, std::string_view prefix) {
  if (field.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (lower(field[i]) != lower(prefix[i])) return false;
  }
  return true;
}

}  // namespace lumo
