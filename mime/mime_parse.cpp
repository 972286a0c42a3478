// Parsing a mail source into a tree of MIME parts.
//
// The tree is built by one loop with an explicit stack of open parts instead of
// one call per nesting level, so neither the call stack nor a per-level buffer
// grows with the nesting of a crafted mail; kMimeMaxDepth bounds the stack.
// Lines are stored whole whatever their length, each with CR LF, in storage
// blocks shared by the lines of the parse.
#include <cstring>
#include <vector>

#include "mime/content_type.h"
#include "mime/line_scanner.h"
#include "mime/mime_line_allocator.h"
#include "mime/mime_part.h"
#include "text/blanks.h"

namespace lumo {

namespace {

enum class Phase { Headers, Body, Epilogue };

struct OpenPart {
  MimePart* part;
  std::string_view enclosing;  // the parent's boundary
  bool hasEnclosing;
  std::string_view own;  // this part's boundary, fixed once the body starts
  bool nests;            // own delimiters are recognised (boundary set, depth below the limit)
  int depth;
  Phase phase;
  MimePart* lastChild;
};

// Does `rest` (a line after its "--") begin with `boundary`?
bool beginsWith(std::string_view rest, std::string_view boundary) {
  return rest.size() >= boundary.size() && std::memcmp(rest.data(), boundary.data(), boundary.size()) == 0;
}

bool isClosing(std::string_view rest, std::string_view boundary) {
  return rest.size() == boundary.size() + 2 && beginsWith(rest, boundary) && rest[boundary.size()] == '-' &&
         rest[boundary.size() + 1] == '-';
}

bool isDelimiterOf(const LineScanner::Line& line, std::string_view boundary) {
  return line.contentLength >= 2 && line.start[0] == '-' && line.start[1] == '-' &&
         beginsWith(std::string_view(line.start + 2, line.contentLength - 2), boundary);
}

// Is the line that would open this part's children, "--B", the enclosing
// part's closing delimiter (B is the enclosing boundary followed by "--")?
// That line closes the enclosing part, which writes it after its last child;
// were it also this part's delimiter, it would open a child here when the
// written text is read again.
bool opensWithEnclosingClose(const OpenPart& part) {
  return part.hasEnclosing && isClosing(part.own, part.enclosing);
}

class Parser {
 public:
  explicit Parser(std::string_view source) : scanner_(source), base_(source.data()) {}

  // True when a line could not be stored for want of memory.
  bool failed() const { return failed_; }

  std::size_t run(MimePart& top, const char* enclosingBoundary) {
    open_.reserve(kMimeMaxDepth + 1);
    MimePart* lastChild = top.firstChild.get();
    while (lastChild && lastChild->nextSibling) lastChild = lastChild->nextSibling.get();
    std::string_view enclosing = enclosingBoundary ? std::string_view(enclosingBoundary) : std::string_view();
    startPart(top, enclosing, enclosingBoundary != nullptr, 0, lastChild);

    LineScanner::Line line;
    while (!open_.empty()) {
      std::size_t lineOffset = scanner_.offset();
      if (!scanner_.next(line)) break;  // the source is exhausted: every open part ends
      OpenPart& current = open_.back();
      switch (current.phase) {
        case Phase::Headers:
          headerLine(current, line);
          break;
        case Phase::Body:
          bodyLine(current, line, lineOffset);
          break;
        case Phase::Epilogue:
          if (isDelimiterOf(line, current.enclosing)) {
            scanner_.rewind(lineOffset);
            open_.pop_back();
          } else if (MimeLine* stored = store(line)) {
            current.part->epilogue.adopt(stored);
          }
          break;
      }
    }
    return scanner_.offset();
  }

 private:
  void startPart(MimePart& part, std::string_view enclosing, bool hasEnclosing, int depth,
                 MimePart* lastChild) {
    part.headers.clear();
    part.contentTypeLine = nullptr;  // it pointed into the lines just released
    part.body.clear();
    part.epilogue.clear();
    open_.push_back({&part, enclosing, hasEnclosing, {}, false, depth, Phase::Headers, lastChild});
  }

  // The line with CR LF as its end: the source's bytes themselves when they
  // end with CR LF there, otherwise a copy with CR LF put in. Null when no
  // memory is left (the parse then stops).
  MimeLine* store(const LineScanner::Line& line) {
    if (line.endLength == 2) return kept(lines_.refer(line.start, line.contentLength + 2));
    MimeLine* stored = kept(lines_.make(line.contentLength + 2));
    if (!stored) return nullptr;
    char* out = MimeLineAllocator::buffer(stored);
    if (line.contentLength) std::memcpy(out, line.start, line.contentLength);
    out[line.contentLength] = '\r';
    out[line.contentLength + 1] = '\n';
    return stored;
  }

  MimeLine* kept(MimeLine* line) {
    if (!line) {
      failed_ = true;
      open_.clear();
    }
    return line;
  }

