// Test helpers for the host's store and the link index as files: the
// directory of a folder id, and one link index line.
#pragma once

#include <filesystem>
#include <string>

namespace lumo::testing {

// The directory of a folder id ("Box.mb\Inbox\") below the data folder.
inline std::filesystem::path folderDir(const std::filesystem::path& data, const std::string& folderId) {
  std::filesystem::path path = data;
  std::string part;
  for (char c : folderId) {
    if (c != '\\') {
      part += c;
    } else if (!part.empty()) {
      path /= part;
      part.clear();
    }
  }
  return path;
}

// One link index line: five fields joined by 0x01, ended by CR LF.
inline std::string linkLine(const std::string& a, const std::string& b, const std::string& c,
                            const std::string& d, const std::string& e) {
  return a + '\x01' + b + '\x01' + c + '\x01' + d + '\x01' + e + "\r\n";
}

}  // namespace lumo::testing
