// Wall-clock timing for the benchmarks: one run's seconds, a first run kept
// apart from the warm runs that follow it, and a file made cold for it.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace lumo::bench {

inline double seconds(const std::function<void()>& run) {
  auto t0 = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

struct Timing {
  double first = 0;
  std::vector<double> warm;
  double best() const { return *std::min_element(warm.begin(), warm.end()); }
  double median() const {
    std::vector<double> w = warm;
    std::sort(w.begin(), w.end());
    return w[w.size() / 2];
  }
};

// Drops the file from the page cache (writing out what it still holds
// first), so that the next read comes from disk.
inline void evictFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return;
  ::fdatasync(fd);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

}  // namespace lumo::bench
