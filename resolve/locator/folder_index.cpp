// One folder's index: finding a mail's id in it and marking a mail's entry.
#include "host/api/host_api.h"
#include "platform/file.h"
#include "resolve/locator/index_scan.h"
#include "resolve/locator/locator.h"
#include "resolve/locator/store_paths.h"

namespace lumo {
namespace {

// Shows the folder's display name while its index is read, so that the user
// sees where a mailbox-wide search is.
void showFolderName(const std::string& folderId) {
  if (!HostApi.BKA_GetFolderDisplayName || !HostApi.BKA_SetMessageText) return;
  const char* name = HostApi.BKA_GetFolderDisplayName(folderId.c_str());
  if (name != nullptr) HostApi.BKA_SetMessageText(nullptr, name);
}

}  // namespace

namespace locator {

std::string folderIdToRead(std::string_view folder, const std::string& data) {
  if (folder.empty() || data.empty()) return {};
  // A full path inside the data folder (the walk's form) or a folder id.
  bool fullPath = folder.size() >= data.size() && folder.substr(0, data.size()) == data;
  std::string folderId(fullPath ? folder.substr(data.size()) : folder);
  if (!isStoreRelativeId(folderId)) return {};
  if (fullPath) showFolderName(folderId);
  return folderId;
}

std::string findMailInFolder(IndexScanner& scanner, std::string_view folder, const std::string& data) {
  std::string folderId = folderIdToRead(folder, data);
  if (folderId.empty()) return {};
  platform::RandomAccessFile file;
  if (file.open((data + folderId + kFolderIndexName).c_str()) != platform::ReadStatus::Ok) return {};
  locator::FileSource source(file);
  OwnMessageIdCheck check(folderId);
  IndexEntry entry;
  if (scanner.find(source, entry, &check) != ScanResult::Found) return {};
  return mailIdOf(folderId, entry);
}

std::string mailIdOf(const std::string& folderId, const IndexEntry& entry) {
  if (!entry.namesMail() || folderId.size() + 1 + entry.key.size() > kIdMax) return {};
  return folderId + "?" + entry.key;
}

}  // namespace locator

std::string FindMailInFolder(std::string_view text, std::string_view folder) {
  if (text.empty()) return {};
  locator::IndexScanner scanner(text);
  return locator::findMailInFolder(scanner, folder, locator::dataFolder());
}

int MarkFolderIndexEntry(std::string_view text, std::string_view folderId) {
  // An empty text would stand in the first line of any folder.
  if (text.empty() || folderId.empty() || !isStoreRelativeId(folderId)) return 0;
  std::string data = locator::dataFolder();
  if (data.empty()) return 0;
  platform::RandomAccessFile file;
  std::string path = data + std::string(folderId) + locator::kFolderIndexName;
  if (file.open(path.c_str(), platform::RandomAccessFile::Mode::Update) != platform::ReadStatus::Ok) return 0;
  locator::FileSource source(file);
  locator::IndexScanner scanner(text);
  locator::OwnMessageIdCheck check(folderId);
  locator::IndexEntry entry;
  if (scanner.find(source, entry, &check) != locator::ScanResult::Found || !entry.hasMarkField()) return 0;
  if (entry.mark != '0') return 1;  // already marked, or no mark we know: left alone
  // One byte, in place: the file keeps its length and every other byte. Should
  // the host have changed that byte since it was read, it is left alone too.
  return file.changeByte(entry.markOffset, '0', '1') == platform::RandomAccessFile::ByteChange::Changed ? 1
                                                                                                        : 0;
}

}  // namespace lumo
