// Message-ID values: the one a link index line records, taken from a header
// field, and the one a shortcut mail carries, made from its target's.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumo {

// The value of a "Message-ID:" header field as the link index stores it:
// the text after the field's first ":", unfolded (each CR LF followed by a
// space or tab joins the next line), with leading and trailing spaces and tabs
// removed, ending at the first line end that does not continue the field. Any
// CR, LF or 0x01 left over is removed, so the value can never break an index
// line. Empty when the field has no ":" or no value.
std::string messageIdValue(std::string_view field);

// The value of the first (or the last) header field named `name` (whole
// name, any case, followed by ":") at the start of a line of the header
// block, read by the rule of messageIdValue: unfolded, blanks trimmed,
// without CR, LF or 0x01. None when there is no such field.
enum class FieldOccurrence { First, Last };
std::optional<std::string> headerFieldValue(std::string_view header, std::string_view name,
                                            FieldOccurrence which = FieldOccurrence::First);

// A mail's own Message-ID, as shortcut creation records it for a target and
// every look-up compares it: the value of the last "Message-ID" field of the
// header (an "X-Message-ID" or an "In-Reply-To" is another field). Empty
// when the header has none.
std::string headerMessageId(std::string_view header);

// The Message-ID a shortcut carries: `targetMessageId` up to and with its
// first "@", the shortcut id, ".LuMO.", the rest after that "@" (<a@b> with
// 2711_12 gives <a@2711_12.LuMO.b>). Empty (none) when the target's value
// holds no "@" or the result would not fit an id (kIdMax). The composer writes
// it and every reader searches for it, so both must come from here.
std::string shortcutMessageId(std::string_view targetMessageId, std::string_view shortcutId);

}  // namespace lumo
