// A directory listing with a wildcard pattern, in the order the file system
// gives (FindFirstFileA/FindNextFileA; on Linux our stand-in keeps the order
// NTFS would), owning its find handle.
#pragma once

#include <cstring>
#include <string>

#include "platform/file.h"
#include "platform/win32.h"

namespace lumo::platform {

class DirectoryListing {
 public:
  // Starts at the first entry matching the pattern, if any.
  explicit DirectoryListing(const std::string& pattern)
      : find_(stepFails(FileStep::List) ? INVALID_HANDLE_VALUE : FindFirstFileA(pattern.c_str(), &entry_)) {}
  DirectoryListing(const DirectoryListing&) = delete;
  DirectoryListing& operator=(const DirectoryListing&) = delete;
  ~DirectoryListing() {
    if (any()) FindClose(find_);
  }

  // False when nothing matched (or the directory cannot be listed).
  bool any() const { return find_ != INVALID_HANDLE_VALUE; }
  // The current entry; valid while any() holds and until next() fails.
  const char* name() const { return entry_.cFileName; }
  bool isDirectory() const { return (entry_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  bool isDotEntry() const { return std::strcmp(name(), ".") == 0 || std::strcmp(name(), "..") == 0; }
  // Moves to the next entry; false at the end.
  bool next() { return any() && FindNextFileA(find_, &entry_) != 0; }

 private:
  WIN32_FIND_DATAA entry_{};
  HANDLE find_;
};

}  // namespace lumo::platform
