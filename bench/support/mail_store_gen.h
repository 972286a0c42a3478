// A generated host store for the benchmarks: five mailboxes of 100 folders
// each (special folders, plain ones, every tenth nested in the one before),
// "Folder.idx" lines as the host writes them, kept on disk between runs; and
// a stand-in host that answers the locator's calls for it.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "host/api/host_api.h"

namespace lumo::bench {

namespace fs = std::filesystem;

inline constexpr int kStoreFolders = 500;
inline constexpr int kStoreMailboxes = 5;

// Folder ids of the store, in the order they are generated.
inline std::vector<std::string> storeFolderIds() {
  const char* boxes[kStoreMailboxes] = {"Main.mb", "Archive.mb", "work.mb", "Lists.mb", "_Old.mb"};
  std::vector<std::string> ids;
  for (const char* box : boxes) {
    std::string mailbox = std::string(box) + "\\";
    ids.push_back(mailbox);
    ids.push_back(mailbox + "!!!!Inbox\\");
    ids.push_back(mailbox + "!Trash\\");
    ids.push_back(mailbox + "!Sent\\");
    std::string parent;
    for (int i = 0; ids.size() % (kStoreFolders / kStoreMailboxes) != 0; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "Folder%03d", i);
      std::string id = (i % 10 == 9 ? parent : mailbox) + name + "\\";
      if (i % 10 != 9) parent = id;
      ids.push_back(id);
    }
  }
  return ids;
}

// The directory of a folder id.
inline fs::path storePathOf(const fs::path& store, const std::string& folderId) {
  fs::path path = store;
  std::string part;
  for (char c : folderId) {
    if (c != '\\') {
      part += c;
    } else {
      path /= part;
      part.clear();
    }
  }
  return path;
}

class StoreLineMaker {
 public:
  std::string messageId(int folder, int mail) {
    char id[96];
    std::snprintf(id, sizeof id, "<%014llu.%05d.%d@mail%02d.example.co.jp>",
                  20240101000000ULL + static_cast<unsigned long long>(pick(9000000)), folder * 100000 + mail,
                  mail % 7, folder % 40);
    return id;
  }
  // One index line as the host writes it: 14 fields, field 13 the read mark.
  std::string line(unsigned key, const std::string& id, const std::string& replyTo) {
    static const char* words[] = {"Re:",      "meeting", "report", "\x89\xef\x8b\x63",
                                  "schedule", "invoice", "update", "\x8a\x6d\x94\x46",
                                  "project",  "weekly",  "notes",  "Fwd:",
                                  "draft",    "release"};
    std::string subject;
    for (int n = 2 + static_cast<int>(pick(6)); n > 0; --n) subject += std::string(words[pick(14)]) + " ";
    char from[64], to[64], date[48], size[16], keyText[16];
    std::snprintf(from, sizeof from, "User %u <user%u@example.com>", pick(1000), pick(1000));
    std::snprintf(to, sizeof to, "me <me%u@example.org>", pick(10));
    std::snprintf(date, sizeof date, "Mon, %02u Jan 2024 %02u:%02u:%02u +0900", 1 + pick(28), pick(24),
                  pick(60), pick(60));
    std::snprintf(size, sizeof size, "%u", 800 + pick(50000));
    std::snprintf(keyText, sizeof keyText, "%08X", key);
    const std::string fields[14] = {
        "0", keyText, id, subject, from, to, date, size, replyTo, "", "3", "0", pick(3) ? "1" : "0", ""};
    std::string text = fields[0];
    for (int i = 1; i < 14; ++i) text += '\x01' + fields[i];
    return text;
  }

 private:
  unsigned pick(unsigned n) { return static_cast<unsigned>(random_() % n); }
  std::mt19937 random_{20240101};
};

// Lines added to a folder's index after its generated mails: called with the
// folder's number and id, the next free key and the index text so far.
using ExtraLines =
    std::function<void(std::size_t folder, const std::string& folderId, unsigned nextKey, std::string& text)>;

// Makes the store of `mails` generated mails unless a finished one is there
// (a file "complete" marks it).
inline void makeStore(const fs::path& store, int mails, const ExtraLines& extra = {}) {
  fs::path stamp = store / "complete";
  if (fs::exists(stamp)) return;
  std::printf("generating %d mails in %d folders into %s ...\n", mails, kStoreFolders,
              store.string().c_str());
  std::fflush(stdout);
  fs::remove_all(store);
  StoreLineMaker maker;
  std::vector<std::string> ids = storeFolderIds();
  for (std::size_t f = 0; f < ids.size(); ++f) {
    fs::path dir = storePathOf(store, ids[f]);
    fs::create_directories(dir);
    std::string text, previous;
    int count = mails / kStoreFolders;
    for (int m = 0; m < count; ++m) {
      std::string id = maker.messageId(static_cast<int>(f), m);
      // Half the mails answer the mail before them in the folder.
      text += maker.line(static_cast<unsigned>(m + 1), id, m % 2 ? previous : "") + "\r\n";
      previous = id;
    }
    if (extra) extra(f, ids[f], static_cast<unsigned>(count + 1), text);
    std::ofstream(dir / "Folder.idx", std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
    std::ofstream(dir / "Folder.ini", std::ios::binary) << "[Settings]\r\nName=" << ids[f] << "\r\n";
  }
  if (std::system("sync") != 0) std::fprintf(stderr, "sync failed\n");
  std::ofstream(stamp) << mails << "\n";
}

inline std::vector<fs::path> storeIndexFiles(const fs::path& store) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(store))
    if (entry.is_regular_file() && entry.path().filename() == "Folder.idx") files.push_back(entry.path());
  return files;
}

