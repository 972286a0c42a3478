// Resident memory of this process (Linux): now, and the peak since the last
// reset, so that one step's peak can be told apart from the set-up before it.
#pragma once

#include <fstream>
#include <string>

namespace lumo::bench {

// A line "<name>: <n> kB" of /proc/self/status, in KB (0 when absent).
inline long statusKb(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(name + ":", 0) == 0) return std::stol(line.substr(name.size() + 1));
  return 0;
}

inline long residentKb() { return statusKb("VmRSS"); }
inline long peakResidentKb() { return statusKb("VmHWM"); }

// Starts a new peak at the present resident size ("5" resets VmHWM).
inline void resetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace lumo::bench
