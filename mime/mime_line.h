// One stored line of a mail text, and the doubly linked list that owns such lines.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace lumo {

struct MimeLineBlock;
class MimeLineAllocator;

// One line of a parsed mail. Every line stored by MimePart::parse ends with
// CR LF; a folded header field is one line whose text holds all its physical
// lines, each with its CR LF.
//
// Lines are made only by MimeLineList (append, insertBefore) and by create();
// a parse places many lines in shared storage blocks, so a line is never
// deleted with `delete`: a list releases its own lines, and a line taken out
// with MimeLineList::unlink (or made by create) belongs to the caller, who
// either links it into any list with MimeLineList::adopt or releases it with
// MimeLine::release (MimeLinePtr does that on scope exit). Such a line stays
// valid after the tree or list it came from is destroyed.
struct MimeLine {
  // The line's bytes, NUL-terminated; `length` bytes come before the NUL (a
  // line parsed with MimePart::parse(std::string_view) may hold NUL bytes
  // inside, which is why `length` is what counts). Never null.
  char* text;
  MimeLine* next;  // null at the end of the list
  MimeLine* prev;  // null at the start of the list
  std::size_t length;

  // Replaces the text by an owned copy of `newText` (a NUL is added) and sets
  // `length`. Use this rather than assigning `text`: the line owns its text.
  // Bytes may also be changed in place within the current `length`.
  void setText(std::string_view newText);

  // A new line that belongs to no list, holding a copy of `text`.
  static MimeLine* create(std::string_view text);

  // Releases a line that belongs to no list (after unlink, or from create),
  // with its text. Null is ignored.
  static void release(MimeLine* line);

 private:
  friend class MimeLineAllocator;
  MimeLine() = default;
  char* inlineText() { return reinterpret_cast<char*>(this + 1); }

  MimeLineBlock* block_ = nullptr;  // the storage block holding this node
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
  // after `tail` and returns it; the line's `length` is set.
  MimeLine* append(const char* text);
  MimeLine* append(std::string_view text);

  // Copies `text` into a new line placed immediately before `line` (which
  // must belong to this list) and returns it; before `head` it becomes the
  // new `head`. A null `line` appends at the end.
  MimeLine* insertBefore(MimeLine* line, const char* text);
  MimeLine* insertBefore(MimeLine* line, std::string_view text);

  // Detaches `line` (which must belong to this list) and clears its own
  // `next`/`prev`; returns it. The line is not released: the caller now owns
  // it (see MimeLine). Null returns null.
  MimeLine* unlink(MimeLine* line);

  // Links a line that belongs to no list (from unlink or MimeLine::create)
  // after `tail`; the list owns it from then on. Returns it.
  MimeLine* adopt(MimeLine* line);

  // Releases every line and its text; `head` and `tail` become null.
  void clear();
};

}  // namespace lumo
