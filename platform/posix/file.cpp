// File operations on POSIX: open/read/write, flock for exclusive access,
// fsync and rename for atomic replacement.
#include "platform/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/posix/native_path.h"
#include "platform/win32.h"

namespace lumo::platform {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  // Hands the descriptor over to the caller, who closes it.
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes now and reports whether the close succeeded (it can report a
  // delayed write error).
  bool close() {
    int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    if (stepFails(FileStep::Write)) {
      errno = ENOSPC;
      return false;
    }
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (!stepDone(FileStep::Write, n > 0)) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool lockExclusive(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

// A file without any write permission is read-only, as one with the
// read-only attribute on Windows: it is not written even by a user (root)
// whom the system would let write it.
bool readOnly(const struct stat& st) { return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

// Appends to the locked file, which held `size` bytes. A write that fails
// part way (a full disk cuts it short) is taken back, so that no cut line is
// left for the next append to end and make a line of.
bool appendLocked(int fd, off_t size, std::string_view bytes) {
  if (writeAll(fd, bytes)) return true;
  if (::ftruncate(fd, size) != 0) {
    // Nothing more can be done: the cut bytes stay, behind no line end.
  }
  return false;
}

// True when `fd` is still the file called `name`: not renamed away, nor
// replaced by another file of that name.
bool stillNamed(int fd, const char* name) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::stat(name, &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

std::string directoryOf(const char* path) {
  std::string dir(path);
  std::size_t slash = dir.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : dir.substr(0, slash);
}

}  // namespace

ReadStatus readFile(const char* path, std::string& content) {
  content.clear();
  if (stepFails(FileStep::OpenRead)) return ReadStatus::Failed;
  Fd fd(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.ok()) return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
  stepDone(FileStep::OpenRead, true);
  struct stat st {};
  if (::fstat(fd.get(), &st) == 0 && st.st_size > 0) content.reserve(static_cast<std::size_t>(st.st_size));
  char chunk[65536];
  for (;;) {
    ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      content.clear();
      return ReadStatus::Failed;
    }
    if (n == 0) return ReadStatus::Ok;
    content.append(chunk, static_cast<std::size_t>(n));
  }
}

ReadStatus FileView::open(const char* path) {
  close();
  if (stepFails(FileStep::OpenRead)) return ReadStatus::Failed;
  Fd fd(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.ok()) return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
  stepDone(FileStep::OpenRead, true);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return ReadStatus::Failed;
  if (st.st_size == 0) return ReadStatus::Ok;
  void* map = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE,
                     fd.get(), 0);
  if (map == MAP_FAILED) return ReadStatus::Failed;
  data_ = static_cast<const char*>(map);
  size_ = static_cast<std::size_t>(st.st_size);
  return ReadStatus::Ok;
}

void FileView::close() {
  if (data_ != nullptr) ::munmap(const_cast<char*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
}

ReadStatus RandomAccessFile::open(const char* path, Mode mode) {
  close();
  if (stepFails(FileStep::OpenRead)) return ReadStatus::Failed;
  int flags = (mode == Mode::Update ? O_RDWR : O_RDONLY) | O_CLOEXEC;
  Fd fd(::open(nativePath(path).c_str(), flags));
  if (!fd.ok()) return errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return ReadStatus::Failed;
  // Scans read front to back: a larger read-ahead helps the first run.
  ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  handle_ = fd.release();
  update_ = mode == Mode::Update;
  return ReadStatus::Ok;
}

void RandomAccessFile::close() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
}

std::int64_t RandomAccessFile::readAt(std::uint64_t offset, char* buffer, std::size_t size) {
  if (handle_ < 0) return -1;
  for (;;) {
    ssize_t n = ::pread(static_cast<int>(handle_), buffer, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

RandomAccessFile::ByteChange RandomAccessFile::changeByte(std::uint64_t offset, char from, char to) {
  if (handle_ < 0 || !update_) return ByteChange::Failed;
  char now = 0;
  std::int64_t n = readAt(offset, &now, 1);
  if (n < 0) return ByteChange::Failed;
  if (n == 0 || now != from) return ByteChange::Differs;
  if (stepFails(FileStep::Write)) return ByteChange::Failed;
  for (;;) {
    ssize_t written = ::pwrite(static_cast<int>(handle_), &to, 1, static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    return written == 1 ? ByteChange::Changed : ByteChange::Failed;
  }
}

bool appendFile(const char* path, std::string_view bytes) {
  if (stepFails(FileStep::OpenAppend)) return false;
  Fd fd(::open(nativePath(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  if (!stepDone(FileStep::OpenAppend, fd.ok()) || !lockExclusive(fd.get())) return false;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || readOnly(st)) return false;
  if (!appendLocked(fd.get(), st.st_size, bytes)) return false;
  return fd.close();
}

bool appendFileOnNewLine(const char* path, std::string_view bytes) {
  if (stepFails(FileStep::OpenAppend)) return false;
  Fd fd(::open(nativePath(path).c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  if (!stepDone(FileStep::OpenAppend, fd.ok()) || !lockExclusive(fd.get())) return false;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || readOnly(st)) return false;
  char last = '\n';
  if (st.st_size > 0 && ::pread(fd.get(), &last, 1, st.st_size - 1) != 1) return false;
  if (last != '\n') {
    std::string joined = "\r\n";
    joined.append(bytes);
    if (!appendLocked(fd.get(), st.st_size, joined)) return false;
  } else if (!appendLocked(fd.get(), st.st_size, bytes)) {
    return false;
  }
  return fd.close();
}

// The temporary file is emptied only once it is ours: locked, and still the
// file of that name. Another replacement may be writing it, or may have just
// renamed it into place, and must find it untouched (we then fail instead).
FileReplacement::FileReplacement(const char* windowsPath)
    : path_(nativePath(windowsPath)), temp_(path_ + ".tmp") {
  if (stepFails(FileStep::OpenTemp)) return;
  struct stat old {};
  if (::stat(path_.c_str(), &old) == 0 && readOnly(old)) return;
  Fd fd(::open(temp_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
  if (!fd.ok()) return;
  bool ours = lockExclusive(fd.get()) && stillNamed(fd.get(), temp_.c_str()) && ::ftruncate(fd.get(), 0) == 0;
  if (!stepDone(FileStep::OpenTemp, ours)) return;
  handle_ = fd.release();
  ok_ = true;
}

// Unlinked before the lock goes: once unlocked, the name may be another
// replacement's.
void FileReplacement::abandon() {
  if (handle_ < 0) return;
  ::unlink(temp_.c_str());
  ::close(static_cast<int>(handle_));
  handle_ = -1;
}

bool FileReplacement::write(std::string_view bytes) {
  if (ok_ && !writeAll(static_cast<int>(handle_), bytes)) ok_ = false;
  return ok_;
}

// Flushed before the rename, so that the name never stands for bytes not yet
// on disk; renamed while still locked, so that no other replacement can empty
// the file between the two.
bool FileReplacement::commit() {
  if (!ok_) return false;
  ok_ = false;
  int fd = static_cast<int>(handle_);
  if (stepFails(FileStep::Flush) || !stepDone(FileStep::Flush, ::fsync(fd) == 0) ||
      stepFails(FileStep::Rename) ||
      !stepDone(FileStep::Rename, ::rename(temp_.c_str(), path_.c_str()) == 0)) {
    abandon();
    return false;
  }
  handle_ = -1;
  ::close(fd);  // the bytes are on disk already: fsync reported any write error
  // Make the rename itself durable.
  Fd dir(::open(directoryOf(path_.c_str()).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.ok()) ::fsync(dir.get());
  return true;
}

}  // namespace lumo::platform

using lumo::platform::nativePath;

extern "C" BOOL DeleteFileA(LPCSTR fileName) {
  return ::unlink(nativePath(fileName).c_str()) == 0 ? TRUE : FALSE;
}

extern "C" BOOL MoveFileExA(LPCSTR existing, LPCSTR replacement, DWORD flags) {
  std::string from = nativePath(existing), to = nativePath(replacement);
  if (!(flags & MOVEFILE_REPLACE_EXISTING) && ::access(to.c_str(), F_OK) == 0) return FALSE;
  return std::rename(from.c_str(), to.c_str()) == 0 ? TRUE : FALSE;
}
