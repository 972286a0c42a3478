// Lines and line lists of a MIME tree, and the block storage they are made in.
#include "mime/mime_line.h"

#include <atomic>
#include <cstring>
#include <new>
#include <utility>

#include "mime/mime_line_allocator.h"

namespace lumo {

namespace {

constexpr std::size_t kNodeAlign = alignof(MimeLine);
constexpr std::size_t kHeaderSize = (sizeof(MimeLineBlock) + 15) / 16 * 16;

std::size_t nodeSize(std::size_t length) {
  return (sizeof(MimeLine) + length + 1 + kNodeAlign - 1) / kNodeAlign * kNodeAlign;
}

// A node whose text lies elsewhere (in the source) takes no room for text.
constexpr std::size_t kBareNodeSize = (sizeof(MimeLine) + kNodeAlign - 1) / kNodeAlign * kNodeAlign;

// Emptied shared blocks waiting for reuse. Plain data, valid for the whole run
// of the program; the lock is a flag since parsing may happen on more than one
// thread of the host (its hooks run on the threads of the hooked windows).
struct BlockCache {
  std::atomic_flag busy;
  MimeLineBlock* head;
  std::size_t count;
  bool closed;
};
constinit BlockCache gCache{};

class CacheLock {
 public:
  CacheLock() {
    while (gCache.busy.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~CacheLock() { gCache.busy.clear(std::memory_order_release); }
  CacheLock(const CacheLock&) = delete;
  CacheLock& operator=(const CacheLock&) = delete;
};

// Frees the cached blocks when the library is unloaded; blocks emptied after
// that are freed at once.
struct CacheRelease {
  CacheRelease() = default;
  CacheRelease(const CacheRelease&) = delete;
  CacheRelease& operator=(const CacheRelease&) = delete;
  ~CacheRelease() {
    CacheLock lock;
    while (gCache.head) {
      MimeLineBlock* next = gCache.head->nextFree;
      ::operator delete(gCache.head);
      gCache.head = next;
    }
    gCache.count = 0;
    gCache.closed = true;
  }
} gCacheRelease;

MimeLineBlock* newBlock(std::size_t size) {
  MimeLineBlock* block = nullptr;
  if (size == kMimeBlockBytes) {
    CacheLock lock;
    if (gCache.head) {
      block = gCache.head;
      gCache.head = block->nextFree;
      --gCache.count;
    }
  }
  if (!block) block = static_cast<MimeLineBlock*>(::operator new(size, std::nothrow));
  if (!block) return nullptr;
  block->live = 0;
  block->size = size;
  block->nextFree = nullptr;
  return block;
}

// Under AddressSanitizer emptied blocks are always freed, so that a line used
// after its release is still reported rather than hidden by a reused block.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kReuseBlocks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kReuseBlocks = false;
#else
constexpr bool kReuseBlocks = true;
#endif
#else
constexpr bool kReuseBlocks = true;
#endif

void dropBlock(MimeLineBlock* block) {
  if (--block->live != 0) return;
  if (kReuseBlocks && block->size == kMimeBlockBytes) {
    CacheLock lock;
    if (!gCache.closed && gCache.count < kMimeBlockCacheBytes / kMimeBlockBytes) {
      block->nextFree = gCache.head;
      gCache.head = block;
      ++gCache.count;
      return;
    }
  }
  ::operator delete(block);
}

}  // namespace

MimeLine* MimeLineAllocator::place(char* at, MimeLineBlock* block, std::size_t length) {
  auto* line = new (at) MimeLine();
  line->blockAndHeap_ = reinterpret_cast<std::uintptr_t>(block);
  ++block->live;
  line->text = line->inlineText();
  line->next = nullptr;
  line->prev = nullptr;
  line->length = length;
  return line;
}

MimeLineAllocator::~MimeLineAllocator() {
  if (block_) dropBlock(block_);
}

MimeLine* MimeLineAllocator::makeSingle(std::size_t length) {
  if (length > static_cast<std::size_t>(-1) - kHeaderSize - 2 * sizeof(MimeLine) - kNodeAlign) return nullptr;
  std::size_t size = kHeaderSize + nodeSize(length);
  if (size == kMimeBlockBytes) size += kNodeAlign;  // never mistaken for a shared block
  MimeLineBlock* block = newBlock(size);
  if (!block) return nullptr;
  MimeLine* line = place(reinterpret_cast<char*>(block) + kHeaderSize, block, length);
  line->inlineBuffer()[length] = '\0';
  return line;
}

// Room for a node of `need` bytes in the current shared block, or in a new
// one; null when no block can be had.
char* MimeLineAllocator::take(std::size_t need) {
  if (!block_ || static_cast<std::size_t>(end_ - next_) < need) {
    MimeLineBlock* fresh = newBlock(kMimeBlockBytes);
    if (!fresh) return nullptr;
    if (block_) dropBlock(block_);
    block_ = fresh;
    block_->live = 1;  // the allocator's own hold
    next_ = reinterpret_cast<char*>(block_) + kHeaderSize;
    end_ = reinterpret_cast<char*>(block_) + kMimeBlockBytes;
  }
  char* at = next_;
  next_ += need;
  return at;
}

MimeLine* MimeLineAllocator::make(std::size_t length) {
  if (length > (kMimeBlockBytes - kHeaderSize) / 4) return makeSingle(length);
  char* at = take(nodeSize(length));
  if (!at) return nullptr;
  MimeLine* line = place(at, block_, length);
  line->inlineBuffer()[length] = '\0';
  return line;
}

MimeLine* MimeLineAllocator::refer(const char* text, std::size_t length) {
  char* at = take(kBareNodeSize);
  if (!at) return nullptr;
  MimeLine* line = place(at, block_, length);
  line->text = text;  // no text after the node: the bare node's room ends there
  return line;
}

bool MimeLine::ownText() {
  if (!refersToSource()) return true;
  char* owned = new (std::nothrow) char[length + 1];
  if (!owned) return false;
  if (length) std::memcpy(owned, text, length);
  owned[length] = '\0';
  text = owned;
  blockAndHeap_ |= kHeapText;
  return true;
}

bool MimeLine::setText(std::string_view newText) {
  char* owned = new (std::nothrow) char[newText.size() + 1];
  if (!owned) return false;
  if (!newText.empty()) std::memcpy(owned, newText.data(), newText.size());
  owned[newText.size()] = '\0';
  if (heapText()) delete[] text;
  text = owned;
  blockAndHeap_ |= kHeapText;
  length = newText.size();
  return true;
}

MimeLine* MimeLine::create(std::string_view text) {
  MimeLine* line = MimeLineAllocator::makeSingle(text.size());
  if (line && !text.empty()) std::memcpy(line->inlineBuffer(), text.data(), text.size());
  return line;
}

void MimeLine::release(MimeLine* line) {
  if (!line) return;
  if (line->heapText()) delete[] line->text;
  dropBlock(line->block());
}

MimeLineList::MimeLineList(MimeLineList&& other) noexcept
    : head(std::exchange(other.head, nullptr)), tail(std::exchange(other.tail, nullptr)) {}

MimeLineList& MimeLineList::operator=(MimeLineList&& other) noexcept {
  if (this != &other) {
    clear();
    head = std::exchange(other.head, nullptr);
    tail = std::exchange(other.tail, nullptr);
  }
  return *this;
}

MimeLine* MimeLineList::append(const char* text) { return append(std::string_view(text ? text : "")); }

MimeLine* MimeLineList::append(std::string_view text) { return adopt(MimeLine::create(text)); }

MimeLine* MimeLineList::insertBefore(MimeLine* line, const char* text) {
  return insertBefore(line, std::string_view(text ? text : ""));
}

MimeLine* MimeLineList::insertBefore(MimeLine* line, std::string_view text) {
  if (!line) return append(text);
  MimeLine* added = MimeLine::create(text);
  if (!added) return nullptr;
  added->next = line;
  added->prev = line->prev;
  if (line->prev)
    line->prev->next = added;
  else
    head = added;
  line->prev = added;
  return added;
}

MimeLine* MimeLineList::unlink(MimeLine* line) {
  if (!line) return nullptr;
  if (line->prev)
    line->prev->next = line->next;
  else
    head = line->next;
  if (line->next)
    line->next->prev = line->prev;
  else
    tail = line->prev;
  line->next = nullptr;
  line->prev = nullptr;
  line->ownText();  // a free line may outlive the source its tree was parsed from
  return line;
}

MimeLine* MimeLineList::adopt(MimeLine* line) {
  if (!line) return nullptr;
  line->next = nullptr;
  line->prev = tail;
  if (tail)
    tail->next = line;
  else
    head = line;
  tail = line;
  return line;
}

void MimeLineList::clear() {
  MimeLine* line = head;
  head = nullptr;
  tail = nullptr;
  while (line) {
    MimeLine* next = line->next;
    MimeLine::release(line);
    line = next;
  }
}

}  // namespace lumo
