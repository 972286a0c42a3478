// Shortcut mail composition: the plug-in's own fields, the copied target fields
// and the fixed tail.
#include "shortcut/shortcut_source.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>

#include "linkindex/link_record.h"
#include "linkindex/message_id_value.h"
#include "mime/mime_part.h"
#include "text/ascii_case.h"
#include "text/c_string.h"
#include "text/id_limits.h"

namespace lumo {
namespace {

constexpr std::string_view kMessageIdName = "message-id:";

}  // namespace

std::string formatShortcutId(int counter, std::size_t headerLines) {
  std::uint32_t number = static_cast<std::uint32_t>(counter) + 10000u;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%" PRIx32 "_%" PRIu32, number,
                static_cast<std::uint32_t>(headerLines));
  return buffer;
}

int composeShortcutSource(std::string_view targetHeader, std::string_view targetMailId, int counter,
                          const ShortcutOptions& options, ShortcutSource& out) {
  // The mail id goes into a header line and into the link index line: one
  // either could not hold would make a shortcut without a link.
  if (targetMailId.empty() || targetMailId.size() > kIdMax || breaksIndexLine(targetMailId)) return 0;
  std::size_t lastSlash = targetMailId.rfind('\\');
  if (lastSlash == std::string_view::npos) return 0;

  // The header lines are those of the MIME tree, so that H counts exactly what
  // the tree holds: a folded field once, the blank line too.
  // (A header too large for the memory left makes no shortcut: its count of
  // lines would be wrong.)
  MimePart parsed;
  if (parsed.parse(untilNul(targetHeader)) == kMimeNoMemory) return 0;
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
    } else if (startsWithNoCase(field, kMessageIdName)) {
      // Each is kept as an "X-" copy; of several, the last one gives the new
      // Message-ID and the recorded value.
      s.append("X-").append(field);
      messageIdField = field;
    }
  }

  if (!messageIdField.empty()) {
    result.targetMessageId = messageIdValue(messageIdField);
    // The shortcut's own Message-ID comes from the rule its readers search
    // with; the field name keeps the target's letter case.
    std::string own = shortcutMessageId(result.targetMessageId, result.shortcutId);
    if (!own.empty())
      s.append(messageIdField.substr(0, kMessageIdName.size())).append(" ").append(own).append("\r\n");
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
