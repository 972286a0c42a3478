// The in-memory link record: splitting, filling and formatting one index line.
#include "linkindex/link_record.h"

#include <cstring>

#include "linkindex/message_id_value.h"

namespace lumo {
namespace {

constexpr char kSeparator = '\x01';

std::string_view view(const char* s) { return s == nullptr ? std::string_view{} : std::string_view(s); }

// The whole mail id that field 3 stands for beside folder id `folder`.
std::string wholeMailId(std::string_view folder, std::string_view field3) {
  std::string whole;
  if (field3.empty()) {
    whole.assign(folder);
  } else if (field3.front() == '?') {
    whole.reserve(folder.size() + field3.size());
    whole.assign(folder);
    whole.append(field3);
  } else {
    whole.assign(field3);
  }
  return whole;
}

// Field 3 as written: relative only where that reads back unambiguously.
std::string_view writtenMailId(std::string_view folder, std::string_view mail) {
  if (!folder.empty() && mail.size() >= folder.size() && mail.compare(0, folder.size(), folder) == 0) {
    std::string_view rest = mail.substr(folder.size());
    if (rest.empty() || rest.front() == '?') return rest;
  }
  return mail;
}

}  // namespace

bool breaksIndexLine(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\x01\0", 4)) != std::string_view::npos;
}

void LinkRecord::assign(std::string_view shortcutId, std::string_view folderId, std::string_view mailId,
                        std::string_view messageId, std::string_view location) {
  std::string whole = wholeMailId(folderId, mailId);
  shortcutId_.assign(shortcutId);
  targetFolderId_.assign(folderId);
  targetMailId_ = std::move(whole);
  targetMessageId_.assign(messageId);
  shortcutLocation_.assign(location);
}

int LinkRecord::parseLine(std::string_view line) {
  if (line.size() > kLinkLineMax || line.find_first_of(std::string_view("\n\0", 2)) != std::string_view::npos)
    return 0;
  std::size_t cut[4];
  std::size_t from = 0;
  for (std::size_t& c : cut) {
    c = line.find(kSeparator, from);
    if (c == std::string_view::npos) return 0;
    from = c + 1;
  }
  assign(line.substr(0, cut[0]), line.substr(cut[0] + 1, cut[1] - cut[0] - 1),
         line.substr(cut[1] + 1, cut[2] - cut[1] - 1), line.substr(cut[2] + 1, cut[3] - cut[2] - 1),
         line.substr(cut[3] + 1));
  return 1;
}

int LinkRecord::setFields(const char* shortcutId, const char* targetFolderId, const char* targetMailId,
                          const char* targetMessageId, const char* shortcutLocation) {
  std::string_view fields[] = {view(shortcutId), view(targetFolderId), view(targetMailId),
                               view(targetMessageId), view(shortcutLocation)};
  for (std::string_view f : fields)
    if (breaksIndexLine(f)) return 0;
  assign(fields[0], fields[1], fields[2], fields[3], fields[4]);
  return 1;
}

int LinkRecord::formatLine(char* buffer, std::size_t capacity) const {
  std::string_view mail = writtenMailId(targetFolderId_, targetMailId_);
  if (wholeMailId(targetFolderId_, mail) != targetMailId_) return 0;
  std::string_view fields[] = {shortcutId_, targetFolderId_, mail, targetMessageId_, shortcutLocation_};
  std::size_t length = 4;
  for (std::string_view f : fields) {
    if (breaksIndexLine(f)) return 0;
    length += f.size();
  }
  if (buffer == nullptr || length >= capacity) return 0;
  char* out = buffer;
  for (std::size_t i = 0; i < 5; ++i) {
    if (i > 0) *out++ = kSeparator;
    if (!fields[i].empty()) std::memcpy(out, fields[i].data(), fields[i].size());
    out += fields[i].size();
  }
  *out = '\0';
  return 1;
}

std::string LinkRecord::shortcutMessageId() const {
  return lumo::shortcutMessageId(targetMessageId_, shortcutId_);
}

bool LinkRecord::isShortcutMail(std::string_view mailMessageId) const {
  std::string expected = shortcutMessageId();
  return expected.empty() || expected == mailMessageId;
}

}  // namespace lumo
