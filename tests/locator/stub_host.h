// A few host functions answered by the test itself, put straight into the
// plug-in's host function table: enough for the locator, on Linux and under
// Wine alike. Tests that need the whole substitute host use HostFixture.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/api/host_api.h"

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
  }
  ~StubHost() {
    HostApi = HostApiTable{};
    active_ = nullptr;
  }
  StubHost(const StubHost&) = delete;
  StubHost& operator=(const StubHost&) = delete;

  // What the host answers; an empty text stands for null.
  std::string dataFolder, mailbox, folder;
  BOOL moveResult = TRUE;
  // What the plug-in told it.
  std::vector<std::string> status;
  std::string statusWindows;  // one "!" per status text given a window
  std::vector<std::pair<std::string, BOOL>> moves;

 private:
  static LPCSTR text(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }
  static inline StubHost* active_ = nullptr;
  std::string displayName;
};

}  // namespace lumo::testing
