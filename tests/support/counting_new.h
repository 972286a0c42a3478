// Counts every allocation of the program it is linked into: counting_new.cpp
// replaces the global allocation functions. For proving that a path
// allocates nothing; one program at most links it.
#pragma once

#include <atomic>

namespace lumo::testing {

// While true, each allocation adds one to AllocationCount.
extern std::atomic<bool> CountAllocations;
extern std::atomic<long> AllocationCount;

}  // namespace lumo::testing
