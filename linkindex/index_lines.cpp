// Line walking and rewrite collection for the link index text.
#include "linkindex/index_lines.h"

#include <cstring>

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

bool IndexLines::nextOf(std::string_view id, IndexLine& line) {
  if (id.empty()) return false;
  while (!rest_.empty()) {
    // rest_ begins a line: take it when it begins with the id.
    if (rest_.size() >= id.size() && std::memcmp(rest_.data(), id.data(), id.size()) == 0) {
      next(line);
      if (line.belongsTo(id)) return true;
      continue;
    }
    // Skip to the next line that begins with the id's first byte and the rest.
    const char* p = rest_.data();
    const char* const end = p + rest_.size();
    for (;;) {
      const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
      if (lf == nullptr) {
        rest_ = {};
        return false;
      }
      p = static_cast<const char*>(lf) + 1;
      if (p != end && *p == id.front()) break;
    }
    rest_ = std::string_view(p, static_cast<std::size_t>(end - p));
  }
  return false;
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
