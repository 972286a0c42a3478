// The substitute host's mail store: plain directories and files under one
// data folder, laid out as docs/host-sim.md describes. Ids use "\" between
// folders on every platform; mail id = folder id + "?" + mail key.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumo::hostsim {

// One line of a folder's "Folder.idx", split into its fields.
struct IndexEntry {
  std::string key;        // field 2
  std::string messageId;  // field 3
  std::string subject;    // field 4
  bool read = false;      // last character of field 13
};

class MailStore {
 public:
  explicit MailStore(std::filesystem::path dataFolder);

  const std::filesystem::path& root() const { return root_; }
  // The data folder as the host hands it out: the absolute path, ending "\".
  std::string dataFolderText() const;

  // The directory of a folder id ("Box.mb\Inbox\"); empty id = data folder.
  std::filesystem::path folderPath(const std::string& folderId) const;
  static std::string folderOf(const std::string& mailId);  // up to and with the last "\"
  static std::string keyOf(const std::string& mailId);     // after "?"

  // Creates a mailbox ("Name.mb\") or a folder below an existing one, with an
  // empty index and a Folder.ini carrying the display name. Returns false on
  // a bad id or a file-system failure.
  bool addFolder(const std::string& folderId, const std::string& displayName, bool ignoreUnread = false);
  bool folderExists(const std::string& folderId) const;
  // Every mailbox and folder id, sorted by name, parents before children.
  std::vector<std::string> folders() const;
  std::string displayName(const std::string& folderId) const;

  // Stores a new mail in the folder; its index line is written before this
  // returns. Returns the new mail id, or empty when the folder is missing.
  std::string append(const std::string& folderId, const std::string& source, bool read = false);
  std::optional<std::string> source(const std::string& mailId) const;
  // Replaces a stored mail's source and refreshes its index line.
  bool setSource(const std::string& mailId, const std::string& source);
  // Copies or moves a mail; returns the new mail id or empty.
  std::string transfer(const std::string& mailId, const std::string& folderId, bool copy);
  bool remove(const std::string& mailId);
  bool setRead(const std::string& mailId, bool read);

  // The folder's index, line by line (lines that cannot be parsed are skipped).
  std::vector<IndexEntry> index(const std::string& folderId) const;
  std::vector<std::string> mailIds(const std::string& folderId) const;
  std::optional<IndexEntry> entry(const std::string& mailId) const;

  // One index line (CR LF not included) for a mail with this key and source.
  static std::string indexLine(const std::string& key, const std::string& source, bool read);

 private:
  bool writeIndex(const std::string& folderId, const std::vector<std::string>& lines) const;
  std::vector<std::string> indexLines(const std::string& folderId) const;
  std::string nextKey(const std::string& folderId) const;

  std::filesystem::path root_;
};

// Reads a whole file in binary mode; nullopt when it cannot be opened.
std::optional<std::string> readFile(const std::filesystem::path& path);
// Writes a whole file in binary mode (new file, then rename over the old one).
bool writeFile(const std::filesystem::path& path, const std::string& data);

}  // namespace lumo::hostsim
