// Header field splitting with CR LF normalisation and folded fields as one unit.
#include "shortcut/header_fields.h"

namespace lumo {
namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Appends the physical line at `pos` to `out` with a CR LF end and returns the
// position after its line end.
std::size_t takeLine(std::string_view text, std::size_t pos, std::string& out) {
  std::size_t end = text.find_first_of("\r\n", pos);
  if (end == std::string_view::npos) {
    out.append(text.substr(pos));
    out.append("\r\n");
    return text.size();
  }
  out.append(text.substr(pos, end - pos));
  out.append("\r\n");
  if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') return end + 2;
  return end + 1;
}

}  // namespace

bool startsWithNoCase(std::string_view field, std::string_view prefix) {
  if (field.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (lower(field[i]) != lower(prefix[i])) return false;
  }
  return true;
}

std::vector<std::string> splitHeaderFields(std::string_view text) {
  std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::vector<std::string> fields;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::string field;
    pos = takeLine(text, pos, field);
    if (field == "\r\n") {
      fields.push_back(std::move(field));
      break;
    }
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) pos = takeLine(text, pos, field);
    fields.push_back(std::move(field));
  }
  return fields;
}

}  // namespace lumo
