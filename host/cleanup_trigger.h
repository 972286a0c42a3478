// When exit cleans the link index: the stored threshold "Lumo-CleanInt"
// against the shortcut counter "Lumo-Count".
#pragma once

namespace lumo {

// Threshold raise after each cleanup.
inline constexpr int CleanupStep = 201;

struct CleanupDecision {
  bool run;           // clean the link index now
  int nextThreshold;  // value to store as the new threshold when run
};

// Cleanup runs when the counter has risen above the stored threshold (signed
// comparison); the new threshold is the old one plus the step (not the
// counter plus the step), held at the largest int instead of wrapping.
CleanupDecision decideCleanup(int storedThreshold, int shortcutCount);

// Removes dead links from the link index at `indexPath`, asking the host and
// its folder indexes where each shortcut mail lies now.
void cleanLinkIndex(const char* indexPath);

}  // namespace lumo
