// The walk over the host's mailboxes and folders, in the file system's own
// listing order, and the trash folder lookup.
#include <cstring>

#include "host/api/host_api.h"
#include "platform/directory_listing.h"
#include "resolve/locator/locator.h"
#include "resolve/locator/store_paths.h"

namespace lumo {
namespace {

// The first entry matching the pattern: its bare name and kind.
bool firstMatch(const std::string& pattern, std::string& name, bool& isDirectory) {
  platform::DirectoryListing listing(pattern);
  if (!listing.any()) return false;
  name = listing.name();
  isDirectory = listing.isDirectory();
  return true;
}

// Whether a full directory path lies inside the data folder.
bool insideDataFolder(const std::string& directory, const std::string& data) {
  return directory.size() > data.size() && directory.compare(0, data.size(), data) == 0 &&
         isStoreRelativeId(std::string_view(directory).substr(data.size()));
}

}  // namespace

namespace locator {

bool canList(const std::string& folderPath) { return platform::DirectoryListing(folderPath + "*").any(); }

bool walkFolderTree(const std::string& directory, FolderVisitor& visitor) {
  platform::DirectoryListing listing(directory + "\\*");
  // An ordinary directory lists its own "." first: nothing at all means it
  // could not be listed.
  if (!listing.any()) {
    visitor.notListed(directory);
    return false;
  }
  if (!listing.isDirectory()) return false;
  do {
    if (listing.isDirectory()) {
      if (listing.isDotEntry()) continue;
      if (walkFolderTree(directory + "\\" + listing.name(), visitor)) return true;
    } else if (std::strcmp(listing.name(), kFolderIndexName) == 0) {  // exactly this letter case
      if (visitor.visitIndex(directory + "\\")) return true;
    }
  } while (listing.next());
  return false;
}

bool walkMailboxes(const std::string& data, FolderVisitor& visitor) {
  platform::DirectoryListing mailboxes(data + "*.mb");
  if (!mailboxes.any()) {
    // No mailbox, or no data folder to look in: only the second proves nothing.
    if (!canList(data)) visitor.notListed(data);
    return false;
  }
  if (!mailboxes.isDirectory()) return false;
  do {
    // A file named "*.mb" has nothing below it.
    if (mailboxes.isDirectory() && walkFolderTree(data + mailboxes.name(), visitor)) return true;
  } while (mailboxes.next());
  return false;
}

namespace {

// A single search along the walk: the first folder with a hit ends it.
class SingleSearch : public FolderVisitor {
 public:
  SingleSearch(IndexScanner& scanner, const std::string& data) : scanner_(scanner), data_(data) {}
  bool visitIndex(const std::string& directory) override {
    found = findMailInFolder(scanner_, directory, data_);
    return !found.empty();
  }
  std::string found;

 private:
  IndexScanner& scanner_;
  const std::string& data_;
};

}  // namespace

std::string searchFolderTree(IndexScanner& scanner, const std::string& directory, const std::string& data) {
  SingleSearch search(scanner, data);
  walkFolderTree(directory, search);
  return search.found;
}

}  // namespace locator

std::string SearchFolderTree(std::string_view text, std::string_view directory) {
  std::string data = locator::dataFolder();
  std::string dir(directory);
  if (text.empty() || data.empty() || !insideDataFolder(dir, data)) return {};
  locator::IndexScanner scanner(text);
  return locator::searchFolderTree(scanner, dir, data);
}

std::string FindMailInMailboxes(std::string_view text) {
  std::string data = locator::dataFolder();
  if (text.empty() || data.empty()) return {};
  // One scanner, and so one buffer, for every index of the walk.
  locator::IndexScanner scanner(text);
  locator::SingleSearch search(scanner, data);
  locator::walkMailboxes(data, search);
  return search.found;
}

int FindFirstMatch(std::string& path) {
  std::string name;
  bool isDirectory = false;
  if (!firstMatch(path, name, isDirectory)) return 0;
  path = name;
  return isDirectory ? 0 : 1;
}

int MoveSelectionToTrash() {
  std::string data = locator::dataFolder();
  const char* mailbox = HostApi.BKA_GetCurrentMailBox ? HostApi.BKA_GetCurrentMailBox() : nullptr;
  if (data.empty() || mailbox == nullptr || !isStoreRelativeId(mailbox)) return 0;
  std::string name;
  bool isDirectory = false;
  if (!firstMatch(data + mailbox + "*Trash", name, isDirectory) || !isDirectory) return 0;
  std::string trash = std::string(mailbox) + name + "\\";
  if (!HostApi.BKA_MoveSelectedMessages) return 0;
  return HostApi.BKA_MoveSelectedMessages(trash.c_str(), FALSE) ? 1 : 0;
}

}  // namespace lumo
