// Search of folder index text: the text is looked for over whole buffers; the
// first place where it stands inside a line decides, and only that line's
// fields are then read, from its start.
#include "resolve/locator/index_scan.h"

#include <algorithm>
#include <cstring>

namespace lumo::locator {
namespace {

// The probes of the search are chosen on this much of the first index read.
constexpr std::size_t kTuneSample = std::size_t{1} << 16;

const char* lastNewline(const char* begin, const char* end) {
  while (end != begin)
    if (*--end == '\n') return end;
  return nullptr;
}

}  // namespace

std::int64_t MemorySource::readAt(std::uint64_t offset, char* buffer, std::size_t size) {
  if (offset >= text_.size()) return 0;
  std::size_t n = std::min({size, piece_, text_.size() - static_cast<std::size_t>(offset)});
  std::memcpy(buffer, text_.data() + offset, n);
  return static_cast<std::int64_t>(n);
}

IndexScanner::IndexScanner(std::string_view text, std::size_t chunk)
    : search_(text),
      // A line never holds a line feed: such a text is found nowhere.
      searchable_(!text.empty() && text.find('\n') == std::string_view::npos),
      chunk_(chunk == 0 ? 1 : chunk) {
  // Room for a new chunk after the text's length carried over from the last.
  buffer_.resize(chunk_ + text.size());
}

bool ScanWindow::fill(ByteSource& source, std::vector<char>& buffer) {
  while (have < buffer.size()) {
    std::int64_t n = source.readAt(base + have, buffer.data() + have, buffer.size() - have);
    if (n < 0) return false;
    if (n == 0) {
      atEnd = true;
      break;
    }
    have += static_cast<std::size_t>(n);
  }
  return true;
}

std::uint64_t ScanWindow::lineStartAt(const std::vector<char>& buffer, std::size_t at) const {
  const char* lf = lastNewline(buffer.data(), buffer.data() + at);
  return lf ? base + static_cast<std::uint64_t>(lf - buffer.data()) + 1 : lineStart;
}

void ScanWindow::slide(std::vector<char>& buffer, std::size_t keep) {
  keep = std::min(have, keep);
  std::size_t cut = have - keep;
  lineStart = lineStartAt(buffer, cut);
  std::memmove(buffer.data(), buffer.data() + cut, keep);
  base += cut;
  have = keep;
}

ScanResult IndexScanner::find(ByteSource& source, IndexEntry& entry, LineCheck* check) {
  if (!searchable_) return ScanResult::Absent;
  const std::size_t length = search_.text().size();
  // A text ending in CR may end on the CR that belongs to a line end.
  const bool endsInCr = search_.text().back() == '\r';
  ScanWindow window;
  // Lines that start before this offset were refused by the check.
  std::uint64_t refusedUpTo = 0;
  for (;;) {
    if (!window.fill(source, buffer_)) return ScanResult::Failed;
    const char* begin = buffer_.data();
    const char* end = begin + window.have;
    if (!tuned_ && window.have >= kTuneSample) {
      search_.tuneTo(std::string_view(begin, kTuneSample));
      tuned_ = true;
    }
    bool refused = false;
    for (const char* from = begin;;) {
      const char* hit = search_.findIn(from, end);
      if (hit == nullptr) break;
      const char* after = hit + length;
      if (endsInCr && after == end && !window.atEnd)
        break;  // the next byte decides: look again after the next fill
      if (endsInCr && after != end && *after == '\n') {
        from = hit + 1;
        continue;
      }
      const auto at = static_cast<std::size_t>(hit - begin);
      std::uint64_t lineStart = window.lineStartAt(buffer_, at);
      if (lineStart < refusedUpTo) {
        from = hit + 1;
        continue;
      }
      ScanResult result = readEntry(source, lineStart, entry);
      if (result != ScanResult::Found || check == nullptr || !entry.namesMail() ||
          check->accepts(search_.text(), entry))
        return result;
      // Another mail's line. Reading it took the buffer: the search goes on
      // from just past the place found, in the same line.
      refusedUpTo = lineStart + 1;
      std::uint64_t next = window.base + at + 1;
      window = ScanWindow{};
      window.base = next;
      window.lineStart = lineStart;
      refused = true;
      break;
    }
    if (refused) continue;
    if (window.atEnd) return ScanResult::Absent;
    window.slide(buffer_, length);
  }
}

ScanResult IndexScanner::readEntry(ByteSource& source, std::uint64_t lineStart, IndexEntry& entry) {
  EntryReader reader(lineStart);
  for (std::uint64_t offset = lineStart;;) {
    std::int64_t n = source.readAt(offset, buffer_.data(), buffer_.size());
    if (n < 0) return ScanResult::Failed;
    // n == 0: a last line without a line feed
    if (n == 0 || reader.take(buffer_.data(), static_cast<std::size_t>(n))) break;
    offset += static_cast<std::uint64_t>(n);
  }
  entry = reader.entry();
  return ScanResult::Found;
}

bool EntryReader::take(const char* bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    char c = bytes[i];
    if (c == '\n') {
      // The CR before the line feed is not part of the line.
      if (previous_ == '\r' && previousInKey_) entry_.key.pop_back();
      return true;
    }
    if (c == kFieldSeparator) {
      ++entry_.separators;
      entry_.keyClosed = entry_.separators >= 2;
      if (entry_.separators == kMarkSeparator) {
        entry_.markOffset = offset_ + i - 1;
        entry_.mark = previous_;
        return true;
      }
    }
    // Past an id's length the key names no mail: it is not kept growing.
    previousInKey_ = c != kFieldSeparator && entry_.separators == 1 && entry_.key.size() <= kIdMax;
    if (previousInKey_) entry_.key += c;
    previous_ = c;
  }
  offset_ += size;
  return false;
}

}  // namespace lumo::locator
