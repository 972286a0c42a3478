// Composing the MEMO display message with the MIME tree: the MEMO part is
// added under the target's own boundary, or under a "multipart/mixed" wrapper.
#include "shortcut/memo_display.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "mime/mime_part.h"
#include "text/ascii_case.h"
#include "text/c_string.h"

namespace lumo {
namespace {

constexpr std::string_view kWrapperContentType =
    "Content-Type: multipart/mixed; boundary=\"----[00EXX2000X09X28BB-MULTIPART-MIXED]\"\r\n";
constexpr std::string_view kWrapperPreamble = "This is a multi-part message in MIME format.\r\n";
constexpr std::string_view kMemoPartHeaders[] = {
    "Content-Type:text/plain;charset=\"ISO-2022-JP\"; name=\"MEMO.txt\"\r\n",
    "Content-Transfer-Encoding:7bit\r\n",
    "Content-Disposition: inline; filename=\"MEMO.txt\"\r\n",
};
constexpr std::string_view kCrLf = "\r\n";

std::string_view textOf(const MimeLine* line) { return {line->text, line->length}; }

bool isBlankLine(const MimeLine* line) { return line != nullptr && textOf(line) == kCrLf; }

void setType(MimePart& part, const char* type, const char* subtype) {
  std::strncpy(part.type, type, kMimeTypeMax);
  std::strncpy(part.subtype, subtype, kMimeTypeMax);
}

bool isMultipart(const MimePart& part) {
  std::string_view type = part.type;
  return part.boundary != nullptr && type.size() == 9 && startsWithNoCase(type, "multipart");
}

// Text written after a part whose header block never ended would be read as
// more header fields of it. Only the last part of a source can be cut like
// that: the deepest one along the chain of last children.
void endOpenHeaderBlock(MimePart& top) {
  MimePart* part = &top;
  while (part->firstChild) {
    part = part->firstChild.get();
    while (part->nextSibling) part = part->nextSibling.get();
  }
  if (!isBlankLine(part->headers.tail)) part->headers.append(kCrLf);
}

std::unique_ptr<MimePart> makeMemoPart(std::string_view memo) {
  auto part = std::make_unique<MimePart>();
  for (std::string_view field : kMemoPartHeaders) part->headers.append(field);
  part->contentTypeLine = part->headers.head;
  part->headers.append(kCrLf);
  setType(*part, "text", "plain");
  std::string text;
  text.reserve(memo.size() + kCrLf.size());
  text.append(memo).append(kCrLf);
  part->body.append(text);
  return part;
}

// `parent` has at least one child.
void appendLastChild(MimePart& parent, std::unique_ptr<MimePart> child) {
  MimePart* last = parent.firstChild.get();
  while (last->nextSibling) last = last->nextSibling.get();
  last->setNextSibling(std::move(child));
}

// Moves every header field of `inner` that does not begin with "Content-" to
// `wrapper`, puts the wrapper's own Content-Type where the inner part's stood
// (before the empty line when it had none), and ends both header blocks.
void wrap(MimePart& wrapper, std::unique_ptr<MimePart> inner) {
  bool placed = false;
  for (MimeLine* line = inner->headers.head; line != nullptr;) {
    MimeLine* next = line->next;
    if (line == inner->contentTypeLine) {
      wrapper.contentTypeLine = wrapper.headers.append(kWrapperContentType);
      placed = true;
    }
    if (!isBlankLine(line) && !startsWithNoCase(textOf(line), "content-"))
      wrapper.headers.adopt(inner->headers.unlink(line));
    line = next;
  }
  if (!placed) wrapper.contentTypeLine = wrapper.headers.append(kWrapperContentType);
  wrapper.headers.append(kCrLf);
  setType(wrapper, "multipart", "mixed");
  wrapper.setBoundary(kMemoWrapperBoundary);
  wrapper.body.append(kWrapperPreamble);
  if (!isBlankLine(inner->headers.tail)) inner->headers.append(kCrLf);
  wrapper.firstChild = std::move(inner);
}

// An empty (invalid) text when no memory is left for the copy.
MimeText copyOf(std::string_view text) {
  std::unique_ptr<char[]> bytes(new (std::nothrow) char[text.size() + 2]);
  if (!bytes) return MimeText();
  if (!text.empty()) std::memcpy(bytes.get(), text.data(), text.size());
  bytes[text.size()] = '\0';
  bytes[text.size() + 1] = '\0';
  return MimeText(std::move(bytes), text.size());
}

// The tree's text, or nothing when no memory was left for it.
std::optional<MimeText> written(const MimePart& top) {
  MimeText text = top.toText();
  if (!text.valid()) return std::nullopt;
  return text;
}

}  // namespace

std::optional<std::string_view> memoText(std::string_view shortcutSource) {
  std::string_view source = untilNul(shortcutSource);
  std::size_t body = 0;
  if (source.substr(0, 2) != kCrLf) {
    std::size_t emptyLine = source.find("\r\n\r\n");
    if (emptyLine == std::string_view::npos) return std::nullopt;
    body = emptyLine + 2;
  }
  std::size_t marker = source.find(kMemoMarker, body);
  if (marker == std::string_view::npos) return std::nullopt;
  return source.substr(marker + kMemoMarker.size());
}

std::optional<std::string_view> memoTextOfShownText(std::string_view shownText) {
  std::string_view text = untilNul(shownText);
  std::size_t marker = text.find(kMemoMarker);
  if (marker == std::string_view::npos) return std::nullopt;
  return text.substr(marker + kMemoMarker.size());
}

std::optional<MimeText> composeMemoDisplay(std::string_view targetSource, std::string_view memo) {
  // The tree refers to `targetSource`, which outlives it: both end here.
  auto target = std::make_unique<MimePart>();
  if (target->parse(untilNul(targetSource)) == kMimeNoMemory) return std::nullopt;
  if (isMultipart(*target) && !target->firstChild) return std::nullopt;
  std::unique_ptr<MimePart> memoPart = makeMemoPart(untilNul(memo));
  if (isMultipart(*target)) {
    endOpenHeaderBlock(*target);
    appendLastChild(*target, std::move(memoPart));
    return written(*target);
  }
  MimePart wrapper;
  wrap(wrapper, std::move(target));
  endOpenHeaderBlock(wrapper);
  appendLastChild(wrapper, std::move(memoPart));
  return written(wrapper);
}

MimeText memoDisplayText(std::string_view targetSource, std::string_view shortcutSource) {
  std::optional<std::string_view> memo = memoText(shortcutSource);
  std::optional<MimeText> composed;
  if (memo) composed = composeMemoDisplay(targetSource, *memo);
  return composed ? std::move(*composed) : copyOf(untilNul(targetSource));
}

}  // namespace lumo
