// The reader of the host's folder index "Folder.idx": one line per mail, lines
// ended by LF (a CR before the LF is not part of the line; a last line
// without LF is a line too), fields separated by the byte 0x01. Lines are
// read whole whatever their length; field 2 is the mail key and field 13 ends
// in the mail's read mark, both counted from the start of the line.
//
// The index is not read line by line: the search text is looked for over a
// large buffer, and only the line around the first place found is examined.
// One buffer serves every file of a search, so memory stays the same however
// large the mailbox grows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "resolve/locator/substring.h"
#include "text/id_limits.h"

namespace lumo::locator {

inline constexpr char kFieldSeparator = '\x01';
// The separator that closes field 13, whose last character is the mark.
inline constexpr int kMarkSeparator = 13;

// Where index text comes from: an open file, or memory in tests.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to `size` bytes at `offset`: the count read, 0 at the end, -1 on failure.
  virtual std::int64_t readAt(std::uint64_t offset, char* buffer, std::size_t size) = 0;
};

// The stretch of an index a scan holds in its buffer, as the scan slides
// over the file: `have` bytes from offset `base` on, and where the line that
// runs into the buffer's first byte began.
struct ScanWindow {
  std::uint64_t base = 0;
  std::uint64_t lineStart = 0;
  std::size_t have = 0;
  bool atEnd = false;  // the source ran out at the last fill

  // Tops `buffer` up from `source` past the bytes it holds. False on a read
  // failure.
  bool fill(ByteSource& source, std::vector<char>& buffer);
  // The offset of the first byte of the line that holds `buffer[at]`.
  std::uint64_t lineStartAt(const std::vector<char>& buffer, std::size_t at) const;
  // Keeps the last `keep` bytes (at most all held) at the buffer's start for
  // the next fill: a text may run across into it.
  void slide(std::vector<char>& buffer, std::size_t keep);
};

// Index text held in memory, handed out at most `piece` bytes per read.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view text, std::size_t piece = static_cast<std::size_t>(-1))
      : text_(text), piece_(piece == 0 ? 1 : piece) {}
  std::int64_t readAt(std::uint64_t offset, char* buffer, std::size_t size) override;

 private:
  std::string_view text_;
  std::size_t piece_;
};

// What the line that decides a search holds.
struct IndexEntry {
  std::uint64_t lineStart = 0;   // offset of the line's first byte
  int separators = 0;            // counted up to kMarkSeparator
  bool keyClosed = false;        // field 2 is closed by a second separator
  std::string key;               // field 2 as far as it goes, at most kIdMax + 1 bytes
  std::uint64_t markOffset = 0;  // offset of the last character of field 13
  char mark = 0;                 // that character (the 12th separator when field 13 is empty)

  bool hasMarkField() const { return separators >= kMarkSeparator; }
  // A line names a mail only with a whole, non-empty field 2. A line with a
  // single separator has a field 2 without its end: the host's lines always
  // close it, so such a line is damaged or cut and names no mail. Nor does a
  // key longer than an id may be, or one holding CR or NUL (a crash can leave
  // an index's tail full of zero bytes): it would end or cut the mail id
  // wherever that is written or handed on.
  bool namesMail() const {
    return keyClosed && !key.empty() && key.size() <= kIdMax &&
           key.find_first_of(std::string_view("\r\0", 2)) == std::string::npos;
  }
};

enum class ScanResult { Found, Absent, Failed };

// Whether a line that holds a searched text and names a mail is that text's
// line. The text is searched for in whole lines, whatever the host's field
// layout, so another mail's line may hold it too (a reply names its
// original in its "In-Reply-To"); the caller asks the host about the mail.
class LineCheck {
 public:
  virtual ~LineCheck() = default;
  virtual bool accepts(std::string_view text, const IndexEntry& entry) = 0;
};

// Reads the fields of one line from its first byte on, from as many pieces
// as the line comes in.
class EntryReader {
 public:
  explicit EntryReader(std::uint64_t lineStart) : offset_(lineStart) { entry_.lineStart = lineStart; }
  // Takes the line's next bytes. True once the fields are read: at the line
  // feed, or at the separator that closes field 13. A line that ends the
  // text without a line feed is read when its last piece has been taken.
  bool take(const char* bytes, std::size_t size);
  const IndexEntry& entry() const { return entry_; }

 private:
  IndexEntry entry_;
  std::uint64_t offset_;  // of the next byte taken
  char previous_ = 0;
  bool previousInKey_ = false;  // the previous byte was added to the key
};

// Searches index texts for the first line holding one text (case-sensitive
// byte substring of the line). Made once per search and reused for every
// file it reads.
class IndexScanner {
 public:
  static constexpr std::size_t kDefaultChunk = std::size_t{1} << 18;

  explicit IndexScanner(std::string_view text, std::size_t chunk = kDefaultChunk);
  // Found: `entry` describes the first line holding the text that `check`
  // accepts (every line without a check); a line that names no mail is
  // taken as it is, without asking. Absent: no such line (always so for an
  // empty text or one with a line feed). Failed: the source could not be
  // read.
  ScanResult find(ByteSource& source, IndexEntry& entry, LineCheck* check = nullptr);

 private:
  // Reads the fields of the line starting at `lineStart`.
  ScanResult readEntry(ByteSource& source, std::uint64_t lineStart, IndexEntry& entry);
  // Fills the buffer from `have` up to its end or the end of the source.

  SubstringSearch search_;
  bool searchable_;
  bool tuned_ = false;
  std::size_t chunk_;
  std::vector<char> buffer_;
};

}  // namespace lumo::locator
