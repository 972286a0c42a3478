// Whole-file operations in binary mode, the same bytes on every platform.
// Every file is opened, used and closed within one call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumo::platform {

enum class ReadStatus { Ok, Missing, Failed };

// Reads the whole file, shared with other readers. A file that does not
// exist is Missing (content left empty); one that cannot be read is Failed.
ReadStatus readFile(const char* path, std::string& content);

// A whole file mapped read-only, shared with other readers: large files are
// scanned in place instead of being copied into fresh memory. The bytes stay
// valid until the view is closed or destroyed; close it before the file is
// replaced or appended to.
class FileView {
 public:
  FileView() = default;
  FileView(const FileView&) = delete;
  FileView& operator=(const FileView&) = delete;
  ~FileView() { close(); }
  // Maps the file; Missing and Failed as for readFile. An empty file gives an
  // empty view.
  ReadStatus open(const char* path);
  void close();
  std::string_view bytes() const { return std::string_view(data_, size_); }

 private:
  const char* data_ = nullptr;
  std::size_t size_ = 0;
};

// An existing file read piece by piece at given offsets into the caller's
// buffer (a scan reuses one buffer for every file), shared with the host's
// own readers and writers. Opened for update it can also change single bytes
// in place; it is never created, truncated or extended.
class RandomAccessFile {
 public:
  enum class Mode { Read, Update };
  enum class ByteChange { Changed, Differs, Failed };

  RandomAccessFile() = default;
  RandomAccessFile(const RandomAccessFile&) = delete;
  RandomAccessFile& operator=(const RandomAccessFile&) = delete;
  ~RandomAccessFile() { close(); }
  // Missing and Failed as for readFile; a missing file is never created.
  ReadStatus open(const char* path, Mode mode = Mode::Read);
  void close();
  // Reads up to `size` bytes at `offset`: the count read, 0 at the end of
  // the file, -1 on failure.
  std::int64_t readAt(std::uint64_t offset, char* buffer, std::size_t size);
  // Writes `to` at `offset` only when the byte there is `from` now: Differs
  // (nothing written) when it is not or when the offset is past the end.
  ByteChange changeByte(std::uint64_t offset, char from, char to);

 private:
  std::intptr_t handle_ = -1;
  bool update_ = false;
};

// Appends the bytes to the file, creating it when missing, while holding it
// exclusively. True only when every byte was written.
bool appendFile(const char* path, std::string_view bytes);

// Like appendFile, but the bytes always start a line of their own: when the
// file is not empty and its last byte is not a line feed (an unfinished last
// line), CR LF is written before them in the same write.
bool appendFileOnNewLine(const char* path, std::string_view bytes);

// Replaces the file's whole content in one atomic step: the bytes go to a
// temporary file beside it ("<path>.tmp"), are flushed to disk, and the
// temporary file is renamed over the old one. On any failure the old file is
// left exactly as it was and the result is false.
bool replaceFile(const char* path, std::string_view bytes);

// New content for a file, written piece by piece to "<path>.tmp" beside it
// (held exclusively) and put in the file's place in one atomic step by
// commit(): flush to disk, then rename over the old file. Destroyed without a
// successful commit, the temporary file is removed and the old file stays as
// it was. Fails at the same fault steps as replaceFile.
class FileReplacement {
 public:
  explicit FileReplacement(const char* path);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  ~FileReplacement();
  // False once any step has failed.
  bool ok() const { return ok_; }
  bool write(std::string_view bytes);
  bool commit();

 private:
  std::string path_;
  std::string temp_;
  std::intptr_t handle_ = -1;
  bool ok_ = false;
  bool committed_ = false;
};

// Fault injection for tests: the next time the given step is reached (after
// `skip` further occurrences), it fails as the operating system would.
enum class FileStep { OpenRead, OpenAppend, OpenTemp, Write, Flush, Rename, Count };
void failStep(FileStep step, int skip = 0);
void clearFaults();
// Used by the implementations: true when the step is to fail now.
bool stepFails(FileStep step);

}  // namespace lumo::platform
