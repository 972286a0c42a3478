// Whole-file operations in binary mode, the same bytes on every platform.
// Every file is opened, used and closed within one call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

// New content for a file, written piece by piece to "<path>.tmp" beside it
// and put in the file's place in one atomic step by commit(): flush to disk,
// then rename over the old file. The temporary file is held exclusively from
// the moment it is emptied until it has been renamed or removed, so that a
// second replacement of the same file (another process sharing the folder)
// fails instead of emptying, deleting or renaming the first one's. Destroyed
// without a successful commit, the temporary file is removed and the old file
// stays as it was.
class FileReplacement {
 public:
  explicit FileReplacement(const char* path);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  ~FileReplacement() { abandon(); }
  // False once any step has failed.
  bool ok() const { return ok_; }
  bool write(std::string_view bytes);
  // True when the new content is in the file's place. On failure the old file
  // is whole and the temporary file is already gone.
  bool commit();

 private:
  // Removes the temporary file while still holding it, then lets it go.
  void abandon();

  std::string path_;
  std::string temp_;
  std::intptr_t handle_ = -1;  // held from a successful open until commit or abandon
  bool ok_ = false;
};

// Replaces the file's whole content in one atomic step, as one
// FileReplacement: on any failure (another replacement of the same file
// included) the old file is left exactly as it was and the result is false.
inline bool replaceFile(const char* path, std::string_view bytes) {
  FileReplacement out(path);
  return out.write(bytes) && out.commit();
}

// Test seams for the file operations; in normal use no fault is planned,
// nothing is recorded and no action waits.
// List is a directory listing (DirectoryListing): when it fails, nothing is
// listed, as for a directory that cannot be read.
enum class FileStep { OpenRead, OpenAppend, OpenTemp, Write, Flush, Rename, List, Count };
// The next time the given step is reached (after `skip` further occurrences),
// it fails as the operating system would, without the system being asked.
void failStep(FileStep step, int skip = 0);
// From now on, records every step the system has carried out successfully, in
// order (each write of a piece is one Write).
void recordSteps();
const std::vector<FileStep>& recordedSteps();
// Runs `action` once, the next time the given step is reached and before it
// is carried out: what another process might do at that moment.
void atStep(FileStep step, std::function<void()> action);
// Runs `action` before every step is reached, whatever its kind, ahead of
// the faults and actions planned for it: a crash test counts the steps there
// and ends the process at the one it chose.
void beforeEveryStep(std::function<void(FileStep)> action);
// Ends them all: no fault planned, nothing recorded, no action waiting.
void clearFaults();

// Used by the implementations. stepFails: before a step, true when it is to
// fail now (after running the action waiting for it). stepDone: after the
// system carried it out, records the step when it succeeded and passes the
// result on.
bool stepFails(FileStep step);
bool stepDone(FileStep step, bool succeeded);

}  // namespace lumo::platform
