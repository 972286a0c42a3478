// Test helpers for the host's store and the link index as files: the
// directory of a folder id, a folder index line and a link index line.
#pragma once

#include <cstddef>
#include <filesystem>
#include <iterator>
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

// A host-like "Folder.idx" line without its line end: 14 fields joined by
// 0x01, field 3 the mail's Message-ID, field 9 its "In-Reply-To", field 13
// ending in the read mark.
inline std::string folderIndexLine(const std::string& key, const std::string& messageId, char mark = '0',
                                   const std::string& subject = "Subject",
                                   const std::string& inReplyTo = "") {
  const std::string fields[] = {"0",
                                key,
                                messageId,
                                subject,
                                "From <from@example.com>",
                                "To <to@example.com>",
                                "Date",
                                "99",
                                inReplyTo,
                                "",
                                "3",
                                "0",
                                std::string(1, mark),
                                ""};
  std::string text = fields[0];
  for (std::size_t i = 1; i < std::size(fields); ++i) text += '\x01' + fields[i];
  return text;
}

// One link index line: five fields joined by 0x01, ended by CR LF.
inline std::string linkLine(const std::string& a, const std::string& b, const std::string& c,
                            const std::string& d, const std::string& e) {
  return a + '\x01' + b + '\x01' + c + '\x01' + d + '\x01' + e + "\r\n";
}

}  // namespace lumo::testing
