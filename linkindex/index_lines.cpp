// Line walking and rewrite collection for the link index text.
#include "linkindex/index_lines.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "linkindex/link_record.h"
#include "platform/file.h"

namespace lumo {

bool IndexLine::usable() const { return terminated && text.size() <= kLinkLineMax; }

bool IndexLine::belongsTo(std::string_view id) const {
  if (id.empty() || text.size() < id.size()) return false;
  if (std::memcmp(text.data(), id.data(), id.size()) != 0) return false;
  return text.size() == id.size() || text[id.size()] == '\x01';
}

bool IndexLines::next(IndexLine& line) {
  if (rest_.empty()) return false;
  const void* lf = std::memchr(rest_.data(), '\n', rest_.size());
  if (lf == nullptr) {
    line.text = line.raw = rest_;
    line.terminated = false;
    rest_ = {};
    return true;
  }
  std::size_t end = static_cast<std::size_t>(static_cast<const char*>(lf) - rest_.data());
  line.raw = rest_.substr(0, end + 1);
  line.text = rest_.substr(0, end > 0 && rest_[end - 1] == '\r' ? end - 1 : end);
  line.terminated = true;
  rest_.remove_prefix(end + 1);
  return true;
}

namespace {

// The start of the first line after `p` that begins with the id's first
// byte and holds its last byte where the id's last byte would be, or null
// when no such line starts before `end`. Sixteen positions are compared at
// a time (a line feed, the first byte after it, the last byte further on),
// so the lines of other ids cost no call and no branch of their own, even
// where many ids share their first digits; the rare line that passes is
// then compared whole by the caller.
const char* nextLineLike(const char* p, const char* const end, std::string_view id) {
  using Bytes = unsigned char __attribute__((vector_size(16)));
  const auto first = static_cast<unsigned char>(id.front());
  const auto last = static_cast<unsigned char>(id.back());
  const std::size_t tail = id.size();  // from a line feed to the id's last byte
  const Bytes lineFeeds = Bytes{} + static_cast<unsigned char>('\n');
  const Bytes firsts = Bytes{} + first;
  const Bytes lasts = Bytes{} + last;
  auto like = [&](const char* at) {
    return at[0] == '\n' && static_cast<unsigned char>(at[1]) == first &&
           static_cast<unsigned char>(at[tail]) == last;
  };
  while (static_cast<std::size_t>(end - p) >= 16 + tail) {
    Bytes at, after, further;
    std::memcpy(&at, p, 16);
    std::memcpy(&after, p + 1, 16);
    std::memcpy(&further, p + tail, 16);
    const auto hits = (at == lineFeeds) & (after == firsts) & (further == lasts);
    std::uint64_t halves[2];
    std::memcpy(halves, &hits, sizeof halves);
    if ((halves[0] | halves[1]) != 0) {
      for (int i = 0; i < 16; ++i)
        if (like(p + i)) return p + i + 1;
    }
    p += 16;
  }
  for (; static_cast<std::size_t>(end - p) > tail; ++p)
    if (like(p)) return p + 1;
  return nullptr;
}

}  // namespace

bool IndexLines::nextOf(std::string_view id, IndexLine& line) {
  if (id.empty()) return false;
  while (!rest_.empty()) {
    // rest_ begins a line: take it when it begins with the id.
    if (rest_.size() >= id.size() && std::memcmp(rest_.data(), id.data(), id.size()) == 0) {
      next(line);
      if (line.belongsTo(id)) return true;
      continue;
    }
    const char* const end = rest_.data() + rest_.size();
    const char* p = nextLineLike(rest_.data(), end, id);
    if (p == nullptr) {
      rest_ = {};
      return false;
    }
    rest_ = std::string_view(p, static_cast<std::size_t>(end - p));
  }
  return false;
}

namespace {
// The scan's buffer: large enough that reading costs few calls, small enough
// to stay in the processor's cache while it is searched.
constexpr std::size_t kScanPiece = 256 * 1024;
// The most bytes a usable line holds before its line feed: its text and a CR.
constexpr std::size_t kUsableLineBytes = kLinkLineMax + 1;
}  // namespace

platform::ReadStatus scanLinesOf(const char* indexPath, std::string_view id,
                                 const std::function<bool(std::string_view)>& each) {
  using platform::ReadStatus;
  if (indexPath == nullptr) return ReadStatus::Failed;
  platform::RandomAccessFile file;
  const ReadStatus opened = file.open(indexPath);
  if (opened != ReadStatus::Ok) return opened;
  std::unique_ptr<char[]> buffer(new char[kScanPiece]);
  std::size_t carried = 0;  // the start of an unfinished line, moved to the front
  bool skipping = false;    // inside a line already too long to be usable
  std::uint64_t offset = 0;
  for (;;) {
    const std::int64_t got = file.readAt(offset, buffer.get() + carried, kScanPiece - carried);
    if (got < 0) return ReadStatus::Failed;
    if (got == 0) return ReadStatus::Ok;  // an unfinished last line is never usable
    offset += static_cast<std::uint64_t>(got);
    std::string_view piece(buffer.get(), carried + static_cast<std::size_t>(got));
    if (skipping) {
      const std::size_t lf = piece.find('\n');
      carried = 0;
      if (lf == std::string_view::npos) continue;
      piece.remove_prefix(lf + 1);
      skipping = false;
    }
    const std::size_t lastLf = piece.rfind('\n');
    const std::size_t whole = lastLf == std::string_view::npos ? 0 : lastLf + 1;
    IndexLines lines(piece.substr(0, whole));
    IndexLine line;
    while (lines.nextOf(id, line))
      if (line.usable() && !each(line.text)) return ReadStatus::Ok;
    const std::string_view rest = piece.substr(whole);
    skipping = rest.size() > kUsableLineBytes;
    carried = skipping ? 0 : rest.size();
    std::memmove(buffer.get(), rest.data(), carried);
  }
}

namespace {
// Pieces at least this large are written directly; smaller ones are gathered.
constexpr std::size_t kWriteChunk = 64 * 1024;
}  // namespace

void IndexWriter::keep(const IndexLine& line) {
  bool sameBytes = !line.usable() || (!line.text.empty() && line.raw.size() == line.text.size() + 2);
  if (sameBytes && runEnd_ == line.raw.data() && runEnd_ != nullptr) {
    runEnd_ += line.raw.size();
    return;
  }
  flushRun();
  if (sameBytes) {
    runBegin_ = line.raw.data();
    runEnd_ = runBegin_ + line.raw.size();
  } else if (!line.text.empty()) {
    add(line.text);
  }
}

void IndexWriter::add(std::string_view text) {
  flushRun();
  stage(text);
  stage("\r\n");
}

void IndexWriter::flushRun() {
  if (runBegin_ == runEnd_) return;
  std::string_view run(runBegin_, static_cast<std::size_t>(runEnd_ - runBegin_));
  runBegin_ = runEnd_ = nullptr;
  if (run.size() >= kWriteChunk) {
    flushStage();
    out_.write(run);
  } else {
    stage(run);
  }
}

void IndexWriter::stage(std::string_view bytes) {
  staged_.append(bytes);
  if (staged_.size() >= kWriteChunk) flushStage();
}

void IndexWriter::flushStage() {
  if (staged_.empty()) return;
  out_.write(staged_);
  staged_.clear();
}

bool IndexWriter::finish() {
  flushRun();
  flushStage();
  return out_.ok();
}

int rewriteIndex(const char* indexPath, std::string_view content) {
  return platform::replaceFile(indexPath, content) ? 1 : 0;
}

}  // namespace lumo
