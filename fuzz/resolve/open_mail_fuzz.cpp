// Fuzz target for opening a mail: OnOpenMail (what BKC_OnOpenMail forwards
// to) runs against a host made of plain function pointers, whose store is a
// data folder made once per process in /dev/shm or the temporary folder.
// Nothing outside that folder is read or written.
//
// Input: byte 0 gives the answers of the message boxes (bit i answers the
// i-th box: 1 OK, 0 Cancel; a ninth box gets Cancel), byte 1 sets the host's
// ways (see the Flag constants), and the rest is split at "\n%%%%\n" into
// the opened mail's source, the target's source, the link index and the
// Folder.idx of the target's folder "Box.mb\Inbox\" (missing parts are
// empty).
//
// Aborts when a promise is broken: every text handed to the host is
// NUL-terminated within its block (the address sanitizer checks the bounds),
// BKA_SetSource shows only under "TEMP", header values hold no line break,
// only the known commands are issued, the selection goes only to the trash
// folder; afterwards the link index lines of other shortcuts are as they
// were and every line written parses, the Folder.idx kept its length and
// changed at most one read mark from "0" to "1", no other file was left in
// the data folder, and the remembered target id is NUL-terminated.
#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/api/host_api.h"
#include "host/api/module_state.h"
#include "linkindex/link_record.h"
#include "resolve/open_mail.h"
#include "shortcut/session_state.h"
#include "shortcut/shortcut_reader.h"

namespace {

void fail(const char* what) {
  std::fprintf(stderr, "open_mail_fuzz: %s\n", what);
  std::abort();
}

// Byte 1 of the input.
constexpr unsigned kFlagOtherHeaders = 1;    // mails other than the opened one have the target's header
constexpr unsigned kFlagMainWindow = 2;      // the host gives a main window holding the mail view editor
constexpr unsigned kFlagEditorReadOnly = 4;  // that editor is read-only (not being edited)
constexpr unsigned kFlagCreationPending = 8;
constexpr unsigned kFlagNoIndexFile = 16;    // the link index file is missing (its part is ignored)
constexpr unsigned kFlagTargetAtOneId = 32;  // only kTargetMailId is the target, else every other id

const char* const kOpenedMailId = "Box.mb\\Links\\?1";
const char* const kTargetMailId = "Box.mb\\Inbox\\?1";
const char* const kTrashFolderId = "Box.mb\\!Trash\\";

// The data folder, made once per process and removed at its exit.
struct DataFolder {
  std::string path;  // ends in "/"
  DataFolder() {
    // In memory where the system offers it: the index is rewritten with
    // fsync, which on a disk would bound the speed of the whole run.
    std::error_code noShm;
    std::filesystem::path base = std::filesystem::is_directory("/dev/shm", noShm)
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    std::string pattern = (base / "lumo-open-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) fail("cannot make the data folder");
    path = pattern + "/";
    for (const char* folder : {"Box.mb/Inbox", "Box.mb/Links", "Box.mb/!Trash"})
      std::filesystem::create_directories(path + folder);
  }
  ~DataFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  DataFolder(const DataFolder&) = delete;
  DataFolder& operator=(const DataFolder&) = delete;
  static DataFolder& instance() {
    static DataFolder folder;
    return folder;
  }
  std::string indexPath() const { return path + "lumo.idx"; }
  std::string folderIndexPath() const { return path + "Box.mb/Inbox/Folder.idx"; }
};

// What the host answers during one run, and what it was told.
struct FakeHost {
  std::string openedSource, openedHeader, shownText, targetSource, targetHeader;
  unsigned flags = 0;
  unsigned answers = 0;
  int boxes = 0;
  // Texts the host hands out and keeps: exact-size blocks, so that reading
  // past their end is caught.
  std::vector<std::unique_ptr<char[]>> kept;

  // Whether the mail under this id (not the opened one) is the target.
  bool holdsTarget(std::string_view mailId) const {
    if (targetSource.empty()) return false;
    return !(flags & kFlagTargetAtOneId) || mailId == kTargetMailId;
  }

