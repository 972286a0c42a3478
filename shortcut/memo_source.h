// The changes a MEMO note makes to a shortcut mail's source, as text: the
// note stored after the MEMO marker, or the body put back to the default.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumo {

// Most bytes of a note taken from the MEMO dialog: its editor is read into a
// buffer of kMemoTextCapacity bytes, terminating zero included.
inline constexpr std::size_t kMemoTextCapacity = 64000;

// The shortcut source (up to its first NUL) with `note` as its MEMO: when its
// body holds the MEMO marker, everything after the first marker is replaced
// by the note; otherwise the marker and the note are appended at the very
// end. No line end is added after the note.
std::string sourceWithMemo(std::string_view source, std::string_view note);

// The shortcut source (up to its first NUL) without its MEMO: everything up
// to and including the first empty line ("\r\n\r\n", the end of the header
// block), followed by the default shortcut body. None when there is no empty
// line: then the header block cannot be told from the body.
std::optional<std::string> sourceWithoutMemo(std::string_view source);

}  // namespace lumo
