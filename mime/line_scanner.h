// Finding the physical lines of a mail source: "\r\n", "\n" and a lone "\r" end a line.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace lumo {

// Walks a source of known length line by line. The next CR and the next LF are
// each found with memchr and remembered until the walk passes them, so every
// byte is scanned at most once per kind of line end, whatever mix of line
// ends (or none) the source has.
class LineScanner {
 public:
  struct Line {
    const char* start;
    std::size_t contentLength;  // bytes before the line end
    std::size_t endLength;      // 0 (end of source), 1 (CR or LF) or 2 (CR LF)
  };

  explicit LineScanner(std::string_view source)
      : begin_(source.data()), size_(static_cast<std::ptrdiff_t>(source.size())) {}

  std::size_t offset() const { return static_cast<std::size_t>(pos_); }
  bool atEnd() const { return pos_ >= size_; }
  // The byte at the current position; only valid when !atEnd().
  char peek() const { return begin_[pos_]; }

  // Goes back to an offset returned by offset() before the last next().
  void rewind(std::size_t offset) { pos_ = static_cast<std::ptrdiff_t>(offset); }

  // Reads the next line; false when the source is exhausted.
  bool next(Line& line) {
    if (pos_ >= size_) return false;
    if (crAt_ < pos_) crAt_ = find('\r');
    if (lfAt_ < pos_) lfAt_ = find('\n');
    std::ptrdiff_t endAt = crAt_ < lfAt_ ? crAt_ : lfAt_;
    line.start = begin_ + pos_;
    line.contentLength = static_cast<std::size_t>(endAt - pos_);
    if (endAt >= size_)
      line.endLength = 0;
    else if (endAt == crAt_ && endAt + 1 < size_ && lfAt_ == endAt + 1)
      line.endLength = 2;
    else
      line.endLength = 1;
    pos_ = endAt + static_cast<std::ptrdiff_t>(line.endLength);
    return true;
  }

 private:
  std::ptrdiff_t find(char c) const {
    const void* hit = std::memchr(begin_ + pos_, c, static_cast<std::size_t>(size_ - pos_));
    return hit ? static_cast<const char*>(hit) - begin_ : size_;
  }

  const char* begin_;
  std::ptrdiff_t size_;
  std::ptrdiff_t pos_ = 0;
  std::ptrdiff_t crAt_ = -1;  // offset of the next CR at or after pos_, or size_
  std::ptrdiff_t lfAt_ = -1;
};

}  // namespace lumo
