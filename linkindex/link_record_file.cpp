// The link record's operations on the index file: append, find, update, store.
// A lookup by shortcut id reads the file piece by piece (scanLinesOf); the
// other operations map the whole file and scan it in place without per-line
// copies. Changes are written through a crash-safe replacement.
#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "linkindex/index_lines.h"
#include "linkindex/link_record.h"
#include "linkindex/shortcut_id.h"
#include "platform/file.h"

namespace lumo {
namespace {

std::string_view textOf(const char* s) { return s == nullptr ? std::string_view{} : std::string_view(s); }

// Maps the index for scanning. A missing file reads as empty; 0 when it
// cannot be read.
int openIndex(const char* indexPath, platform::FileView& view) {
  if (indexPath == nullptr) return 0;
  return view.open(indexPath) == platform::ReadStatus::Failed ? 0 : 1;
}

// A change to one line found while scanning: the line is left out or replaced.
struct LineEdit {
  const char* at;    // where the line starts in the scanned text
  std::string text;  // the new line; empty: the line is removed
};

// What becomes of a line of the shortcut id being changed.
enum class LineChange { Keep, Replace, Remove };

// Walks the usable lines of `id`: each is parsed into `record`, then
// `decide()` says what becomes of it (setting the record's fields first when
// it replaces it); a replaced line is formatted from the record. `matched`
// tells whether any line had the id. 0 when such a line does not parse or its
// new form does not fit.
template <typename Decide>
int editLinesOf(std::string_view content, std::string_view id, LinkRecord& record, Decide decide,
                std::vector<LineEdit>& edits, bool& matched) {
  matched = false;
  IndexLines lines(content);
  IndexLine line;
  while (lines.nextOf(id, line)) {
    if (!line.usable()) continue;
    matched = true;
    if (!record.parseLine(line.text)) return 0;
    LineChange change = decide();
    if (change == LineChange::Keep) continue;
    if (change == LineChange::Remove) {
      edits.push_back({line.raw.data(), std::string()});
      continue;
    }
    char formatted[kLinkLineCapacity];
    if (!record.formatLine(formatted, sizeof formatted)) return 0;
    edits.push_back({line.raw.data(), formatted});
  }
  return 1;
}

// Rewrites the index with the edits applied, crash-safely. The scanned view
// is let go before the new file takes the old one's place (a mapped file
// cannot be replaced on every system).
int rewriteWithEdits(const char* indexPath, platform::FileView& view, const std::vector<LineEdit>& edits) {
  platform::FileReplacement out(indexPath);
  if (!out.ok()) return 0;
  IndexWriter writer(out);
  std::size_t next = 0;
  IndexLines lines(view.bytes());
  IndexLine line;
  while (lines.next(line)) {
    if (next < edits.size() && edits[next].at == line.raw.data()) {
      if (!edits[next].text.empty()) writer.add(edits[next].text);
      ++next;
      continue;
    }
    writer.keep(line);
  }
  if (!writer.finish()) return 0;
  view.close();
  return out.commit() ? 1 : 0;
}

}  // namespace

int LinkRecord::appendTo(const char* indexPath) const {
  if (indexPath == nullptr || !isShortcutId(shortcutId_)) return 0;
  char line[kLinkLineCapacity + 2];
  if (!formatLine(line, kLinkLineCapacity)) return 0;
  std::size_t length = std::strlen(line);
  line[length] = '\r';
  line[length + 1] = '\n';
  return platform::appendFileOnNewLine(indexPath, std::string_view(line, length + 2)) ? 1 : 0;
}

int LinkRecord::findIn(const char* indexPath, const char* key, LinkFindKind kind) {
  return findIn(indexPath, key, kind, nullptr);
}

int LinkRecord::findIn(const char* indexPath, const char* key, LinkFindKind kind,
                       const std::function<bool(const LinkRecord&)>& accept) {
  std::string_view wanted = textOf(key);
  int k = static_cast<int>(kind);
  if (wanted.empty() || wanted.size() > kLinkLineMax || k < 0 || k > 5) return 0;
  if (wanted.find('\n') != std::string_view::npos) return 0;
  if (kind == LinkFindKind::ByShortcutId) {
    if (!isShortcutId(wanted)) return 0;
    bool found = false;
    scanLinesOf(indexPath, wanted, [&](std::string_view text) {
      found = parseLine(text) && (!accept || accept(*this));
      return !found;
    });
    return found ? 1 : 0;
  }
  platform::FileView view;
  if (!openIndex(indexPath, view)) return 0;
  const std::string_view content = view.bytes();

  // Every other line that can match holds the needle somewhere: jump from one
  // occurrence to the next and look only at the lines they fall in. A mail id
  // may be stored relative to its folder id ("?key"), so for mail ids the
  // needle is the key from its last "?", which both forms contain.
  std::string_view needle = wanted;
  if (kind == LinkFindKind::ByMailId || kind == LinkFindKind::ByMailIdOrLocation) {
    std::size_t mark = wanted.rfind('?');
    if (mark != std::string_view::npos) needle = wanted.substr(mark);
  }
  const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
  const char* const begin = content.data();
  const char* const end = begin + content.size();
  const char* from = begin;
  while (from < end) {
    const char* hit = std::search(from, end, searcher);
    if (hit == end) return 0;
    const char* lineBegin = hit;
    while (lineBegin != begin && lineBegin[-1] != '\n') --lineBegin;
    const void* lf = std::memchr(hit, '\n', static_cast<std::size_t>(end - hit));
    if (lf == nullptr) return 0;  // text after the last line end never matches
    const char* lineEnd = static_cast<const char*>(lf);
    from = lineEnd + 1;
    IndexLine line;
    if (!IndexLines(std::string_view(lineBegin, static_cast<std::size_t>(from - lineBegin))).next(line))
      continue;
    if (!line.usable() || !parseLine(line.text)) continue;
    bool match = false;
    switch (kind) {
      case LinkFindKind::ByMessageId:
        match = targetMessageId_ == wanted;
        break;
      case LinkFindKind::ByFolderId:
        match = targetFolderId_ == wanted;
        break;
      case LinkFindKind::ByMailId:
        match = targetMailId_ == wanted;
        break;
      case LinkFindKind::ByLocation:
        match = shortcutLocation_ == wanted;
        break;
      case LinkFindKind::ByMailIdOrLocation:
        match = targetMailId_ == wanted || shortcutLocation_ == wanted;
        break;
      case LinkFindKind::ByShortcutId:
        break;
    }
    if (match && (!accept || accept(*this))) return 1;
  }
  return 0;
}

int LinkRecord::updateIn(const char* indexPath, const char* shortcutId, const char* value,
                         LinkUpdateField field) {
  std::string_view id = textOf(shortcutId);
  std::string_view newValue = field == LinkUpdateField::Remove ? std::string_view{} : textOf(value);
  int f = static_cast<int>(field);
  if (!isShortcutId(id) || f < 1 || f > 5 || breaksIndexLine(newValue)) return 0;
  platform::FileView view;
  if (!openIndex(indexPath, view)) return 0;
  const std::string_view content = view.bytes();

  std::string* target = nullptr;  // the field to set; none: the line is removed
  switch (field) {
    case LinkUpdateField::SetFolderId:
      target = &targetFolderId_;
      break;
    case LinkUpdateField::SetMailId:
      target = &targetMailId_;
      break;
    case LinkUpdateField::SetMessageId:
      target = &targetMessageId_;
      break;
    case LinkUpdateField::SetLocation:
      target = &shortcutLocation_;
      break;
    case LinkUpdateField::Remove:
      break;
  }
  auto decide = [&] {
    if (target == nullptr) return LineChange::Remove;
    if (*target == newValue) return LineChange::Keep;  // this line already holds the value
    target->assign(newValue);
    return LineChange::Replace;
  };
  std::vector<LineEdit> edits;
  bool matched = false;
  if (!editLinesOf(content, id, *this, decide, edits, matched)) return 0;
  if (!matched) return 1;
  if (edits.empty()) return 0;
  return rewriteWithEdits(indexPath, view, edits);
}

int LinkRecord::storeIn(const char* indexPath, const char* shortcutId, const char* targetFolderId,
                        const char* targetMailId, const char* targetMessageId, const char* shortcutLocation,
                        int appendIfMissing) {
  bool owned = true;
  return storeOwnedIn(indexPath, shortcutId, targetFolderId, targetMailId, targetMessageId, shortcutLocation,
                      appendIfMissing, nullptr, owned);
}

int LinkRecord::storeOwnedIn(const char* indexPath, const char* shortcutId, const char* targetFolderId,
                             const char* targetMailId, const char* targetMessageId,
                             const char* shortcutLocation, int appendIfMissing,
                             const std::function<bool(const LinkRecord&)>& owns, bool& owned) {
  owned = true;
  std::string_view id = textOf(shortcutId);
  if (!isShortcutId(id)) return 0;
  // One read of the index gives the lines of the id; they are usually one,
  // and usually in step already, so most calls write nothing.
  std::vector<std::string> lines;
  const platform::ReadStatus read = scanLinesOf(indexPath, id, [&](std::string_view text) {
    lines.emplace_back(text);
    return true;
  });
  if (read == platform::ReadStatus::Failed) return 0;
  if (owns) {
    for (const std::string& text : lines) {
      if (!parseLine(text)) continue;
      owned = owns(*this);
      break;
    }
  }
  if (!owned) return 0;
  const char* values[] = {targetFolderId, targetMailId, targetMessageId, shortcutLocation};
  for (const char* v : values)
    if (breaksIndexLine(textOf(v))) return 0;

  std::string* const fields[] = {&targetFolderId_, &targetMailId_, &targetMessageId_, &shortcutLocation_};
  auto decide = [&] {
    bool same = true;
    for (int i = 0; i < 4; ++i) {
      if (values[i] == nullptr || *fields[i] == values[i]) continue;
      same = false;
      fields[i]->assign(values[i]);
    }
    return same ? LineChange::Keep : LineChange::Replace;
  };
  bool inStep = true;
  for (const std::string& text : lines) {
    if (!parseLine(text)) return 0;
    if (decide() == LineChange::Replace) inStep = false;
  }
  auto append = [&] {
    if (appendIfMissing != 1) return 0;
    if (!setFields(shortcutId, targetFolderId, targetMailId, targetMessageId, shortcutLocation)) return 0;
    return appendTo(indexPath);
  };
  if (lines.empty()) return append();
  if (inStep) return 1;  // the lines already hold the values

  // A line changes: the index is mapped and its lines of the id edited
  // anew, as the file stands now, for the rewrite.
  platform::FileView view;
  if (!openIndex(indexPath, view)) return 0;
  std::vector<LineEdit> edits;
  bool matched = false;
  if (!editLinesOf(view.bytes(), id, *this, decide, edits, matched)) return 0;
  if (!edits.empty()) return rewriteWithEdits(indexPath, view, edits);
  if (matched) return 1;
  view.close();
  return append();
}

}  // namespace lumo

