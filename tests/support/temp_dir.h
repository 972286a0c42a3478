// A fresh directory per test, removed with everything in it afterwards.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace lumo::testing {

class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("lumo-test-" + std::to_string(reinterpret_cast<std::uintptr_t>(this) & 0xffffff) + "-" +
                      std::to_string(counter++));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }
  // A file name inside the directory, as the plug-in's text APIs take it.
  std::string file(std::string_view name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Control bytes made visible, for failure messages.
inline std::string visible(std::string_view bytes) {
  std::string out;
  for (char ch : bytes) {
    auto c = static_cast<unsigned char>(ch);
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else if (c == 0x01)
      out += "<01>";
    else if (c < 0x20 || c == 0x7f) {
      const char* hex = "0123456789abcdef";
      out += "<";
      out += hex[c >> 4];
      out += hex[c & 15];
      out += ">";
    } else
      out += static_cast<char>(c);
  }
  return out;
}

}  // namespace lumo::testing
