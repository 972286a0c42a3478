// The host's store as the locator's files see it: the data folder and the
// host calls that name folders.
#pragma once

#include <string>
#include <string_view>

#include "platform/file.h"
#include "resolve/locator/index_scan.h"

namespace lumo::locator {

// Index text read from a file.
class FileSource : public ByteSource {
 public:
  explicit FileSource(platform::RandomAccessFile& file) : file_(file) {}
  std::int64_t readAt(std::uint64_t offset, char* buffer, std::size_t size) override {
    return file_.readAt(offset, buffer, size);
  }

 private:
  platform::RandomAccessFile& file_;
};

// The host's data folder, ending in "\"; empty when the host gives none.
std::string dataFolder();

// The name of every folder's index file (this letter case only).
inline constexpr const char* kFolderIndexName = "Folder.idx";

// The folder id whose index a search of `folder` reads (see FindMailInFolder
// for `folder`), or empty when it names no folder inside the data folder. For
// a full path the folder's display name is shown in the status bar, so that
// the user sees where a mailbox-wide search is.
std::string folderIdToRead(std::string_view folder, const std::string& data);

// The mail id that an index entry of folder `folderId` names: folder id, "?"
// and the key; empty when the entry names no mail (IndexEntry::namesMail) or
// the mail id would be longer than an id may be (never cut into another).
std::string mailIdOf(const std::string& folderId, const IndexEntry& entry);

// Takes a line of the folder `folderId` only when the mail it names has the
// searched text as its own Message-ID (mailHasMessageId): one header read
// per line that holds the text.
class OwnMessageIdCheck : public LineCheck {
 public:
  explicit OwnMessageIdCheck(std::string_view folderId) : folderId_(folderId) {}
  bool accepts(std::string_view text, const IndexEntry& entry) override;

 private:
  std::string folderId_;
};

// Searches one folder's index with a scanner shared by a whole walk (see
// FindMailInFolder for `folder`). `data` is the data folder.
std::string findMailInFolder(IndexScanner& scanner, std::string_view folder, const std::string& data);

// Whether the directory `folderPath` (a full path ending in "\") can be
// listed: an ordinary directory lists at least its own "." entry, so a
// listing that gives nothing at all means a directory that is not there or
// cannot be read (a store moved away, a network drive gone). Searches that
// could not list a directory they needed prove nothing.
bool canList(const std::string& folderPath);

// What a walk over the folders meets, in the file system's listing order.
class FolderVisitor {
 public:
  virtual ~FolderVisitor() = default;
  // A folder holding an index: its full path, ending in "\". True ends the walk.
  virtual bool visitIndex(const std::string& directory) = 0;
  // A directory of the walk that could not be listed (the data folder
  // itself included).
  virtual void notListed(const std::string& /*directory*/) {}
};

// Walks below a directory (full path without trailing "\"), depth-first in
// listing order. True when the visitor ended the walk.
bool walkFolderTree(const std::string& directory, FolderVisitor& visitor);
// Walks every mailbox ("*.mb" directly in the data folder) in listing order.
// A data folder that cannot be listed at all is reported to notListed().
bool walkMailboxes(const std::string& data, FolderVisitor& visitor);

// Walks below a directory inside the data folder (see SearchFolderTree).
std::string searchFolderTree(IndexScanner& scanner, const std::string& directory, const std::string& data);

}  // namespace lumo::locator
