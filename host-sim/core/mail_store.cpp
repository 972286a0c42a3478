// The substitute host's mail store on disk (see mail_store.h).
#include "host-sim/core/mail_store.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

#include "host-sim/core/mail_text.h"
#include "text/cp932.h"

namespace fs = std::filesystem;

namespace lumo::hostsim {
namespace {

constexpr char kSep = '\x01';
constexpr int kFieldCount = 14;  // 13 separators: field 13 carries the read mark

std::vector<std::string> splitFields(const std::string& line) {
  // Whole fields at a time: a Subject of megabytes stands in one line. A
  // damaged line of many thousand separators keeps the rest in field 14.
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t sep = line.find(kSep); sep != std::string::npos && fields.size() + 1 < kFieldCount;
       sep = line.find(kSep, start)) {
    fields.push_back(line.substr(start, sep - start));
    start = sep + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

// The entry of one index line; none for a line that names no mail.
std::optional<IndexEntry> entryOf(const std::string& line) {
  auto fields = splitFields(line);
  if (fields.size() < 2 || fields[1].empty()) return std::nullopt;
  IndexEntry entry;
  entry.key = fields[1];
  if (fields.size() > 2) entry.messageId = fields[2];
  if (fields.size() > 3) entry.subject = fields[3];
  entry.read = fields.size() > 12 && !fields[12].empty() && fields[12].back() == '1';
  return entry;
}

// Whether field 2 of an index line is `key`, read in place.
bool lineHasKey(const std::string& line, const std::string& key) {
  std::size_t first = line.find(kSep);
  if (first == std::string::npos) return false;
  std::size_t second = line.find(kSep, first + 1);
  std::size_t length = (second == std::string::npos ? line.size() : second) - first - 1;
  return length == key.size() && line.compare(first + 1, length, key) == 0;
}

// A folder id's names, split at its separators as the host reads them in
// code page 932: the second byte of "ソ" or "表" is 0x5C but separates
// nothing, so such a name is one directory.
std::vector<std::string> folderNames(const std::string& id) {
  std::vector<std::string> names;
  std::size_t start = 0;
  for (std::size_t end = findCp932Separator(id); end != std::string::npos;
       start = end + 1, end = findCp932Separator(id, start))
    names.push_back(id.substr(start, end - start));
  if (start < id.size()) names.push_back(id.substr(start));
  return names;
}

// The last separator of `id` (npos when none).
std::size_t lastSeparator(const std::string& id) {
  std::size_t last = std::string::npos;
  for (std::size_t at = findCp932Separator(id); at != std::string::npos; at = findCp932Separator(id, at + 1))
    last = at;
  return last;
}

bool validFolderId(const std::string& id) {
  if (id.size() < 2 || id.front() == '\\' || lastSeparator(id) != id.size() - 1) return false;
  if (id.find('?') != std::string::npos || id.find('/') != std::string::npos) return false;
  std::vector<std::string> names = folderNames(id);
  // No empty name, and none that climbs out of the store.
  for (const std::string& name : names)
    if (name.empty() || name == "." || name == "..") return false;
  return names.front().size() > 3 && names.front().ends_with(".mb");
}

}  // namespace

// Read into a string of the file's size: a stream copy would stop quietly
// where memory ran out and hand back a cut mail; this throws std::bad_alloc.
std::optional<std::string> readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  std::streamoff size = in.tellg();
  if (size < 0 || !in.seekg(0)) return std::nullopt;
  std::string data(static_cast<std::size_t>(size), '\0');
  if (size > 0 && !in.read(data.data(), size)) return std::nullopt;
  return data;
}

bool writeFile(const fs::path& path, const std::string& data) {
  fs::path temp = path;
  temp += ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!out.flush()) return false;
  }
  std::error_code ec;
  fs::rename(temp, path, ec);
  return !ec;
}

MailStore::MailStore(fs::path dataFolder) : root_(fs::absolute(std::move(dataFolder))) {}

std::string MailStore::dataFolderText() const {
  std::string text = root_.generic_string();
  while (!text.empty() && (text.back() == '/' || text.back() == '\\')) text.pop_back();
  return text + "\\";
}

fs::path MailStore::folderPath(const std::string& folderId) const {
  fs::path path = root_;
  for (const std::string& name : folderNames(folderId))
    if (!name.empty()) path /= name;
  return path;
}

std::string MailStore::folderOf(const std::string& mailId) {
  std::size_t q = mailId.find('?');
  return q == std::string::npos ? mailId : mailId.substr(0, q);
}

