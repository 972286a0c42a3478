// Test-only fault plan for the file operations (empty in normal use).
#include "platform/file.h"

namespace lumo::platform {
namespace {
// -1: no fault planned; otherwise the number of occurrences still to pass.
int plan[static_cast<int>(FileStep::Count)] = {-1, -1, -1, -1, -1, -1};
}  // namespace

void failStep(FileStep step, int skip) { plan[static_cast<int>(step)] = skip; }

void clearFaults() {
  for (int& p : plan) p = -1;
}

bool stepFails(FileStep step) {
  int& p = plan[static_cast<int>(step)];
  if (p < 0) return false;
  if (p > 0) {
    --p;
    return false;
  }
  p = -1;
  return true;
}

}  // namespace lumo::platform
