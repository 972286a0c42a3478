// Portable profile (INI) file functions. Reads parse the whole file afresh on
// every call; writes splice the one changed line into the file's bytes and
// replace the file atomically.
#include "platform/profile_file.h"

#include <cstring>

#include "platform/file.h"
#include "text/ascii_case.h"
#include "text/c_string.h"
#include "text/cp932.h"

namespace lumo::platform {
namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

// Blanks as the profile readers see them: ASCII white space, plus Ctrl-Z
// (the old DOS end-of-file mark, found in files copied from old media).
bool isBlank(char ch) {
  auto c = static_cast<unsigned char>(ch);
  return c == ' ' || (c >= 0x09 && c <= 0x0d) || c == 0x1a;
}

bool isBreak(char ch) { return ch == '\r' || ch == '\n'; }

std::string_view withoutLeadingBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view trimmed(std::string_view text) {
  text = withoutLeadingBlanks(text);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Names and values are C strings to the readers: a zero byte ends them.
std::string cutAtZero(std::string_view text) { return std::string(untilNul(text)); }

std::size_t bodyStart(std::string_view bytes) { return bytes.substr(0, 3) == Utf8Mark ? 3 : 0; }

// A file starting with a UTF-16 byte order mark holds 16-bit text, which these
// byte-oriented functions neither read nor write.
bool isUtf16(std::string_view bytes) {
  return bytes.size() >= 2 &&
         ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

// Where the first line break after a line's content ends: CR LF counts as one
// break, a lone CR or LF as one; the rest of a longer run stays (blank lines).
std::size_t afterFirstBreak(std::string_view bytes, std::size_t contentEnd) {
  if (contentEnd >= bytes.size()) return contentEnd;
  if (bytes.substr(contentEnd, 2) == "\r\n") return contentEnd + 2;
  return contentEnd + 1;
}

struct Loaded {
  ReadStatus status = ReadStatus::Missing;
  std::string bytes;
  std::vector<ProfileSection> sections;
};

Loaded load(const char* path) {
  Loaded loaded;
  if (path == nullptr || *path == '\0') {
    loaded.status = ReadStatus::Failed;
    return loaded;
  }
  loaded.status = readFile(path, loaded.bytes);
  if (loaded.status == ReadStatus::Ok && !isUtf16(loaded.bytes)) loaded.sections = parseProfile(loaded.bytes);
  if (loaded.sections.empty()) loaded.sections.push_back(ProfileSection{});
  return loaded;
}

// The first section of the name counts; a later duplicate is not searched.
const ProfileSection* findSection(const std::vector<ProfileSection>& sections, std::string_view name) {
  for (const ProfileSection& section : sections)
    if (equalsNoCase(section.name, name)) return &section;
  return nullptr;
}

const ProfileEntry* findEntry(const ProfileSection& section, std::string_view name) {
  for (const ProfileEntry& entry : section.entries)
    if (equalsNoCase(entry.name, name)) return &entry;
  return nullptr;
}

// Trailing spaces (only spaces) of a default are dropped, but never its first
// byte.
std::string_view defaultText(const char* defaultValue) {
  std::string_view text = defaultValue ? defaultValue : "";
  while (text.size() > 1 && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Copies a value or default into the caller's buffer (size >= 1), without a
// pair of enclosing quotes. When the buffer is exactly one byte short of the
// unquoted text and its closing quote, the copy loses its last byte as well:
// the readers cut the closing quote from what they copied, not from the value.
std::uint32_t copyEntry(char* buffer, std::uint32_t size, std::string_view value) {
  bool quoted = false;
  if (!value.empty() && (value[0] == '\'' || value[0] == '"') && value.size() > 1 &&
      value.back() == value[0]) {
    quoted = true;
    value.remove_prefix(1);
  }
  std::size_t n = value.size() < size - 1 ? value.size() : size - 1;
  if (quoted && size >= value.size() && n > 0) --n;
  std::size_t whole = quoted ? value.size() - 1 : value.size();
  if (n < whole) n = cp932CutLength(value, n);
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<std::uint32_t>(n);
}

std::uint32_t copyPlain(char* buffer, std::uint32_t size, std::string_view value) {
  std::size_t n = value.size() < size - 1 ? value.size() : size - 1;
  if (n < value.size()) n = cp932CutLength(value, n);
  std::memcpy(buffer, value.data(), n);
  buffer[n] = '\0';
  return static_cast<std::uint32_t>(n);
}

std::uint32_t getString(const char* section, const char* key, const char* defaultValue, char* buffer,
                        std::uint32_t size, const char* path) {
  if (buffer == nullptr || size == 0) return 0;
  // Lists of names (a null section or key) are never asked for: nothing.
  if (section == nullptr || key == nullptr) {
    buffer[0] = '\0';
    return 0;
  }
  std::string_view fallback = defaultText(defaultValue);
  Loaded loaded = load(path);
  if (loaded.status == ReadStatus::Failed) return copyPlain(buffer, size, fallback);
  const ProfileSection* found = findSection(loaded.sections, trimmed(section));
  const ProfileEntry* entry = found ? findEntry(*found, trimmed(key)) : nullptr;
  return copyEntry(buffer, size, entry && entry->hasValue ? std::string_view(entry->value) : fallback);
}

// Reads a number the way the readers' integer conversion does (see the
// declaration of profileGetInt).
std::uint32_t parseNumber(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::uint32_t base = 10;
  if (text.size() >= 2 && text[0] == '0') {
    if (text[1] == 'b')
      base = 2;
    else if (text[1] == 'o')
      base = 8;
    else if (text[1] == 'x')
      base = 16;
    if (base != 10) text.remove_prefix(2);
  }
  std::uint32_t total = 0;
  for (char ch : text) {
    std::uint32_t digit;
    if (ch >= '0' && ch <= '9')
      digit = static_cast<std::uint32_t>(ch - '0');
    else if (ch >= 'A' && ch <= 'Z')
      digit = static_cast<std::uint32_t>(ch - 'A' + 10);
    else if (ch >= 'a' && ch <= 'z')
      digit = static_cast<std::uint32_t>(ch - 'a' + 10);
    else
      break;
    if (digit >= base) break;
    total = total * base + digit;
  }
  return negative ? 0u - total : total;
}

// The file's bytes with [from, to) replaced by `text`.
std::string spliced(std::string_view bytes, std::size_t from, std::size_t to, std::string_view text) {
  std::string out;
  out.reserve(bytes.size() + text.size());
  out.append(bytes.substr(0, from));
  out.append(text);
  out.append(bytes.substr(to));
  return out;
}

// Where a new key of the section goes: after its last entry, or after its
// header, or at the very start for the headerless first section. `needsBreak`
// tells that the line there ends the file without a line break.
std::size_t insertionPoint(std::string_view bytes, const ProfileSection& section, bool& needsBreak) {
  std::size_t contentEnd;
  if (!section.entries.empty())
    contentEnd = section.entries.back().contentEnd;
  else if (section.hasHeader)
    contentEnd = section.contentEnd;
  else
    return section.begin;
  needsBreak = contentEnd >= bytes.size();
  return afterFirstBreak(bytes, contentEnd);
}

bool setValue(const Loaded& loaded, const char* section, const char* key, const char* value,
              std::string& out) {
  std::string_view bytes = loaded.bytes;
  std::string_view sectionName = trimmed(section);
  std::string_view keyName = trimmed(key);
  std::string_view text = withoutLeadingBlanks(value);
  // A section or key made anew keeps trailing blanks of its name as given;
  // readers ignore them.
  std::string_view newSection = withoutLeadingBlanks(section);
  std::string_view newKey = withoutLeadingBlanks(key);

  const ProfileSection* found = findSection(loaded.sections, sectionName);
  if (found == nullptr) {
    out.assign(bytes);
    if (!out.empty() && !isBreak(out.back()) && out.size() > bodyStart(bytes)) out += "\r\n";
    out.append("[").append(newSection).append("]\r\n");
    out.append(newKey).append("=").append(text).append("\r\n");
    return true;
  }
  if (const ProfileEntry* entry = findEntry(*found, keyName)) {
    if (entry->hasValue && entry->value == text) return false;
    std::string line = entry->name + "=" + std::string(text) + "\r\n";
    out = spliced(bytes, entry->begin, afterFirstBreak(bytes, entry->contentEnd), line);
    return true;
  }
  bool needsBreak = false;
  std::size_t at = insertionPoint(bytes, *found, needsBreak);
  std::string line = needsBreak ? "\r\n" : "";
  line.append(newKey).append("=").append(text).append("\r\n");
  out = spliced(bytes, at, at, line);
  return true;
}

}  // namespace

std::vector<ProfileSection> parseProfile(std::string_view bytes) {
  std::vector<ProfileSection> sections(1);
  std::size_t pos = bodyStart(bytes);
  sections[0].begin = sections[0].contentEnd = sections[0].end = pos;
  bool previousNameEmpty = false;  // the section's last entry has an empty name
  while (pos < bytes.size()) {
    std::size_t lineBegin = pos;
    while (pos < bytes.size() && !isBreak(bytes[pos])) ++pos;
    std::size_t contentEnd = pos;
    while (pos < bytes.size() && isBreak(bytes[pos])) ++pos;
    std::string_view line = trimmed(bytes.substr(lineBegin, contentEnd - lineBegin));
    if (line.empty()) continue;

    if (line.front() == '[') {
      std::size_t close = line.rfind(']');
      if (close != std::string_view::npos) {
        ProfileSection section;
        section.name = cutAtZero(trimmed(line.substr(1, close - 1)));
        section.hasHeader = true;
        section.begin = lineBegin;
        section.contentEnd = contentEnd;
        section.end = pos;
        sections.push_back(std::move(section));
        previousNameEmpty = false;
        continue;
      }
    }

    ProfileEntry entry;
    std::string_view name = line;
    std::size_t equals = line.find('=');
    if (equals != std::string_view::npos) {
      name = trimmed(line.substr(0, equals));
      entry.hasValue = true;
      entry.value = cutAtZero(trimmed(line.substr(equals + 1)));
    }
    // A line with nothing before its "=" is kept unless the entry before it
    // in the section also has an empty name.
    if (name.empty() && previousNameEmpty) continue;
    entry.name = cutAtZero(name);
    previousNameEmpty = entry.name.empty();
    entry.begin = lineBegin;
    entry.contentEnd = contentEnd;
    entry.end = pos;
    sections.back().entries.push_back(std::move(entry));
  }
  return sections;
}

std::string wholesaleLayout(std::string_view bytes) {
  std::string out(bytes.substr(0, bodyStart(bytes)));
  for (const ProfileSection& section : parseProfile(bytes)) {
    if (!section.name.empty()) out.append("[").append(section.name).append("]\r\n");
    for (const ProfileEntry& entry : section.entries) {
      out += entry.name;
      if (entry.hasValue) out.append("=").append(entry.value);
      out += "\r\n";
    }
  }
  return out;
}

std::uint32_t profileGetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                               std::uint32_t size, const char* path) {
  return getString(section, key, defaultValue, buffer, size, path);
}

std::uint32_t profileGetInt(const char* section, const char* key, int defaultValue, const char* path) {
  char value[30];
  if (getString(section, key, "", value, sizeof value, path) == 0)
    return static_cast<std::uint32_t>(defaultValue);
  return parseNumber(value);
}

bool profileWriteString(const char* section, const char* key, const char* value, const char* path) {
  // Deleting a key or a section (a null value or key) is never asked for.
  if (section == nullptr || key == nullptr || value == nullptr) return false;
  Loaded loaded = load(path);
  if (loaded.status == ReadStatus::Failed || isUtf16(loaded.bytes)) return false;
  std::string out;
  if (!setValue(loaded, section, key, value, out)) return true;
  return replaceFile(path, out);
}

}  // namespace lumo::platform
