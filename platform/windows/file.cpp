// File operations on Windows: CreateFileA with explicit sharing, flushed
// writes, and MoveFileExA for atomic replacement.
#include "platform/file.h"

#include "platform/win32.h"

namespace lumo::platform {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (ok()) CloseHandle(h_);
  }
  HANDLE get() const { return h_; }
  bool ok() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  bool close() {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return h == INVALID_HANDLE_VALUE || CloseHandle(h) != 0;
  }

 private:
  HANDLE h_;
};

bool writeAll(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    if (stepFails(FileStep::Write)) return false;
    DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!stepDone(FileStep::Write, WriteFile(h, bytes.data(), chunk, &written, nullptr) && written != 0))
      return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// Opens an existing file for reading, sharing it with writers; a missing file
// or folder is told apart from other failures.
ReadStatus openForRead(const char* path, HANDLE& h) {
  h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (stepDone(FileStep::OpenRead, h != INVALID_HANDLE_VALUE)) return ReadStatus::Ok;
  DWORD e = GetLastError();
  return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? ReadStatus::Missing : ReadStatus::Failed;
}

}  // namespace

ReadStatus readFile(const char* path, std::string& content) {
  content.clear();
  if (stepFails(FileStep::OpenRead)) return ReadStatus::Failed;
  HANDLE opened = INVALID_HANDLE_VALUE;
  if (ReadStatus status = openForRead(path, opened); status != ReadStatus::Ok) return status;
  Handle h(opened);
  LARGE_INTEGER size{};
  if (GetFileSizeEx(h.get(), &size) && size.QuadPart > 0)
    content.reserve(static_cast<std::size_t>(size.QuadPart));
  char chunk[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(h.get(), chunk, sizeof chunk, &n, nullptr)) {
      content.clear();
      return ReadStatus::Failed;
    }
    if (n == 0) return ReadStatus::Ok;
    content.append(chunk, n);
  }
}

ReadStatus FileView::open(const char* path) {
  close();
  if (stepFails(FileStep::OpenRead)) return ReadStatus::Failed;
  HANDLE opened = INVALID_HANDLE_VALUE;
  if (ReadStatus status = openForRead(path, opened); status != ReadStatus::Ok) return status;
  Handle h(opened);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h.get(), &size)) return ReadStatus::Failed;
  if (size.QuadPart == 0) return ReadStatus::Ok;
  if (static_cast<unsigned long long>(size.QuadPart) > static_cast<std::size_t>(-1))
    return ReadStatus::Failed;
  HANDLE mapping = CreateFileMappingA(h.get(), nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (mapping == nullptr) return ReadStatus::Failed;
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  CloseHandle(mapping);  // the view keeps the mapping alive
  if (view == nullptr) return ReadStatus::Failed;
  data_ = static_cast<const char*>(view);
  size_ = static_cast<std::size_t>(size.QuadPart);
  return ReadStatus::Ok;
}

void FileView::close() {
  if (data_ != nullptr) UnmapViewOfFile(data_);
  data_ = nullptr;
  size_ = 0;
}

namespace {
OVERLAPPED at(std::uint64_t offset) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(offset & 0xffffffffu);
  o.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return o;
}
}  // namespace

ReadStatus RandomAccessFile::open(const char* path, Mode mode) {
  close();
  if (stepFails(FileStep::OpenRead)) return ReadStatus::Failed;
  DWORD access = mode == Mode::Update ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  // OPEN_EXISTING: a missing file is never created. Sharing every kind of
  // access lets the host go on reading and rewriting its own files.
  HANDLE h = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? ReadStatus::Missing : ReadStatus::Failed;
  }
  handle_ = reinterpret_cast<std::intptr_t>(h);
  update_ = mode == Mode::Update;
  return ReadStatus::Ok;
}

void RandomAccessFile::close() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = -1;
}

std::int64_t RandomAccessFile::readAt(std::uint64_t offset, char* buffer, std::size_t size) {
  if (handle_ == -1) return -1;
  DWORD want = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
  OVERLAPPED o = at(offset);
  DWORD n = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, want, &n, &o))
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
  return n;
}

