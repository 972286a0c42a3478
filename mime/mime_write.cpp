// Writing a tree of MIME parts back into one text.
//
// The tree is walked twice with an explicit stack (no recursion per level):
// once to count the bytes, once to copy them into a buffer of exactly that
// size, so the text is built without regrowing or copying it again.
#include <cstring>
#include <new>
#include <vector>

#include "mime/mime_part.h"

namespace lumo {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kDashes = "--";

// Did this part end inside its header block (no blank line, nothing after)? A
// parsed part does that only when the source ended there. Writing a closing
// delimiter after such a part would turn it into one more header line of the
// part when the text is read again, so it is left out.
bool endsInHeaders(const MimePart& part) {
  if (part.body.head) return false;
  const MimeLine* last = part.headers.tail;
  return !last || last->length != 2 || last->text[0] != '\r' || last->text[1] != '\n';
}

class CountSink {
 public:
  void put(std::string_view text) { size_ += text.size(); }
  void put(const MimeLineList& lines) {
    for (const MimeLine* line = lines.head; line; line = line->next) size_ += line->length;
  }
  std::size_t size() const { return size_; }

 private:
  std::size_t size_ = 0;
};

class CopySink {
 public:
  explicit CopySink(char* out) : out_(out) {}
  void put(std::string_view text) {
    std::memcpy(out_, text.data(), text.size());
    out_ += text.size();
  }
  void put(const MimeLineList& lines) {
    for (const MimeLine* line = lines.head; line; line = line->next) {
      std::memcpy(out_, line->text, line->length);
      out_ += line->length;
    }
  }

 private:
  char* out_;
};

template <typename Sink>
void writePart(const MimePart& top, Sink& sink) {
  struct Open {
    const MimePart* part;
    const MimePart* nextChild;
    bool lastChildOpen;
  };
  std::vector<Open> open;
  sink.put(top.headers);
  sink.put(top.body);
  open.push_back({&top, top.firstChild.get(), false});
  while (!open.empty()) {
    Open& current = open.back();
    std::string_view boundary = current.part->boundary ? current.part->boundary.get() : "";
    if (const MimePart* child = current.nextChild) {
      current.nextChild = child->nextSibling.get();
      sink.put(kDashes);
      sink.put(boundary);
      sink.put(kCrLf);
      sink.put(child->headers);
      sink.put(child->body);
      open.push_back({child, child->firstChild.get(), false});
      continue;
    }
    const MimePart& part = *current.part;
    bool partOpen = false;
    if (part.firstChild) {
      partOpen = current.lastChildOpen;
      if (!partOpen) {
        sink.put(kDashes);
        sink.put(boundary);
        sink.put(kDashes);
        sink.put(kCrLf);
      }
      sink.put(part.epilogue);
    } else {
      partOpen = endsInHeaders(part);
    }
    open.pop_back();
    if (!open.empty()) open.back().lastChildOpen = partOpen;
  }
}

}  // namespace

MimeText MimePart::toText() const {
  CountSink count;
  writePart(*this, count);
  std::size_t length = count.size();
  if (length > static_cast<std::size_t>(-1) - 2) return MimeText();
  std::unique_ptr<char[]> text(new (std::nothrow) char[length + 2]);
  if (!text) return MimeText();
  CopySink copy(text.get());
  writePart(*this, copy);
  text[length] = '\0';
  text[length + 1] = '\0';
  return MimeText(std::move(text), length);
}

}  // namespace lumo
