// Taking the media type, subtype and boundary of a part from its "Content-Type:" field.
#pragma once

#include <string_view>
#include <vector>

#include "mime/mime_part.h"

namespace lumo {

// True when `field` begins with "Content-Type:" in any mix of case.
bool isContentTypeField(std::string_view field);

// Reads the text after "Content-Type:" of `field` (which must begin with it):
// when a type token and a subtype token are both found, `type` and `subtype`
// of the part are set (cut to kMimeTypeMax bytes) and every "boundary"
// parameter replaces `boundary` (the last wins); otherwise nothing changes.
// `scratch` is a working buffer the caller reuses. Parsing stops at a NUL byte.
void applyContentType(MimePart& part, std::string_view field, std::vector<char>& scratch);

}  // namespace lumo