RandomAccessFile::ByteChange RandomAccessFile::changeByte(std::uint64_t offset, char from, char to) {
  if (handle_ == -1 || !update_) return ByteChange::Failed;
  char now = 0;
  std::int64_t n = readAt(offset, &now, 1);
  if (n < 0) return ByteChange::Failed;
  if (n == 0 || now != from) return ByteChange::Differs;
  if (stepFails(FileStep::Write)) return ByteChange::Failed;
  OVERLAPPED o = at(offset);
  DWORD written = 0;
  if (!WriteFile(reinterpret_cast<HANDLE>(handle_), &to, 1, &written, &o) || written != 1)
    return ByteChange::Failed;
  return ByteChange::Changed;
}

bool appendFile(const char* path, std::string_view bytes) {
  if (stepFails(FileStep::OpenAppend)) return false;
  Handle h(CreateFileA(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!stepDone(FileStep::OpenAppend, h.ok())) return false;
  if (!writeAll(h.get(), bytes)) return false;
  return h.close();
}

bool appendFileOnNewLine(const char* path, std::string_view bytes) {
  if (stepFails(FileStep::OpenAppend)) return false;
  // Write access (not append-only) so that a write cut short can be taken
  // back; the file is held alone, so writing at its end is appending.
  Handle h(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr));
  if (!stepDone(FileStep::OpenAppend, h.ok())) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h.get(), &size)) return false;
  char last = '\n';
  if (size.QuadPart > 0) {
    LARGE_INTEGER at{};
    at.QuadPart = size.QuadPart - 1;
    DWORD n = 0;
    if (!SetFilePointerEx(h.get(), at, nullptr, FILE_BEGIN) || !ReadFile(h.get(), &last, 1, &n, nullptr) ||
        n != 1)
      return false;
  }
  LARGE_INTEGER zero{};
  if (!SetFilePointerEx(h.get(), zero, nullptr, FILE_END)) return false;
  std::string joined;
  if (last != '\n') joined = "\r\n";
  joined.append(bytes);
  if (writeAll(h.get(), joined)) return h.close();
  // A full disk cut the write short: no cut line may stay for the next
  // append to end and make a line of.
  if (SetFilePointerEx(h.get(), size, nullptr, FILE_BEGIN)) SetEndOfFile(h.get());
  return false;
}

namespace {
HANDLE asHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }
}  // namespace

// Opened shared with readers and with our own rename and delete only: another
// replacement of the same file, asking to write, is refused before anything
// is emptied (CREATE_ALWAYS empties only a file we could open), and the file
// can be renamed into place or removed while we still hold it.
FileReplacement::FileReplacement(const char* path) : path_(path), temp_(path_ + ".tmp") {
  if (stepFails(FileStep::OpenTemp)) return;
  HANDLE h = CreateFileA(temp_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (!stepDone(FileStep::OpenTemp, h != INVALID_HANDLE_VALUE)) return;
  handle_ = reinterpret_cast<std::intptr_t>(h);
  ok_ = true;
}

// Deleted before the handle goes: once closed, the name may be another
// replacement's.
void FileReplacement::abandon() {
  if (handle_ == -1) return;
  DeleteFileA(temp_.c_str());
  CloseHandle(asHandle(handle_));
  handle_ = -1;
}

bool FileReplacement::write(std::string_view bytes) {
  if (ok_ && !writeAll(asHandle(handle_), bytes)) ok_ = false;
  return ok_;
}

// Flushed before the rename, so that the name never stands for bytes not yet
// on disk; renamed while still held, so that no other replacement can empty
// the file between the two.
bool FileReplacement::commit() {
  if (!ok_) return false;
  ok_ = false;
  HANDLE h = asHandle(handle_);
  if (stepFails(FileStep::Flush) || !stepDone(FileStep::Flush, FlushFileBuffers(h) != 0) ||
      stepFails(FileStep::Rename) ||
      !stepDone(FileStep::Rename, MoveFileExA(temp_.c_str(), path_.c_str(),
                                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0)) {
    abandon();
    return false;
  }
  handle_ = -1;
  CloseHandle(h);  // the bytes are on disk already: the flush reported any write error
  return true;
}

}  // namespace lumo::platform
