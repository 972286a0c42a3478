// A few host functions answered by the test itself, put straight into the
// plug-in's host function table: enough for the locator, on Linux and under
// Wine alike. Tests that need the whole substitute host use HostFixture.
#pragma once

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/api/host_api.h"
#include "support/store_paths.h"
#include "support/temp_dir.h"

namespace lumo::testing {

class StubHost {
 public:
  StubHost() {
    active_ = this;
    HostApi = HostApiTable{};
    HostApi.BKA_GetDataFolder = [](void) WINAPI -> LPCSTR { return text(active_->dataFolder); };
    HostApi.BKA_GetCurrentMailBox = [](void) WINAPI -> LPCSTR { return text(active_->mailbox); };
    HostApi.BKA_GetCurrentFolder = [](void) WINAPI -> LPCSTR { return text(active_->folder); };
    HostApi.BKA_GetFolderDisplayName = [](LPCSTR id) WINAPI -> LPCSTR {
      active_->displayName = "name of " + std::string(id ? id : "(null)");
      return active_->displayName.c_str();
    };
    HostApi.BKA_SetMessageText = [](HWND window, LPCSTR text) WINAPI {
      active_->status.push_back(text ? text : "(null)");
      active_->statusWindows += window == nullptr ? "" : "!";
    };
    HostApi.BKA_MoveSelectedMessages = [](LPCSTR id, BOOL copy) WINAPI -> BOOL {
      active_->moves.emplace_back(id ? id : "(null)", copy);
      return active_->moveResult;
    };
    HostApi.BKA_GetHeader = [](LPCSTR id) WINAPI -> LPSTR {
      std::string header;
      if (id == nullptr || !active_->headerOf(id, header)) return nullptr;
      char* block = static_cast<char*>(std::malloc(header.size() + 1));
      if (block != nullptr) std::memcpy(block, header.c_str(), header.size() + 1);
      return block;
    };
    HostApi.BKA_Free = [](LPVOID block) WINAPI { std::free(block); };
  }
  ~StubHost() {
    HostApi = HostApiTable{};
    active_ = nullptr;
  }
  StubHost(const StubHost&) = delete;
  StubHost& operator=(const StubHost&) = delete;

  // What the host answers; an empty text stands for null.
  std::string dataFolder, mailbox, folder;
  // Headers by mail id. A mail without one here has the header of a host
  // whose index lines are those of lumo::testing::folderIndexLine: the line
  // whose field 2 is the mail key names the mail, and its field 3 is the
  // mail's Message-ID.
  std::map<std::string, std::string> headers;
  BOOL moveResult = TRUE;
  // What the plug-in told it.
  std::vector<std::string> status;
  std::string statusWindows;  // one "!" per status text given a window
  std::vector<std::pair<std::string, BOOL>> moves;

 private:
  static LPCSTR text(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }
  bool headerOf(const std::string& mailId, std::string& header) const {
    if (auto known = headers.find(mailId); known != headers.end()) {
      header = known->second;
      return true;
    }
    std::size_t mark = mailId.find('?');
    if (mark == std::string::npos || dataFolder.empty()) return false;
    std::string data = dataFolder.substr(0, dataFolder.size() - 1);  // without its "\"
    std::string index = readBytes((folderDir(data, mailId.substr(0, mark + 1)) / "Folder.idx").string());
    std::string key = mailId.substr(mark + 1);
    for (std::size_t at = 0; at < index.size();) {
      std::size_t end = index.find('\n', at);
      if (end == std::string::npos) end = index.size();
      std::vector<std::string> fields(1);
      for (std::size_t i = at; i < end; ++i) {
        if (index[i] == '\x01')
          fields.emplace_back();
        else if (index[i] != '\r')
          fields.back() += index[i];
      }
      if (fields.size() > 2 && fields[1] == key) {
        header = "Message-ID: " + fields[2] + "\r\n\r\n";
        return true;
      }
      at = end + 1;
    }
    return false;
  }
  static inline StubHost* active_ = nullptr;
  std::string displayName;
};

}  // namespace lumo::testing
