// Fuzz target for the shortcut format: reading any header stays within the
// text and its bounds; a shortcut composed from any target header reads back
// its own values; the MEMO display of any target holds the MEMO text, and
// without a MEMO section is the target unchanged.
//
// Input: the shortcut's header or source, optionally followed by a line
// "%%%%" and a target mail's source; without that line the input serves as
// both.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "linkindex/message_id_value.h"
#include "shortcut/memo_display.h"
#include "shortcut/shortcut_reader.h"
#include "shortcut/shortcut_source.h"
#include "text/c_string.h"
#include "text/id_limits.h"

namespace {

void fail(const char* what) {
  std::fprintf(stderr, "shortcut_fuzz: %s\n", what);
  std::abort();
}

bool breaksLine(std::string_view value) { return value.find_first_of("\r\n") != std::string_view::npos; }

void checkValue(const std::optional<std::string>& value, std::size_t max, const char* what) {
  if (value && (value->empty() || value->size() > max || breaksLine(*value))) fail(what);
}

void readHeader(std::string_view header) {
  std::optional<lumo::ShortcutIdValue> id = lumo::readShortcutId(header);
  if (id) {
    if (!lumo::isShortcutHeader(header)) fail("an id read from a header that is no shortcut");
    if (id->id.empty() || id->id.size() > lumo::kShortcutIdValueMax || breaksLine(id->id))
      fail("shortcut id out of bounds");
  }
  std::optional<std::string> any = lumo::headerFieldValue(header, "Subject");
  if (any && (breaksLine(*any) || any->size() > header.size())) fail("field value breaks a line");
  lumo::ShortcutTarget target = lumo::readShortcutTarget(header);
  checkValue(target.mailId, lumo::kIdMax, "mail id out of bounds");
  checkValue(target.messageId, lumo::kIdMax, "Message-ID out of bounds");
  checkValue(target.folderId, lumo::kTargetFolderIdMax, "folder id out of bounds");
  std::optional<std::string> fallback = lumo::readFallbackId(header);
  checkValue(fallback, lumo::kShortcutIdValueMax, "fallback id out of bounds");
  (void)lumo::readMemoOn(header);
}

// A shortcut composed from any target header reads back what it was made with.
void composeAndReadBack(std::string_view targetHeader) {
  lumo::ShortcutSource out;
  if (!lumo::composeShortcutSource(targetHeader, "a.mb\\Inbox\\?1", 1, {}, out)) fail("composing refused");
  std::optional<lumo::ShortcutIdValue> id = lumo::readShortcutId(out.source);
  if (!id || id->givenUp || id->id != out.shortcutId) fail("shortcut id does not read back");
  if (lumo::readFallbackId(out.source) != out.shortcutId) fail("fallback id does not read back");
  if (lumo::readMemoOn(out.source)) fail("a new shortcut has its MEMO on");
  lumo::ShortcutTarget target = lumo::readShortcutTarget(out.source);
  if (target.mailId != "a.mb\\Inbox\\?1" || target.folderId != "a.mb\\Inbox\\")
    fail("target does not read back");
  if (!out.targetMessageId.empty() && out.targetMessageId.size() <= lumo::kIdMax &&
      target.messageId != out.targetMessageId)
    fail("Message-ID does not read back");
  if (breaksLine(out.targetMessageId)) fail("Message-ID value breaks a line");
  // The own Message-ID is the one readers search for, or there is none.
  std::string own = lumo::shortcutMessageId(out.targetMessageId, out.shortcutId);
  std::optional<std::string> written = lumo::headerFieldValue(out.source, "Message-ID");
  if (own.empty() ? written.has_value() : written != own)
    fail("own Message-ID differs from the searched one");
}

void showMemo(std::string_view shortcutSource, std::string_view targetSource) {
  std::optional<std::string_view> memo = lumo::memoText(shortcutSource);
  lumo::MimeText shown = lumo::memoDisplayText(targetSource, shortcutSource);
  if (shown.c_str()[shown.size()] != '\0') fail("display text not NUL-terminated");
  // A multipart target without a part of its own takes no MEMO part.
  if (!memo || !lumo::composeMemoDisplay(targetSource, *memo)) {
    if (shown.view() != lumo::untilNul(targetSource)) fail("display without MEMO differs from the target");
    return;
  }
  std::string part = "filename=\"MEMO.txt\"\r\n\r\n";
  part.append(*memo).append("\r\n");
  if (shown.view().find(part) == std::string_view::npos) fail("display lacks the MEMO text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view shortcut = input;
  std::string_view target = input;
  std::size_t split = input.find("\n%%%%\n");
  if (split != std::string_view::npos) {
    shortcut = input.substr(0, split + 1);
    target = input.substr(split + 6);
  }
  readHeader(shortcut);
  composeAndReadBack(target);
  showMemo(shortcut, target);
  return 0;
}
