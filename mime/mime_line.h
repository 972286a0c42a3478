// One stored line of a mail text, and the doubly linked list that owns such lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace lumo {

struct MimeLineBlock;
class MimeLineAllocator;

// One line of a parsed mail. Every line stored by MimePart::parse ends with
// CR LF; a folded header field is one line whose text holds all its physical
// lines, each with its CR LF.
//
// A parsed line whose bytes stand in the source exactly as stored (it ended
// with CR LF there, as do all its physical lines) is not copied: its `text`
// points into the source, which the caller keeps alive and unchanged while the
// tree lives (see MimePart::parse). Any other line owns its text: one parsed
// from a source with other line ends, one made by MimeLineList or create(),
// and one whose text was replaced with setText. A line taken out of its list
// with MimeLineList::unlink is given its own copy then, so a free line never
// depends on a source.
//
// Lines are made only by MimeLineList (append, insertBefore) and by create();
// a parse places many lines in shared storage blocks, so a line is never
// deleted with `delete`: a list releases its own lines, and a line taken out
// with MimeLineList::unlink (or made by create) belongs to the caller, who
// either links it into any list with MimeLineList::adopt or releases it with
// MimeLine::release (MimeLinePtr does that on scope exit). Such a line stays
// valid after the tree or list it came from, and the source it was parsed
// from, are destroyed.
struct MimeLine {
  // The line's bytes: `length` of them count. A line that owns its text has a
  // NUL after them (it may hold NUL bytes inside when parsed with
  // MimePart::parse(std::string_view)); a line that refers to its source has
  // not, so always read `length` bytes. Never null. Read only: replace the
  // text with setText.
  const char* text;
  MimeLine* next;  // null at the end of the list
  MimeLine* prev;  // null at the start of the list
  std::size_t length;

  // Replaces the text by an owned copy of `newText` (a NUL is added) and sets
  // `length`. Returns false, changing nothing, when no memory is left for it.
  bool setText(std::string_view newText);

  // A new line that belongs to no list, holding a copy of `text`; null when no
  // memory is left for it.
  static MimeLine* create(std::string_view text);

  // Releases a line that belongs to no list (after unlink, or from create),
  // with its text. Null is ignored.
  static void release(MimeLine* line);

 private:
  friend class MimeLineAllocator;
  friend class MimeLineList;
  MimeLine() = default;
  const char* inlineText() const { return reinterpret_cast<const char*>(this + 1); }
  char* inlineBuffer() { return reinterpret_cast<char*>(this + 1); }
  MimeLineBlock* block() const { return reinterpret_cast<MimeLineBlock*>(blockAndHeap_ & ~kHeapText); }
  bool heapText() const { return (blockAndHeap_ & kHeapText) != 0; }
  bool refersToSource() const { return text != inlineText() && !heapText(); }
  // Gives a line that refers to its source a heap copy of its text; false when
  // no memory is left (the line then still refers to the source).
  bool ownText();

  // The storage block holding this node, and in its lowest bit (blocks are
  // aligned) whether `text` is a heap copy of the node's own.
  static constexpr std::uintptr_t kHeapText = 1;
  std::uintptr_t blockAndHeap_ = 0;
};

// Releases a free line on scope exit: MimeLinePtr line(list.unlink(l));
struct MimeLineRelease {
  void operator()(MimeLine* line) const { MimeLine::release(line); }
};
using MimeLinePtr = std::unique_ptr<MimeLine, MimeLineRelease>;

// A doubly linked list of lines; it owns its lines and their texts. Appending
// takes constant time; finding a line is a walk from `head`.
class MimeLineList {
 public:
  MimeLine* head = nullptr;  // both null when the list is empty
  MimeLine* tail = nullptr;

  MimeLineList() = default;
  ~MimeLineList() { clear(); }
  MimeLineList(const MimeLineList&) = delete;
  MimeLineList& operator=(const MimeLineList&) = delete;
  MimeLineList(MimeLineList&& other) noexcept;
  MimeLineList& operator=(MimeLineList&& other) noexcept;

  // Copies the NUL-terminated `text` (or the given bytes) into a new line
  // after `tail` and returns it; the line's `length` is set. Null (the list
  // unchanged) when no memory is left for it.
  MimeLine* append(const char* text);
  MimeLine* append(std::string_view text);

  // Copies `text` into a new line placed immediately before `line` (which
  // must belong to this list) and returns it; before `head` it becomes the
  // new `head`. A null `line` appends at the end. Null as append.
  MimeLine* insertBefore(MimeLine* line, const char* text);
  MimeLine* insertBefore(MimeLine* line, std::string_view text);

  // Detaches `line` (which must belong to this list) and clears its own
  // `next`/`prev`; returns it. The line is not released: the caller now owns
  // it (see MimeLine). A line that referred to its source now holds a copy of
  // its text (only when no memory is left for that copy does it still refer
  // to the source). Null returns null.
  MimeLine* unlink(MimeLine* line);

  // Links a line that belongs to no list (from unlink or MimeLine::create)
  // after `tail`; the list owns it from then on. Returns it.
  MimeLine* adopt(MimeLine* line);

  // Releases every line and its text; `head` and `tail` become null.
  void clear();
};

}  // namespace lumo