  const char* keep(std::string_view text) {
    kept.push_back(std::make_unique<char[]>(text.size() + 1));
    std::memcpy(kept.back().get(), text.data(), text.size());
    kept.back()[text.size()] = '\0';
    return kept.back().get();
  }
};

FakeHost* host = nullptr;

// The header block of a source: up to the first empty line, or all of it.
std::string_view headerOf(std::string_view source) {
  for (std::size_t at = 0; at < source.size();) {
    std::size_t end = source.find('\n', at);
    if (end == std::string_view::npos) break;
    std::string_view line = source.substr(at, end - at);
    if (line.empty() || line == "\r") return source.substr(0, at);
    at = end + 1;
  }
  return source;
}

std::string_view bodyOf(std::string_view source) { return source.substr(headerOf(source).size()); }

// A C string the plug-in passes: the sanitizer checks that its end lies in bounds.
std::string_view checked(const char* text, const char* what) {
  if (!text) fail(what);
  return std::string_view(text, std::strlen(text));
}

char* heapCopy(std::string_view text) {
  auto* block = static_cast<char*>(std::malloc(text.size() + 1));
  if (!block) return nullptr;
  std::memcpy(block, text.data(), text.size());
  block[text.size()] = '\0';
  return block;
}

void bindFakeHost() {
  using lumo::HostApi;
  HostApi = lumo::HostApiTable{};
  HostApi.BKA_GetDataFolder = []() WINAPI -> LPCSTR { return DataFolder::instance().path.c_str(); };
  HostApi.BKA_GetCurrentMailBox = []() WINAPI -> LPCSTR { return "Box.mb\\"; };
  HostApi.BKA_GetCurrentFolder = []() WINAPI -> LPCSTR { return "Box.mb\\Links\\"; };
  HostApi.BKA_GetFolderDisplayName = [](LPCSTR folderId) WINAPI -> LPCSTR {
    checked(folderId, "display name of no folder");
    return "Folder";
  };
  HostApi.BKA_SetMessageText = [](HWND, LPCSTR text) WINAPI { checked(text, "status text null"); };
  HostApi.BKA_GetWindowHandles = [](HWND* main, HWND* tree, HWND* list, HWND* view) WINAPI -> BOOL {
    HWND window = (host->flags & kFlagMainWindow) ? reinterpret_cast<HWND>(std::uintptr_t{0x100}) : nullptr;
    if (main) *main = window;
    if (tree) *tree = nullptr;
    if (list) *list = nullptr;
    if (view) *view = nullptr;
    return TRUE;
  };
  HostApi.BKA_Command = [](HWND, LPCSTR command) WINAPI {
    std::string_view name = checked(command, "command null");
    if (name != "SetRead" && name != "EditMode") fail("unknown command issued");
  };
  HostApi.BKA_MoveSelectedMessages = [](LPCSTR folderId, BOOL copy) WINAPI -> BOOL {
    if (checked(folderId, "move to no folder") != kTrashFolderId || copy) fail("selection moved elsewhere");
    return TRUE;
  };
  HostApi.BKA_GetHeader = [](LPCSTR mailId) WINAPI -> LPSTR {
    std::string_view id = checked(mailId, "header of no mail");
    if (id == kOpenedMailId) return heapCopy(host->openedHeader);
    if ((host->flags & kFlagOtherHeaders) && host->holdsTarget(id)) return heapCopy(host->targetHeader);
    return nullptr;
  };
  HostApi.BKA_GetSource = [](LPCSTR mailId) WINAPI -> LPSTR {
    std::string_view id = checked(mailId, "source of no mail");
    if (id == kOpenedMailId) return const_cast<char*>(host->keep(host->openedSource));
    if (!host->holdsTarget(id)) return nullptr;
    return const_cast<char*>(host->keep(host->targetSource));
  };
  HostApi.BKA_GetText = [](LPSTR mimeType, int size) WINAPI -> LPSTR {
    if (mimeType && size > 0) std::snprintf(mimeType, static_cast<std::size_t>(size), "text/plain");
    return const_cast<char*>(host->keep(host->shownText));
  };
  HostApi.BKA_SetSource = [](LPCSTR mailId, LPCSTR source) WINAPI {
    if (checked(mailId, "source for no mail") != "TEMP") fail("a mail's source was replaced");
    checked(source, "null source shown");
    std::free(const_cast<char*>(source));  // the block is the host's now
  };
  HostApi.BKA_SetSpecifiedHeader = [](LPCSTR name, LPCSTR value) WINAPI {
    std::string_view field = checked(name, "header name null");
    std::string_view text = checked(value, "header value null");
    if (field != "X-LuMOID" && field != "X-MailID" && field != "X-FolderID" && field != "X-Message-ID" &&
        field != "X-MEMO")
      fail("unknown header written");
    if (text.find_first_of("\r\n") != std::string_view::npos) fail("header value breaks a line");
  };
  HostApi.BKA_Alloc = [](DWORD size) WINAPI -> LPVOID { return std::malloc(size ? size : 1); };
  HostApi.BKA_ReAlloc = [](LPVOID block, DWORD size)
                            WINAPI -> LPVOID { return std::realloc(block, size ? size : 1); };
  HostApi.BKA_Free = [](LPVOID block) WINAPI { std::free(block); };
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) fail("cannot write a store file");
}

// The index text as its readers see it: lines end at LF (one CR before it is
// no part of the line) and empty lines are dropped when the file is
// rewritten; text after the last LF is an unfinished line.
struct IndexText {
  std::multiset<std::string_view> lines;
  std::string_view unfinished;

