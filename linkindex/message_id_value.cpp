// Extracts a clean Message-ID value from a possibly folded header field.
#include "linkindex/message_id_value.h"

namespace lumo {
namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::string messageIdValue(std::string_view field) {
  std::size_t colon = field.find(':');
  if (colon == std::string_view::npos) return {};
  std::string value;
  std::string_view rest = field.substr(colon + 1);
  for (std::size_t i = 0; i < rest.size(); ++i) {
    char c = rest[i];
    if (c == '\r' || c == '\n') {
      // A line end continues the field only when the next line begins blank.
      std::size_t next = i + 1;
      if (c == '\r' && next < rest.size() && rest[next] == '\n') ++next;
      if (next >= rest.size() || !isBlank(rest[next])) break;
      i = next - 1;
      continue;
    }
    if (c == '\x01') continue;
    value.push_back(c);
  }
  std::size_t begin = 0;
  while (begin < value.size() && isBlank(value[begin])) ++begin;
  std::size_t end = value.size();
  while (end > begin && isBlank(value[end - 1])) --end;
  return value.substr(begin, end - begin);
}

}  // namespace lumo