std::string MailStore::keyOf(const std::string& mailId) {
  std::size_t q = mailId.find('?');
  return q == std::string::npos ? std::string() : mailId.substr(q + 1);
}

bool MailStore::addFolder(const std::string& folderId, const std::string& displayName, bool ignoreUnread) {
  if (!validFolderId(folderId)) return false;
  // The parent must exist unless this is a mailbox.
  std::string parent = folderId.substr(0, folderId.size() - 1);
  std::size_t cut = lastSeparator(parent);
  if (cut != std::string::npos && !folderExists(parent.substr(0, cut + 1))) return false;
  std::error_code ec;
  fs::path dir = folderPath(folderId);
  fs::create_directories(dir, ec);
  if (ec) return false;
  if (!fs::exists(dir / "Folder.idx") && !writeFile(dir / "Folder.idx", "")) return false;
  std::string ini =
      "[Settings]\r\nName=" + displayName + "\r\nIgnoreUnread=" + (ignoreUnread ? "1" : "0") + "\r\n";
  return writeFile(dir / "Folder.ini", ini);
}

bool MailStore::folderExists(const std::string& folderId) const {
  return validFolderId(folderId) && fs::is_directory(folderPath(folderId));
}

std::vector<std::string> MailStore::folders() const {
  std::vector<std::string> result;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root_, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (!it->is_directory()) continue;
    std::string id;
    for (const auto& part : fs::relative(it->path(), root_)) id += part.string() + "\\";
    if (validFolderId(id)) result.push_back(id);
  }
  std::sort(result.begin(), result.end());
  return result;
}

std::string MailStore::displayName(const std::string& folderId) const {
  if (!folderExists(folderId)) return {};
  auto ini = readFile(folderPath(folderId) / "Folder.ini");
  if (ini) {
    std::istringstream lines(*ini);
    std::string line;
    while (std::getline(lines, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.rfind("Name=", 0) == 0 && line.size() > 5) return line.substr(5);
    }
  }
  // Without a name the directory's own name stands, "!" marks removed.
  std::string dir = folderId.substr(0, folderId.size() - 1);
  std::size_t cut = lastSeparator(dir);
  dir = dir.substr(cut == std::string::npos ? 0 : cut + 1);
  dir.erase(0, dir.find_first_not_of('!'));
  return dir;
}

std::string MailStore::indexLine(const std::string& key, const std::string& source, bool read) {
  std::string fields[kFieldCount] = {"0",
                                     key,
                                     indexField(headerValue(source, "Message-ID")),
                                     indexField(headerValue(source, "Subject")),
                                     indexField(headerValue(source, "From")),
                                     indexField(headerValue(source, "To")),
                                     indexField(headerValue(source, "Date")),
                                     std::to_string(source.size()),
                                     indexField(headerValue(source, "In-Reply-To")),
                                     "",
                                     "3",
                                     "0",
                                     read ? "1" : "0",
                                     ""};
  std::string line;
  for (int i = 0; i < kFieldCount; ++i) {
    if (i) line += kSep;
    line += fields[i];
  }
  return line;
}