namespace lumo {

int LinkRecord::removeLinksOf(const char* indexPath, std::span<const DeletedShortcut> mails) {
  // Sorted by id, so that each line finds the mails of its id at once.
  std::vector<const DeletedShortcut*> byId;
  for (const DeletedShortcut& mail : mails)
    if (isShortcutId(mail.shortcutId)) byId.push_back(&mail);
  if (byId.empty()) return 1;
  auto idLess = [](const DeletedShortcut* a, const DeletedShortcut* b) {
    return a->shortcutId < b->shortcutId;
  };
  std::sort(byId.begin(), byId.end(), idLess);
  platform::FileView view;
  if (!openIndex(indexPath, view)) return 0;

  std::vector<LineEdit> edits;
  LinkRecord record;
  IndexLines lines(view.bytes());
  IndexLine line;
  while (lines.next(line)) {
    if (!line.usable()) continue;
    DeletedShortcut probe{std::string(line.text.substr(0, line.text.find('\x01'))), {}};
    auto [first, last] = std::equal_range(byId.begin(), byId.end(), &probe, idLess);
    if (first == last || !record.parseLine(line.text)) continue;
    if (std::any_of(first, last,
                    [&](const DeletedShortcut* mail) { return record.isShortcutMail(mail->messageId); }))
      edits.push_back({line.raw.data(), std::string()});
  }
  if (edits.empty()) return 1;
  return rewriteWithEdits(indexPath, view, edits);
}

}  // namespace lumo
