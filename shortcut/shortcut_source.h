// Composes the source of a shortcut mail from its target's header.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lumo {

// The settings that shape a shortcut's copied header fields; the caller reads
// them from the settings store.
struct ShortcutOptions {
  bool toDel = true;  // drop the target's "To:" field
  bool subCh = true;  // put subjectTag in front of the target's subject
  std::string subjectTag = "->";
};

// The fixed body of a shortcut: "Message From LuMO: [リンク先が不明です。]" in
// Shift-JIS, without a line end.
inline constexpr std::string_view kShortcutBody =
    "Message From LuMO: [\x83\x8a\x83\x93\x83\x4e\x90\xe6\x82\xaa\x95\x73\x96\xbe\x82\xc5\x82\xb7\x81\x42]";

// The shortcut id "%x_%d" of (counter + 10000) and the target's header line
// count. `counter` is the shortcut counter after it was raised for this
// shortcut. The sum is taken in 32 bits, as the host's own ids are, so that a
// negative or very large counter gives the same id on every platform (-19999
// gives "ffffd8f1").
std::string formatShortcutId(int counter, std::size_t headerLines);

// What composing a shortcut yields: its source and the values its link
// index line records.
struct ShortcutSource {
  std::string source;           // the whole mail, ending with kShortcutBody
  std::string shortcutId;       // S
  std::string folderId;         // the target's folder id, ending in "\\"
  std::string targetMessageId;  // the target's Message-ID value, unfolded and
                                // trimmed; empty when it has none
};

// Composes the shortcut of the mail `targetMailId` whose header text is
// `targetHeader`: the four "X-" fields, the target's copied fields, the "X-"
// copy of its Message-ID and a new Message-ID holding S, the fixed
// Content-Type and Content-Transfer-Encoding fields, the blank line and the
// fixed body. Of several Message-ID fields the last one decides. A header
// that keeps none of its lines (empty, or none of the copied fields) still
// gives a whole shortcut: the plug-in's four fields lead it as always and the
// fixed fields follow them. Returns 1 and fills `out`, or 0 when the mail id
// is empty, longer than an id (kIdMax), cannot stand in a link index line
// (breaksIndexLine: CR, LF, 0x01 or NUL), or has no "\\" (no folder id).
int composeShortcutSource(std::string_view targetHeader, std::string_view targetMailId, int counter,
                          const ShortcutOptions& options, ShortcutSource& out);

}  // namespace lumo