  void headerLine(OpenPart& current, const LineScanner::Line& first) {
    MimePart& part = *current.part;
    if (first.contentLength == 0) {
      MimeLine* blank = store(first);
      if (!blank) return;  // the parse has stopped; `current` is gone
      part.headers.adopt(blank);
      current.phase = Phase::Body;
      if (part.boundary) current.own = part.boundary.get();
      current.nests = part.boundary && current.depth < kMimeMaxDepth && !opensWithEnclosingClose(current);
      return;
    }
    // A field goes on over every following line that begins with a space or a
    // tab, however long the result; it is stored as one line. Its physical
    // lines follow each other in the source: when each ends with CR LF there,
    // the field is that stretch of the source.
    MimeLine* field;
    if (scanner_.atEnd() || !isBlank(scanner_.peek())) {
      field = store(first);
    } else {
      const char* start = first.start;
      std::size_t total = first.contentLength + 2;
      bool allCrLf = first.endLength == 2;
      LineScanner::Line more;
      while (!scanner_.atEnd() && isBlank(scanner_.peek()) && scanner_.next(more)) {
        total += more.contentLength + 2;
        allCrLf = allCrLf && more.endLength == 2;
      }
      field = allCrLf ? kept(lines_.refer(start, total)) : copyFolded(start, total);
    }
    if (!field) return;
    part.headers.adopt(field);
    std::string_view text(field->text, field->length);
    if (isContentTypeField(text)) {
      part.contentTypeLine = field;
      applyContentType(part, text, scratch_);
    }
  }

  // A folded field from `start` up to where the scanner stands, copied with
  // CR LF after each of its physical lines (`total` bytes in all).
  MimeLine* copyFolded(const char* start, std::size_t total) {
    MimeLine* field = kept(lines_.make(total));
    if (!field) return nullptr;
    char* out = MimeLineAllocator::buffer(field);
    LineScanner pieces(std::string_view(start, scanner_.offset() - static_cast<std::size_t>(start - base_)));
    LineScanner::Line piece;
    while (pieces.next(piece)) {
      if (piece.contentLength) std::memcpy(out, piece.start, piece.contentLength);
      out += piece.contentLength;
      *out++ = '\r';
      *out++ = '\n';
    }
    return field;
  }

  void bodyLine(OpenPart& current, const LineScanner::Line& line, std::size_t lineOffset) {
    MimePart& part = *current.part;
    if (line.contentLength >= 2 && line.start[0] == '-' && line.start[1] == '-') {
      std::string_view rest(line.start + 2, line.contentLength - 2);
      if (current.nests && rest == current.own) {
        auto child = std::make_unique<MimePart>();
        MimePart* added = child.get();
        if (current.lastChild)
          current.lastChild->nextSibling = std::move(child);
        else
          part.firstChild = std::move(child);
        current.lastChild = added;
        // `current` may move when the stack grows; take what the child needs first.
        std::string_view own = current.own;
        int depth = current.depth + 1;
        startPart(*added, own, true, depth, nullptr);
        return;
      }
      // A closing delimiter closes only a part that has opened a child. Before
      // that it is kept as a body line: a part without children writes no
      // delimiters, so taking it away would lose the line (and the epilogue).
      if (current.nests && current.lastChild && isClosing(rest, current.own)) {
        if (!current.hasEnclosing) {
          open_.clear();  // the top part is complete; the rest of the source is not read
        } else {
          current.phase = Phase::Epilogue;
        }
        return;
      }
      if (current.hasEnclosing && beginsWith(rest, current.enclosing)) {
        scanner_.rewind(lineOffset);  // the enclosing part reads this line again
        open_.pop_back();
        return;
      }
    }
    if (MimeLine* stored = store(line)) bodyListFor(current).adopt(stored);
  }

  // Where a body line of a multipart goes. Before the first child: the
  // preamble. After a child, a line that is no delimiter (the child was ended
  // by a line merely beginning with this part's boundary, and what follows it)
  // stays after that child: at the end of the child's body, or of its epilogue
  // when it is a multipart itself. Written back it is in its place again, and
  // reads back into the same place.
  static MimeLineList& bodyListFor(OpenPart& current) {
    MimePart* previous = current.lastChild;
    if (!previous) return current.part->body;
    return previous->firstChild ? previous->epilogue : previous->body;
  }

  LineScanner scanner_;
  const char* base_;
  MimeLineAllocator lines_;
  std::vector<OpenPart> open_;
  std::vector<char> scratch_;
  bool failed_ = false;
};

}  // namespace

std::size_t MimePart::parse(std::string_view source, const char* enclosingBoundary) {
  Parser parser(source);
  std::size_t used = parser.run(*this, enclosingBoundary);
  return parser.failed() ? kMimeNoMemory : used;
}

void MimePart::parse(const char*& cursor, const char* enclosingBoundary) {
  if (!cursor) {
    headers.clear();
    contentTypeLine = nullptr;
    body.clear();
    epilogue.clear();
    return;
  }
  std::size_t used = parse(std::string_view(cursor), enclosingBoundary);
  if (used != kMimeNoMemory) cursor += used;
}

}  // namespace lumo
