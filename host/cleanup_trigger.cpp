// Exit-time trigger of the link index cleanup.
#include "host/cleanup_trigger.h"

#include <climits>

namespace lumo {

CleanupDecision decideCleanup(int storedThreshold, int shortcutCount) {
  if (storedThreshold >= shortcutCount) return {false, storedThreshold};
  int next = storedThreshold > INT_MAX - CleanupStep ? INT_MAX : storedThreshold + CleanupStep;
  return {true, next};
}

// Dead-link removal is not built yet: the index is left as it is, while the
// threshold logic around it already runs.
void cleanLinkIndex(const char* /*indexPath*/) {}

}  // namespace lumo
