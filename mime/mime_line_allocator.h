// Storage for many lines made together: blocks shared by lines, released with their last line.
#pragma once

#include <cstddef>
#include <string_view>

#include "mime/mime_line.h"

namespace lumo {

// Size of a shared storage block, and the most bytes of emptied blocks kept
// for reuse (process-wide, released at unload); less in a 32-bit host, whose
// address space is small.
inline constexpr std::size_t kMimeBlockBytes = 64 * 1024;
inline constexpr std::size_t kMimeBlockCacheBytes = (sizeof(void*) >= 8 ? 128u : 32u) * 1024 * 1024;

// The head of a storage block; the lines follow it. `live` counts the lines in
// the block plus one while an allocator still fills it, so a block is freed
// when its last line is released, whichever tree or list that line is in then.
struct MimeLineBlock {
  std::size_t live;
  std::size_t size;         // bytes of the whole block, header included
  MimeLineBlock* nextFree;  // link while the block waits in the reuse cache
};

// Hands out lines from shared blocks of a fixed size (a parse makes thousands
// of small lines; one allocation each would dominate its time). A line that
// refers to its source is a bare node; a copied line holds its text after the
// node, and one longer than a quarter of a block gets a block of its own,
// sized exactly. Every function returns null when no memory is left: the size
// of a line comes from the mail, which may be larger than what is left. Emptied
// shared blocks are kept for the next parse up to a bounded total
// (kMimeBlockCacheBytes), so that parsing mail after mail reuses memory that is
// already mapped instead of faulting in fresh pages each time.
class MimeLineAllocator {
 public:
  MimeLineAllocator() = default;
  ~MimeLineAllocator();
  MimeLineAllocator(const MimeLineAllocator&) = delete;
  MimeLineAllocator& operator=(const MimeLineAllocator&) = delete;

  // A free line with room for `length` bytes and the NUL (which is written);
  // `length` is set and the caller fills buffer(line)[0..length).
  MimeLine* make(std::size_t length);

  // A free line whose text is the `length` bytes at `text`, not copied.
  MimeLine* refer(const char* text, std::size_t length);

  // A free line in a block of its own (for single lines made outside a parse).
  static MimeLine* makeSingle(std::size_t length);

  // The writable text of a line just made by make or makeSingle.
  static char* buffer(MimeLine* line) { return line->inlineBuffer(); }

 private:
  static MimeLine* place(char* at, MimeLineBlock* block, std::size_t length);
  char* take(std::size_t need);

  MimeLineBlock* block_ = nullptr;
  char* next_ = nullptr;
  char* end_ = nullptr;
};

}  // namespace lumo