  explicit IndexText(std::string_view text) {
    for (std::size_t end; (end = text.find('\n')) != std::string_view::npos; text.remove_prefix(end + 1)) {
      std::string_view line = text.substr(0, end);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (!line.empty()) lines.insert(line);
    }
    unfinished = text;
  }
};

// Control bytes shown as <xx>, for the report of a broken promise.
void printVisible(const char* label, std::string_view text) {
  std::fprintf(stderr, "%s: ", label);
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte >= 0x7f)
      std::fprintf(stderr, "<%02x>", byte);
    else
      std::fputc(byte, stderr);
  }
  std::fputc('\n', stderr);
}

// The first field of an index line.
std::string_view firstField(std::string_view line) { return line.substr(0, line.find('\x01')); }

// The index afterwards holds the lines of other shortcuts that it held (an
// unfinished last line as it was, or ended); the lines of the opened
// shortcut's ids (`own`) may change, and every line written parses.
void checkLinkIndex(std::string_view before, std::string_view after, const std::set<std::string>& own) {
  if (after == before) return;
  IndexText old(before), now(after);
  const char* broken = nullptr;
  if (!now.unfinished.empty() && now.unfinished != old.unfinished) broken = "an unfinished line was written";
  if (!old.unfinished.empty() && now.unfinished.empty()) {
    // Ended before a new line was appended: now a line like the others.
    old.lines.insert(old.unfinished);
    old.unfinished = {};
  }
  for (std::string_view line : now.lines) {
    if (auto kept = old.lines.find(line); kept != old.lines.end()) {
      old.lines.erase(kept);
      continue;
    }
    lumo::LinkRecord record;
    if (!record.parseLine(line))
      broken = "a written index line does not parse";
    else if (!own.count(std::string(firstField(line))))
      broken = "a line of another shortcut was written";
  }
  for (std::string_view line : old.lines)
    if (!own.count(std::string(firstField(line)))) broken = "a line of another shortcut was lost";
  if (!broken) return;
  printVisible("index before", before);
  printVisible("index after", after);
  fail(broken);
}

void checkFolderIndex(std::string_view before, std::string_view after) {
  if (before.size() != after.size()) fail("Folder.idx changed its length");
  int changed = 0;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i] == after[i]) continue;
    if (before[i] != '0' || after[i] != '1' || ++changed > 1) fail("Folder.idx changed beyond one read mark");
  }
}

void listFiles(const std::filesystem::path& dir, std::set<std::string>& files) {
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
    files.insert(std::filesystem::relative(entry.path(), dir).string());
}

}  // namespace

