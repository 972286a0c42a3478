// The Message-ID value a link index line records, taken from a header field.
#pragma once

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

}  // namespace lumo