inline double megabytes(const std::vector<fs::path>& files) {
  std::uintmax_t total = 0;
  for (const auto& f : files) total += fs::file_size(f);
  return static_cast<double>(total) / 1e6;
}

// Drops every file of the tree from the page cache, so that the next run
// reads it from disk.
inline void evict(const fs::path& store) {
  for (const auto& entry : fs::recursive_directory_iterator(store)) {
    if (!entry.is_regular_file()) continue;
    int fd = ::open(entry.path().c_str(), O_RDONLY);
    if (fd < 0) continue;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
  }
}

// The host's answers for the locator: the data folder, folder names (the id
// itself), a status bar that shows nothing, and a mail's header holding its
// own Message-ID (field 3 of its index line), which the locator asks for each
// line that holds a searched Message-ID.
inline std::string& benchDataFolder() {
  static std::string data;
  return data;
}

// A mail's Message-ID by its key, from one folder's index read when a header
// of that folder is first asked for: a search asks folder by folder, so one
// folder is held at a time. The generated keys count the lines, so a key
// leads straight to its line; any other line is looked for.
struct BenchHeaders {
  std::string folderId;
  std::string text;
  std::vector<std::size_t> lineStarts;

  bool headerOf(const std::string& mailId, std::string& header) {
    std::size_t mark = mailId.find('?');
    if (mark == std::string::npos) return false;
    std::string folder = mailId.substr(0, mark + 1);
    if (folder != folderId) load(folder);
    const std::string key = mailId.substr(mark + 1);
    const std::size_t guess = std::strtoul(key.c_str(), nullptr, 16) - 1;
    if (guess < lineStarts.size() && messageIdOfLine(guess, key, header)) return true;
    for (std::size_t i = 0; i < lineStarts.size(); ++i)
      if (messageIdOfLine(i, key, header)) return true;
    return false;
  }
  // Field 3 of line `i` as a header, when its field 2 is `key`.
  bool messageIdOfLine(std::size_t i, const std::string& key, std::string& header) const {
    std::size_t end = text.find('\n', lineStarts[i]);
    std::string_view line(text.data() + lineStarts[i],
                          (end == std::string::npos ? text.size() : end) - lineStarts[i]);
    std::size_t first = line.find('\x01');
    std::size_t second = first == std::string_view::npos ? first : line.find('\x01', first + 1);
    if (second == std::string_view::npos || line.substr(first + 1, second - first - 1) != key) return false;
    std::size_t third = line.find('\x01', second + 1);
    if (third == std::string_view::npos) third = line.size();
    header = "Message-ID: " + std::string(line.substr(second + 1, third - second - 1)) + "\r\n\r\n";
    return true;
  }
  void load(const std::string& folder) {
    folderId = folder;
    fs::path data = benchDataFolder().substr(0, benchDataFolder().size() - 1);
    std::ifstream in(storePathOf(data, folder) / "Folder.idx", std::ios::binary | std::ios::ate);
    text.resize(in ? static_cast<std::size_t>(in.tellg()) : 0);
    in.seekg(0);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    lineStarts.clear();
    for (std::size_t at = 0; at < text.size();) {
      lineStarts.push_back(at);
      std::size_t end = text.find('\n', at);
      at = end == std::string::npos ? text.size() : end + 1;
    }
  }
};

inline BenchHeaders& benchHeaders() {
  static BenchHeaders headers;
  return headers;
}

inline void installStoreHost(const fs::path& store) {
  benchDataFolder() = store.string() + "\\";
  benchHeaders() = BenchHeaders{};
  lumo::HostApi.BKA_GetDataFolder = [](void) WINAPI -> LPCSTR { return benchDataFolder().c_str(); };
  lumo::HostApi.BKA_GetFolderDisplayName = [](LPCSTR id) WINAPI -> LPCSTR { return id; };
  lumo::HostApi.BKA_SetMessageText = [](HWND, LPCSTR) WINAPI {};
  lumo::HostApi.BKA_GetHeader = [](LPCSTR id) WINAPI -> LPSTR {
    std::string header;
    if (id == nullptr || !benchHeaders().headerOf(id, header)) return nullptr;
    char* block = static_cast<char*>(std::malloc(header.size() + 1));
    if (block != nullptr) std::memcpy(block, header.c_str(), header.size() + 1);
    return block;
  };
  lumo::HostApi.BKA_Free = [](LPVOID block) WINAPI { std::free(block); };
}

}  // namespace lumo::bench
