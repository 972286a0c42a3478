// Shortcut mail composition: the plug-in's own fields, the copied target fields
// and the fixed tail.
#include "shortcut/shortcut_source.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>

#include "linkindex/message_id_value.h"
#include "mime/mime_part.h"
#include "shortcut/header_fields.h"

namespace lumo {

std::string formatShortcutId(int counter, std::size_t headerLines) {
  std::uint32_t number = static_cast<std::uint32_t>(counter) + 10000u;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%" PRIx32 "_%" PRIu32, number,
                static_cast<std::uint32_t>(headerLines));
  return buffer;
}

int composeShortcutSource(std::string_view targetHeader, std::string_view targetMailId, int counter,
                          const ShortcutOptions& options, ShortcutSource& out) {
  if (targetMailId.empty() || targetMailId.size() > kMailIdMax) return 0;
  if (targetMailId.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return 0;
  std::size_t lastSlash = targetMailId.rfind('\\');
  if (lastSlash == std::string_view::npos) return 0;

  // The header lines are those of the MIME tree, so that H counts exactly what
  // the tree holds: a folded field once, the blank line too. The host's text
  // ends at its first NUL.
  std::size_t nul = targetHeader.find('\0');
  MimePart parsed;
  parsed.parse(nul == std::string_view::npos ? targetHeader : targetHeader.substr(0, nul));
  std::size_t headerLines = 0;
  for (const MimeLine* line = parsed.headers.head; line; line = line->next) ++headerLines;

  ShortcutSource result;
  result.shortcutId = formatShortcutId(counter, headerLines);
  result.folderId = std::string(targetMailId.substr(0, lastSlash + 1));

  std::string& s = result.source;
  s.append("X-LuMOID: ").append(result.shortcutId).append("\r\n");
  s.append("X-MailID: ").append(targetMailId).append("\r\n");
  s.append("X-FolderID: ").append(result.folderId).append("\r\n");
  s.append("X-MEMO: OFF\r\n");

  std::string_view messageIdField;
  for (const MimeLine* line = parsed.headers.head; line; line = line->next) {
    std::string_view field(line->text, line->length);
    if (startsWithNoCase(field, "from:") || startsWithNoCase(field, "date:") ||
        startsWithNoCase(field, "x-mailer:")) {
      s.append(field);
    } else if (startsWithNoCase(field, "to:")) {
      if (!options.toDel) s.append(field);
    } else if (startsWithNoCase(field, "subject:")) {
      if (options.subCh) {
        s.append("Subject:").append(options.subjectTag).append(field.substr(8));
      } else {
        s.append(field);
      }
    } else if (startsWithNoCase(field, "message-id:")) {
      s.append("X-").append(field);
      if (messageIdField.empty()) messageIdField = field;
    }
  }

  if (!messageIdField.empty()) {
    result.targetMessageId = messageIdValue(messageIdField);
    std::size_t at = messageIdField.find('@');
    if (at != std::string_view::npos) {
      s.append(messageIdField.substr(0, at + 1)).append(result.shortcutId).append(".LuMO.");
      s.append(messageIdField.substr(at + 1));
    }
  }

  s.append("Content-Type: text/plain; id=\"")
      .append(result.shortcutId)
      .append("\"; charset=\"ISO-2022-JP\"\r\n");
  s.append("Content-Transfer-Encoding: 7bit\r\n");
  s.append("\r\n");
  s.append(kShortcutBody);
  out = std::move(result);
  return 1;
}

}  // namespace lumo
