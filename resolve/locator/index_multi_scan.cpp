// One pass over a folder index for many texts: the texts are looked for over
// whole buffers together; each text's first place inside a line decides it,
// and only that line's fields are read, from its start.
#include "resolve/locator/index_multi_scan.h"

#include <algorithm>
#include <cstring>

namespace lumo::locator {
namespace {

// The anchors' tested bytes are chosen from this much of the first index read.
constexpr std::size_t kTuneSample = std::size_t{1} << 16;
constexpr unsigned char kOpen = 0, kDecided = 1, kWaiting = 2;

}  // namespace

IndexMultiScanner::IndexMultiScanner(const std::vector<std::string_view>& texts, std::size_t chunk)
    : texts_(texts), set_(texts), chunk_(chunk == 0 ? 1 : chunk) {
  for (std::string_view text : texts) {
    lengths_.push_back(text.size());
    endsInCr_.push_back(!text.empty() && text.back() == '\r');
    // A line never holds a line feed: such a text is found nowhere.
    searchable_.push_back(!text.empty() && text.find('\n') == std::string_view::npos);
  }
  // Room for a new chunk after the longest text carried over from the last.
  buffer_.resize(chunk_ + set_.longest());
  scratch_.resize(std::min<std::size_t>(chunk_, 4096));
}

bool IndexMultiScanner::scan(ByteSource& source, const std::vector<bool>& wanted,
                             std::vector<TextLine>& lines, LineCheck* check) {
  state_.assign(lengths_.size(), kDecided);
  refusedUpTo_.assign(lengths_.size(), 0);
  std::size_t undecided = 0;
  for (std::size_t t = 0; t < lengths_.size(); ++t) {
    if (t < wanted.size() && wanted[t] && searchable_[t]) {
      state_[t] = kOpen;
      ++undecided;
    }
  }
  std::vector<std::size_t> waiting;
  ScanWindow window;
  while (undecided != 0) {
    if (!window.fill(source, buffer_)) return false;
    const char* begin = buffer_.data();
    const char* end = begin + window.have;
    if (!tuned_ && window.have >= kTuneSample) {
      set_.tuneTo(std::string_view(begin, kTuneSample));
      tuned_ = true;
    }
    for (std::size_t t : waiting)
      if (state_[t] == kWaiting) state_[t] = kOpen;
    waiting.clear();
    hits_.clear();
    set_.findAll(begin, end, hits_);
    for (const TextSetSearch::Hit& hit : hits_) {
      if (state_[hit.text] != kOpen) continue;
      if (endsInCr_[hit.text]) {
        // A text ending in CR may end on the CR that belongs to a line end.
        const char* after = hit.at + lengths_[hit.text];
        if (after == end && !window.atEnd) {  // the next byte decides: look again after the next fill
          state_[hit.text] = kWaiting;
          waiting.push_back(hit.text);
          continue;
        }
        if (after != end && *after == '\n') continue;
      }
      std::uint64_t lineStart = window.lineStartAt(buffer_, static_cast<std::size_t>(hit.at - begin));
      if (lineStart < refusedUpTo_[hit.text]) continue;
      TextLine& line = lines.emplace_back();
      line.text = hit.text;
      if (!readEntry(source, lineStart, window, line.entry)) return false;
      if (check != nullptr && line.entry.namesMail() && !check->accepts(texts_[hit.text], line.entry)) {
        // Another mail's line: the text's later places decide.
        refusedUpTo_[hit.text] = lineStart + 1;
        lines.pop_back();
        continue;
      }
      state_[hit.text] = kDecided;
      --undecided;
    }
    if (window.atEnd) break;
    window.slide(buffer_, set_.longest());
  }
  return true;
}

bool IndexMultiScanner::readEntry(ByteSource& source, std::uint64_t lineStart, const ScanWindow& window,
                                  IndexEntry& entry) {
  EntryReader reader(lineStart);
  std::uint64_t offset = lineStart;
  bool done = false;
  if (lineStart >= window.base) {
    auto from = static_cast<std::size_t>(lineStart - window.base);
    done = reader.take(buffer_.data() + from, window.have - from);
    offset = window.base + window.have;
  }
  while (!done) {
    std::int64_t n = source.readAt(offset, scratch_.data(), scratch_.size());
    if (n < 0) return false;
    // n == 0: a last line without a line feed
    done = n == 0 || reader.take(scratch_.data(), static_cast<std::size_t>(n));
    offset += static_cast<std::uint64_t>(n > 0 ? n : 0);
  }
  entry = reader.entry();
  return true;
}

}  // namespace lumo::locator