std::vector<std::string> MailStore::indexLines(const std::string& folderId) const {
  std::vector<std::string> lines;
  auto data = readFile(folderPath(folderId) / "Folder.idx");
  if (!data) return lines;
  std::size_t pos = 0;
  while (pos < data->size()) {
    std::size_t eol = data->find('\n', pos);
    std::string line = data->substr(pos, eol == std::string::npos ? std::string::npos : eol - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    if (eol == std::string::npos) break;
    pos = eol + 1;
  }
  return lines;
}

bool MailStore::writeIndex(const std::string& folderId, const std::vector<std::string>& lines) const {
  std::string data;
  for (const auto& line : lines) data += line + "\r\n";
  return writeFile(folderPath(folderId) / "Folder.idx", data);
}

std::vector<IndexEntry> MailStore::index(const std::string& folderId) const {
  std::vector<IndexEntry> entries;
  for (const auto& line : indexLines(folderId))
    if (auto entry = entryOf(line)) entries.push_back(*entry);
  return entries;
}

std::vector<std::string> MailStore::mailIds(const std::string& folderId) const {
  std::vector<std::string> ids;
  for (const auto& entry : index(folderId)) ids.push_back(folderId + "?" + entry.key);
  return ids;
}

std::optional<IndexEntry> MailStore::entry(const std::string& mailId) const {
  // Only the line of the key is split: every look-up of a mail reads its
  // folder's index, and a month of real mail makes thousands of them.
  std::string key = keyOf(mailId);
  if (key.empty()) return std::nullopt;
  for (const auto& line : indexLines(folderOf(mailId)))
    if (lineHasKey(line, key)) return entryOf(line);
  return std::nullopt;
}

std::string MailStore::nextKey(const std::string& folderId) const {
  // Field 2 of every index line, read in place: a store of many thousand
  // mails takes one append after another.
  unsigned long highest = 0;
  std::string data = readFile(folderPath(folderId) / "Folder.idx").value_or("");
  for (std::size_t pos = 0; pos < data.size();) {
    std::size_t eol = data.find('\n', pos);
    if (eol == std::string::npos) eol = data.size();
    std::size_t first = data.find(kSep, pos);
    if (first < eol) {
      std::size_t second = std::min(data.find(kSep, first + 1), eol);
      std::string key = data.substr(first + 1, second - first - 1);
      if (!key.empty() && key.back() == '\r') key.pop_back();
      highest = std::max(highest, std::strtoul(key.c_str(), nullptr, 16));
    }
    pos = eol + 1;
  }
  std::error_code ec;
  for (const auto& file : fs::directory_iterator(folderPath(folderId), ec))
    if (file.path().extension() == ".eml")
      highest = std::max(highest, std::strtoul(file.path().stem().string().c_str(), nullptr, 16));
  char key[16];
  std::snprintf(key, sizeof key, "%08lX", highest + 1);
  return key;
}

std::string MailStore::append(const std::string& folderId, const std::string& source, bool read) {
  if (!folderExists(folderId)) return {};
  std::string key = nextKey(folderId);
  fs::path dir = folderPath(folderId);
  if (!writeFile(dir / (key + ".eml"), source)) return {};
  // The new line goes at the end of the index; a last line left without its
  // line end gets one first.
  fs::path index = dir / "Folder.idx";
  std::string line = indexLine(key, source, read) + "\r\n";
  {
    std::ifstream in(index, std::ios::binary | std::ios::ate);
    if (in && in.tellg() > 0) {
      in.seekg(-1, std::ios::end);
      if (in.get() != '\n') line.insert(0, "\r\n");
    }
  }
  std::ofstream out(index, std::ios::binary | std::ios::app);
  if (!out.write(line.data(), static_cast<std::streamsize>(line.size())) || !out.flush()) return {};
  return folderId + "?" + key;
}

std::optional<std::string> MailStore::source(const std::string& mailId) const {
  std::string key = keyOf(mailId);
  std::string folder = folderOf(mailId);
  if (key.empty() || !folderExists(folder) || key.find_first_of("/\\.") != std::string::npos)
    return std::nullopt;
  if (!entry(mailId)) return std::nullopt;
  return readFile(folderPath(folder) / (key + ".eml"));
}

bool MailStore::setSource(const std::string& mailId, const std::string& text) {
  auto old = entry(mailId);
  if (!old) return false;
  std::string folder = folderOf(mailId);
  if (!writeFile(folderPath(folder) / (old->key + ".eml"), text)) return false;
  auto lines = indexLines(folder);
  for (auto& line : lines) {
    auto fields = splitFields(line);
    if (fields.size() > 1 && fields[1] == old->key) line = indexLine(old->key, text, old->read);
  }
  return writeIndex(folder, lines);
}

std::string MailStore::transfer(const std::string& mailId, const std::string& folderId, bool copy) {
  auto text = source(mailId);
  auto old = entry(mailId);
  if (!text || !old || !folderExists(folderId)) return {};
  std::string moved = append(folderId, *text, old->read);
  if (moved.empty()) return {};
  if (!copy) remove(mailId);
  return moved;
}

bool MailStore::remove(const std::string& mailId) {
  std::string key = keyOf(mailId);
  std::string folder = folderOf(mailId);
  if (!entry(mailId)) return false;
  auto lines = indexLines(folder);
  std::erase_if(lines, [&](const std::string& line) {
    auto fields = splitFields(line);
    return fields.size() > 1 && fields[1] == key;
  });
  std::error_code ec;
  fs::remove(folderPath(folder) / (key + ".eml"), ec);
  return writeIndex(folder, lines);
}

bool MailStore::setRead(const std::string& mailId, bool read) {
  std::string key = keyOf(mailId);
  std::string folder = folderOf(mailId);
  auto lines = indexLines(folder);
  bool found = false;
  for (auto& line : lines) {
    auto fields = splitFields(line);
    if (fields.size() > 12 && fields[1] == key && !fields[12].empty()) {
      fields[12].back() = read ? '1' : '0';
      line.clear();
      for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? std::string(1, kSep) : "") + fields[i];
      found = true;
    }
  }
  return found && writeIndex(folder, lines);
}

}  // namespace lumo::hostsim
