// Wall-clock timing for the benchmarks: one run's seconds, and a first run
// kept apart from the warm runs that follow it.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
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

}  // namespace lumo::bench
