// Exit-time trigger of the link index cleanup.
#include "host/cleanup_trigger.h"

#include <climits>

#include "linkindex/link_record.h"
#include "resolve/locator/multi_search.h"

namespace lumo {

CleanupDecision decideCleanup(int storedThreshold, int shortcutCount) {
  if (storedThreshold >= shortcutCount) return {false, storedThreshold};
  int next = storedThreshold > INT_MAX - CleanupStep ? INT_MAX : storedThreshold + CleanupStep;
  return {true, next};
}

void cleanLinkIndex(const char* indexPath) {
  if (indexPath == nullptr || *indexPath == '\0') return;
  LinkRecord record;
  StoreLinkLookup store;
  record.cleanIndex(indexPath, store);  // a failed cleanup is tried again after the next threshold
}

}  // namespace lumo
