// Walking the lines of the link index text and writing the text back.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file.h"

namespace lumo {

// One line of the index text. `text` excludes the line end (LF, and one CR
// before it). An unterminated line is text after the last line feed.
struct IndexLine {
  std::string_view text;
  std::string_view raw;  // the line with its line end as it stands in the file
  bool terminated = false;

  // Lines that take part in lookups: ended by a line feed and within the
  // length limit. Other lines are never parsed and are kept byte for byte.
  bool usable() const;
  // True when the line's first field (up to the first 0x01, or the whole line)
  // equals `id` exactly.
  bool belongsTo(std::string_view id) const;
};

// Iterates over the lines of a whole index text without copying it.
class IndexLines {
 public:
  explicit IndexLines(std::string_view content) : rest_(content) {}
  // Fills `line` with the next line; false at the end of the text.
  bool next(IndexLine& line);
  // Fills `line` with the next line whose first field is `id` (belongsTo),
  // passing over the others with a search for a line end followed by the
  // id instead of splitting every line; false when none is left.
  bool nextOf(std::string_view id, IndexLine& line);

 private:
  std::string_view rest_;
};

// Reads the index file front to back through one buffer of a few hundred
// kilobytes and hands `each` the text of every usable line whose first field
// is `id` (valid during the call), in file order, until `each` returns
// false: a lookup neither maps nor copies the whole index. A missing file
// holds no line (Missing); Failed when the file cannot be read.
platform::ReadStatus scanLinesOf(const char* indexPath, std::string_view id,
                                 const std::function<bool(std::string_view)>& each);

// Writes the lines of a rewrite. Usable lines are written with CR LF and
// empty lines are dropped; other lines (over-long ones and an unfinished last
// line) keep their exact bytes. Runs of lines already in final form are
// written straight from where they lie, small pieces are gathered into larger
// writes. The source lines must stay valid until finish().
class IndexWriter {
 public:
  explicit IndexWriter(platform::FileReplacement& out) : out_(out) {}
  // Keeps a line read from the file.
  void keep(const IndexLine& line);
  // Adds a new line (text without line end); it gets CR LF.
  void add(std::string_view text);
  // Writes everything pending; false when any write failed.
  bool finish();

 private:
  void flushRun();
  void stage(std::string_view bytes);
  void flushStage();
  platform::FileReplacement& out_;
  std::string staged_;
  const char* runBegin_ = nullptr;
  const char* runEnd_ = nullptr;
};

// Replaces the index file with `content` crash-safely (temporary file,
// flush, atomic rename, exclusive while written). On failure the old file
// stays whole. 1/0.
int rewriteIndex(const char* indexPath, std::string_view content);

}  // namespace lumo
