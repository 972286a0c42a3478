// Directory listing with wildcards on Linux, as FindFirstFileA/FindNextFileA
// answer on Windows: "*" and "?" in the last path element, matched without
// regard to case, "." and ".." first when they match, then the names in the
// order NTFS keeps them (compared in upper case).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/native_path.h"
#include "platform/win32.h"
#include "text/ascii_case.h"

namespace {

struct FindState {
  std::vector<WIN32_FIND_DATAA> entries;
  std::size_t next = 0;
};

bool isDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

bool listedBefore(const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
  bool aDot = isDotEntry(a.cFileName), bDot = isDotEntry(b.cFileName);
  if (aDot != bDot) return aDot;
  for (const char *x = a.cFileName, *y = b.cFileName;; ++x, ++y) {
    auto cx = static_cast<unsigned char>(lumo::asciiUpper(*x)),
         cy = static_cast<unsigned char>(lumo::asciiUpper(*y));
    if (cx != cy || cx == 0) return cx < cy;
  }
}

// Wildcard match of a whole name: "*" any run, "?" any one byte.
bool matches(const char* pattern, const char* name) {
  const char* starPattern = nullptr;
  const char* starName = nullptr;
  while (*name) {
    if (*pattern == '*') {
      starPattern = ++pattern;
      starName = name;
    } else if (*pattern == '?' || (*pattern && lumo::asciiLower(*pattern) == lumo::asciiLower(*name))) {
      ++pattern;
      ++name;
    } else if (starPattern) {
      pattern = starPattern;
      name = ++starName;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

// A directory the listing already names as one needs no look-up (Windows
// gives directories no size); anything else is looked up relative to the
// listed directory, one name to resolve instead of a whole path.
WIN32_FIND_DATAA describe(int dirFd, const dirent& entry) {
  WIN32_FIND_DATAA data{};
  const char* name = entry.d_name;
  struct stat st {};
  if (entry.d_type == DT_DIR) {
    data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
  } else if (::fstatat(dirFd, name, &st, 0) == 0) {
    data.dwFileAttributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    auto size = static_cast<std::uint64_t>(st.st_size);
    data.nFileSizeLow = static_cast<DWORD>(size & 0xffffffffu);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  }
  std::size_t length = std::min(std::strlen(name), sizeof data.cFileName - 1);
  std::memcpy(data.cFileName, name, length);
  data.cFileName[length] = '\0';
  return data;
}

}  // namespace

extern "C" HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
  if (!pattern || !data) return INVALID_HANDLE_VALUE;
  std::string path = lumo::platform::nativePath(pattern);
  std::size_t slash = path.find_last_of('/');
  std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  std::string namePattern = slash == std::string::npos ? path : path.substr(slash + 1);
  if (namePattern == "*.*") namePattern = "*";

  std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(dir.c_str()), ::closedir);
  if (!listing) return INVALID_HANDLE_VALUE;
  auto state = std::make_unique<FindState>();
  while (dirent* entry = ::readdir(listing.get()))
    if (matches(namePattern.c_str(), entry->d_name))
      state->entries.push_back(describe(::dirfd(listing.get()), *entry));
  if (state->entries.empty()) return INVALID_HANDLE_VALUE;
  std::sort(state->entries.begin(), state->entries.end(), listedBefore);
  *data = state->entries[state->next++];
  return state.release();
}

extern "C" BOOL FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA data) {
  if (!find || find == INVALID_HANDLE_VALUE || !data) return FALSE;
  auto* state = static_cast<FindState*>(find);
  if (state->next >= state->entries.size()) return FALSE;
  *data = state->entries[state->next++];
  return TRUE;
}

extern "C" BOOL FindClose(HANDLE find) {
  if (!find || find == INVALID_HANDLE_VALUE) return FALSE;
  delete static_cast<FindState*>(find);
  return TRUE;
}
