// Message-ID values read from header fields and made for shortcuts.
#include "linkindex/message_id_value.h"

#include "text/ascii_case.h"
#include "text/blanks.h"
#include "text/c_string.h"
#include "text/header_lines.h"
#include "text/id_limits.h"

namespace lumo {
namespace {

// The whole field (continuation lines included) starting at `start`.
std::string_view fieldAt(std::string_view header, std::size_t start) {
  std::size_t pos = start;
  while (true) {
    std::size_t end = header.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) return header.substr(start);
    std::size_t next = end + 1;
    if (header[end] == '\r' && next < header.size() && header[next] == '\n') ++next;
    if (next >= header.size() || !isBlank(header[next])) return header.substr(start, next - start);
    pos = next;
  }
}

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
  return std::string(trimBlanks(value));
}

std::optional<std::string> headerFieldValue(std::string_view header, std::string_view name,
                                            FieldOccurrence which) {
  header = untilNul(header);
  std::optional<std::string> found;
  forEachHeaderLine(header, [&](std::size_t lineStart) {
    std::string_view rest = header.substr(lineStart);
    if (!startsWithNoCase(rest, name) || rest.size() <= name.size() || rest[name.size()] != ':') return false;
    found = messageIdValue(fieldAt(header, lineStart));
    return which == FieldOccurrence::First;
  });
  return found;
}

std::string headerMessageId(std::string_view header) {
  return headerFieldValue(header, "Message-ID", FieldOccurrence::Last).value_or(std::string());
}

std::string shortcutMessageId(std::string_view targetMessageId, std::string_view shortcutId) {
  static constexpr std::string_view kMark = ".LuMO.";
  std::size_t at = targetMessageId.find('@');
  if (at == std::string_view::npos) return {};
  if (targetMessageId.size() + shortcutId.size() + kMark.size() > kIdMax) return {};
  std::string id;
  id.reserve(targetMessageId.size() + shortcutId.size() + kMark.size());
  id.append(targetMessageId.substr(0, at + 1)).append(shortcutId).append(kMark);
  id.append(targetMessageId.substr(at + 1));
  return id;
}

}  // namespace lumo
