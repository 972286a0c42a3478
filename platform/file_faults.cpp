// Test seams of the file operations: planned faults, the record of steps
// carried out, and actions run at a step (all empty in normal use).
#include <utility>

#include "platform/file.h"

namespace lumo::platform {
namespace {
constexpr int kSteps = static_cast<int>(FileStep::Count);
// -1: no fault planned; otherwise the number of occurrences still to pass.
int plan[kSteps] = {-1, -1, -1, -1, -1, -1, -1};
bool recording = false;
std::vector<FileStep> record;
std::function<void()> actions[kSteps];
std::function<void(FileStep)> everyStep;
}  // namespace

void failStep(FileStep step, int skip) { plan[static_cast<int>(step)] = skip; }

void recordSteps() {
  recording = true;
  record.clear();
}

const std::vector<FileStep>& recordedSteps() { return record; }

void atStep(FileStep step, std::function<void()> action) {
  actions[static_cast<int>(step)] = std::move(action);
}

void beforeEveryStep(std::function<void(FileStep)> action) { everyStep = std::move(action); }

void clearFaults() {
  for (int& p : plan) p = -1;
  recording = false;
  record.clear();
  for (auto& action : actions) action = nullptr;
  everyStep = nullptr;
}

bool stepFails(FileStep step) {
  if (everyStep) everyStep(step);
  if (auto& waiting = actions[static_cast<int>(step)]) {
    std::function<void()> action = std::move(waiting);
    waiting = nullptr;
    action();  // may reach further steps of its own
  }
  int& p = plan[static_cast<int>(step)];
  if (p < 0) return false;
  if (p > 0) {
    --p;
    return false;
  }
  p = -1;
  return true;
}

bool stepDone(FileStep step, bool succeeded) {
  if (succeeded && recording) record.push_back(step);
  return succeeded;
}

}  // namespace lumo::platform
