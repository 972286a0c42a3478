// A mail source parsed into a tree of MIME parts with editable line lists, and
// the tree written back into one text.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "mime/mime_line.h"
#include "mime/mime_text.h"

namespace lumo {

// Longest media type or subtype kept (longer ones are cut to this many bytes).
inline constexpr std::size_t kMimeTypeMax = 40;

// Deepest nesting that parse builds: the top part is level 0, its children are
// level 1, and a part at level kMimeMaxDepth opens no children. There its own
// delimiter lines (opening and closing) are kept as ordinary body lines, so a
// crafted mail of thousands of nested multiparts loses no byte and costs no
// more than a flat one.
inline constexpr int kMimeMaxDepth = 64;

// What MimePart::parse(std::string_view) returns when a line could not be
// stored for want of memory; the part then holds an incomplete tree.
inline constexpr std::size_t kMimeNoMemory = static_cast<std::size_t>(-1);

// Reads one line from the NUL-terminated source at `cursor` into `buffer`
// (NUL-terminated) and advances the cursor. "\n", "\r\n" and a lone "\r" end a
// line and are stored as one "\n". Returns the number of bytes stored (with
// the "\n"), or 0 when the cursor is on the NUL (nothing stored, cursor kept).
// A last line without line end is returned without "\n", the cursor staying on
// the NUL. When capacity - 1 bytes are stored before a line end, they are
// returned without "\n" and the cursor stays on the first byte not stored.
// A capacity below 2 stores at most the NUL and returns 0.
std::size_t readLine(const char*& cursor, char* buffer, std::size_t capacity);

// Splits one name=value parameter of a MIME header field, in place (NUL bytes
// are written into `text`). Skips spaces, tabs, CR, LF and ";", takes the name
// up to the next "=" (untrimmed), then the value: after a double quote up to the
// next double quote or the end of the text, otherwise up to the first space,
// tab, ";", CR, LF or the end. Returns the position after the parameter and
// the separators that follow it (possibly the end of the text), or null with
// `name` and `value` null when no "=" is left.
char* nextParameter(char* text, char*& name, char*& value);

// One node of a parsed mail. A part owns its boundary, its three line lists and
// its children (firstChild and the whole nextSibling chain after it). Child
// parts are always separate heap objects (std::unique_ptr); the top part may be
// a local object. A part that has children must have a boundary.
class MimePart {
 public:
  // Media type and subtype of the part's "Content-Type:" field, in the case
  // written; empty until such a field is parsed.
  char type[kMimeTypeMax + 1] = {};
  char subtype[kMimeTypeMax + 1] = {};
  // The "boundary" parameter of the "Content-Type:" field, or null.
  std::unique_ptr<char[]> boundary;
  // Header fields in source order; the blank line ending the header block is
  // the last line.
  MimeLineList headers;
  // The (last) line of `headers` beginning with "Content-Type:", or null; not
  // owned. Its text may be replaced in place with MimeLine::setText.
  MimeLine* contentTypeLine = nullptr;
  // A single part: every line after the blank line. A multipart: the preamble
  // and any later line that is no delimiter of this or the enclosing part.
  MimeLineList body;
  // Lines after the closing delimiter of a multipart that is itself a child.
  MimeLineList epilogue;
  std::unique_ptr<MimePart> nextSibling;
  std::unique_ptr<MimePart> firstChild;

  MimePart() = default;
  // Releases the children and sibling chain without recursion, so trees of
  // any width or depth (also hand-built ones) are released safely.
  ~MimePart();
  MimePart(const MimePart&) = delete;
  MimePart& operator=(const MimePart&) = delete;

  // Fills this newly constructed part from the NUL-terminated source at
  // `cursor` and advances the cursor past what was read. `enclosingBoundary`
  // is null for the top part of a message (a part given one stops at a line
  // beginning with "--" and it, leaving the cursor on that line, as a child
  // does). Every line is stored with CR LF ("\n", "\r\n" and a lone "\r" end
  // a line); lines and folded header fields of any length are stored whole.
  // The source ends at its first NUL byte.
  //
  // The tree refers to the source: a line that stands in the source exactly as
  // stored (ended by CR LF there) is not copied, its text points into it. The
  // source must therefore stay alive and unchanged for as long as the tree and
  // its lines live; a line taken out with MimeLineList::unlink gets its own
  // copy and no longer needs it. When memory runs out the parse stops where it
  // is, leaving an incomplete tree, and the cursor is not moved.
  //
  // In the body of a part with boundary B: "--B" opens a child (up to
  // kMimeMaxDepth levels; not when B is the enclosing boundary followed by
  // "--", as that line closes the enclosing part); "--B--" after at least one
  // child closes the part (the top part then stops reading: the rest of the
  // source is not stored), before any child it is a body line; a line
  // beginning with "--" and the enclosing boundary ends the part. Lines that
  // follow a child without being a delimiter stay after it (at the end of its
  // body, or of its epilogue when it is a multipart), so they are written back
  // where they stood.
  // `headers`, `body`, `epilogue` and `contentTypeLine` are reset first;
  // `type`, `subtype`, `boundary` and existing children are not.
  void parse(const char*& cursor, const char* enclosingBoundary = nullptr);

  // The same over exactly the bytes of `source`, in which NUL bytes are
  // ordinary bytes kept in the lines. Returns the number of bytes read, or
  // kMimeNoMemory when memory ran out (the tree is incomplete).
  std::size_t parse(std::string_view source, const char* enclosingBoundary = nullptr);

  // A temporary string would be gone before the tree that refers to it: keep
  // the source in a variable that outlives the tree.
  std::size_t parse(std::string&& source, const char* enclosingBoundary = nullptr) = delete;

  // The whole part and its children as one newly allocated NUL-terminated text
  // (the caller's MimeText owns it): header lines, body lines, then for each
  // child "--" boundary CR LF and the child's text, then "--" boundary "--"
  // CR LF and the epilogue. A part without children writes no delimiters. The
  // closing delimiter is left out when the last child ended inside its header
  // block (a mail cut there): read back, it would become a header line of that
  // child. A part with children but no boundary writes an empty one. Written
  // text parses back into a tree that writes the same text. When no memory is
  // left for the text, the result holds none (MimeText::valid() is false).
  MimeText toText() const;

  // Sets nextSibling (used to append a part after the last child of a parent);
  // a chain that followed this part before is released.
  void setNextSibling(std::unique_ptr<MimePart> part);

  // Replaces `boundary` by a copy of `value`.
  void setBoundary(std::string_view value);
};

}  // namespace lumo
