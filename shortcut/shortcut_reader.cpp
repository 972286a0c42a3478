// Shortcut header reading with every offset checked against the text's length.
#include "shortcut/shortcut_reader.h"

#include <cstring>

#include "host/api/module_state.h"
#include "linkindex/link_record.h"
#include "linkindex/message_id_value.h"
#include "linkindex/shortcut_id.h"
#include "resolve/locator/locator.h"
#include "text/ascii_case.h"
#include "text/blanks.h"
#include "text/c_string.h"
#include "text/header_lines.h"
#include "text/id_limits.h"

namespace lumo {
namespace {

constexpr std::string_view kShortcutField = "X-LuMOID";

// Where the first "X-LuMOID" field begins: the name in this letter case at
// the start of a line of the header block, then blanks and ":". A subject or
// a body that merely mentions the name is no such field. npos when none.
std::size_t shortcutFieldAt(std::string_view header) {
  std::size_t found = std::string_view::npos;
  forEachHeaderLine(header, [&](std::size_t lineStart) {
    std::string_view rest = header.substr(lineStart);
    if (rest.substr(0, kShortcutField.size()) != kShortcutField) return false;
    std::size_t pos = kShortcutField.size();
    while (pos < rest.size() && isBlank(rest[pos])) ++pos;
    if (pos >= rest.size() || rest[pos] != ':') return false;
    found = lineStart;
    return true;
  });
  return found;
}

std::optional<std::string> boundedValue(std::string_view header, std::string_view name, std::size_t max,
                                        FieldOccurrence which = FieldOccurrence::First) {
  std::optional<std::string> value = headerFieldValue(header, name, which);
  if (!value || value->empty() || value->size() > max) return std::nullopt;
  return value;
}

}  // namespace

bool isShortcutHeader(std::string_view header) {
  return shortcutFieldAt(untilNul(header)) != std::string_view::npos;
}

std::optional<ShortcutIdValue> readShortcutId(std::string_view header) {
  header = untilNul(header);
  std::size_t at = shortcutFieldAt(header);
  if (at == std::string_view::npos) return std::nullopt;
  std::size_t pos = at + kShortcutField.size();
  while (pos < header.size() && isBlank(header[pos])) ++pos;
  ++pos;  // the ":"
  while (pos < header.size() && isBlank(header[pos])) ++pos;
  std::size_t end = header.find_first_of("\r\n", pos);
  if (end == std::string_view::npos) end = header.size();
  std::string_view value = trimBlanks(header.substr(pos, end - pos));
  if (value.empty() || value.size() > kShortcutIdValueMax) return std::nullopt;
  ShortcutIdValue result;
  if (value.substr(0, 3) == "DEL") {
    result.givenUp = true;
    value.remove_prefix(3);
    if (value.empty()) return std::nullopt;
  }
  result.id = std::string(value);
  return result;
}

bool isShortcutMailOf(const LinkRecord& record, std::string_view header) {
  return record.isShortcutMail(headerMessageId(header));
}

bool ownsLinkRecord(const LinkRecord& line, std::string_view header, std::string_view mailId) {
  if (!isShortcutMailOf(line, header)) return false;
  const char* location = line.shortcutLocation();
  return location == nullptr || mailId == location || std::strchr(location, '?') == nullptr ||
         !mailHasMessageId(location, headerMessageId(header));
}

bool ownsLinkLine(const std::string& shortcutId, std::string_view header, std::string_view mailId) {
  LinkRecord line;
  if (!line.findIn(LinkIndexPath, shortcutId.c_str(), LinkFindKind::ByShortcutId)) return true;
  return ownsLinkRecord(line, header, mailId);
}

bool readMemoOn(std::string_view header) {
  std::optional<std::string> value = headerFieldValue(header, "X-MEMO");
  return value && value->size() == 2 && startsWithNoCase(*value, "on");
}

ShortcutTarget readShortcutTarget(std::string_view header) {
  ShortcutTarget target;
  target.mailId = boundedValue(header, "X-MailID", kIdMax);
  // A target with several Message-ID fields keeps an "X-" copy of each, and
  // the last one is the one its shortcut and link index line were made with.
  target.messageId = boundedValue(header, "X-Message-ID", kIdMax, FieldOccurrence::Last);
  target.folderId = boundedValue(header, "X-FolderID", kTargetFolderIdMax);
  return target;
}

std::optional<std::string> readFallbackId(std::string_view header) {
  std::optional<std::string> contentType = headerFieldValue(header, "Content-Type");
  if (!contentType) return std::nullopt;
  std::string_view v = *contentType;
  std::size_t at = v.find("id=");
  if (at == std::string_view::npos) return std::nullopt;
  std::size_t pos = at + 3;
  if (pos >= v.size() || v[pos] != '"') return std::nullopt;
  ++pos;
  std::size_t end = v.find('"', pos);
  if (end == std::string_view::npos) return std::nullopt;
  std::string_view id = v.substr(pos, end - pos);
  if (id.size() > kFallbackIdMax || !isShortcutId(id)) return std::nullopt;
  return std::string(id);
}

}  // namespace lumo
