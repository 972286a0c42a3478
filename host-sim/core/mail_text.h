// Header access on a mail source held as CR LF text: reading, replacing and
// adding a header field the way the host does for its own mails.
#pragma once

#include <string>
#include <string_view>

namespace lumo::hostsim {

// The header block as BKA_GetHeader hands it out: everything up to and with
// the first empty line (the blank line that ends the header belongs to it).
// A source without an empty line is all header.
std::string headerBlock(std::string_view source);

// The unfolded value of the first field named `name` (any letter case), with
// surrounding blanks removed; empty when the field is absent.
std::string headerValue(std::string_view source, std::string_view name);

// The first field named `name` (any letter case) as it stands in the header
// block: its line and folded lines with their line ends; empty when absent.
std::string headerField(std::string_view source, std::string_view name);

// The source with the first field named `name` (and its folded lines)
// replaced by "name: value", or the field added at the end of the header.
std::string withHeader(std::string_view source, std::string_view name, std::string_view value);

// The text with every CR, LF and 0x01 byte turned into a space, fit for one
// field of a folder index line.
std::string indexField(std::string_view text);

}  // namespace lumo::hostsim