// The user interface functions the plug-in calls, served by the loading
// program on Linux.
extern "C" int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
  checked(text, "message box without text");
  checked(caption, "message box without caption");
  if ((type & MB_TYPEMASK) != MB_OKCANCEL) return IDOK;
  int box = host->boxes++;
  return box < 8 && ((host->answers >> box) & 1) ? IDOK : IDCANCEL;
}

extern "C" BOOL EnumChildWindows(HWND, WNDENUMPROC proc, LPARAM param) {
  proc(reinterpret_cast<HWND>(std::uintptr_t{0x200}), param);
  return TRUE;
}

extern "C" int GetClassNameA(HWND, LPSTR className, int size) {
  if (!className || size <= 0) return 0;
  int written = std::snprintf(className, static_cast<std::size_t>(size), "Edit");
  return written < size ? written : size - 1;
}

extern "C" int GetDlgCtrlID(HWND) { return 114; }

extern "C" LONG GetWindowLongA(HWND, int index) {
  return index == GWL_STYLE && (host->flags & kFlagEditorReadOnly) ? ES_READONLY : 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  DataFolder& folder = DataFolder::instance();
  FakeHost run;
  run.answers = data[0];
  run.flags = data[1];
  std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  std::string_view parts[4];
  for (int i = 0; i < 4 && !rest.empty(); ++i) {
    std::size_t split = i < 3 ? rest.find("\n%%%%\n") : std::string_view::npos;
    if (split == std::string_view::npos) {
      parts[i] = rest;
      break;
    }
    parts[i] = rest.substr(0, split);
    rest.remove_prefix(split + 6);
  }
  // The host's texts end at their first NUL, as C strings do.
  auto cText = [](std::string_view text) { return std::string(text.substr(0, text.find('\0'))); };
  run.openedSource = cText(parts[0]);
  run.openedHeader = std::string(headerOf(run.openedSource));
  run.shownText = std::string(bodyOf(run.openedSource));
  run.targetSource = cText(parts[1]);
  run.targetHeader = std::string(headerOf(run.targetSource));
  host = &run;
  bindFakeHost();

  const std::string indexPath = folder.indexPath();
  std::filesystem::remove(indexPath);
  if (!(run.flags & kFlagNoIndexFile)) writeFile(indexPath, parts[2]);
  writeFile(folder.folderIndexPath(), parts[3]);
  if (indexPath.size() >= sizeof lumo::LinkIndexPath) fail("temporary folder path too long");
  std::memcpy(lumo::LinkIndexPath, indexPath.c_str(), indexPath.size() + 1);
  lumo::CreationPending = (run.flags & kFlagCreationPending) ? 1 : 0;
  lumo::SelectedTargetId[0] = '\0';
  lumo::ShortcutOpened = 0;
  lumo::MemoOpened = 0;
  lumo::MailViewEditor = nullptr;
  lumo::EditRefusalCount = 0;
  std::set<std::string> filesBefore;
  listFiles(folder.path, filesBefore);

  if (lumo::OnOpenMail(kOpenedMailId) != 0) fail("BKC_OnOpenMail gave other than 0");

  if (!std::memchr(lumo::SelectedTargetId, '\0', sizeof lumo::SelectedTargetId))
    fail("remembered target id not NUL-terminated");
  // The ids whose lines this open may write: the shortcut's own, or the one
  // its "Content-Type" keeps when its headers were lost.
  std::set<std::string> own;
  if (auto id = lumo::readShortcutId(run.openedHeader)) own.insert(id->id);
  if (auto id = lumo::readFallbackId(run.openedHeader)) own.insert(*id);
  checkLinkIndex((run.flags & kFlagNoIndexFile) ? std::string_view() : parts[2], readFile(indexPath), own);
  checkFolderIndex(parts[3], readFile(folder.folderIndexPath()));
  std::set<std::string> filesAfter;
  listFiles(folder.path, filesAfter);
  filesAfter.insert("lumo.idx");  // may be made when missing
  filesBefore.insert("lumo.idx");
  if (filesAfter != filesBefore) fail("a file was left in the data folder");
  lumo::HostApi = lumo::HostApiTable{};
  host = nullptr;
  return 0;
}
