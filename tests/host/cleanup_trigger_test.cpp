// When exit cleans the link index, and the threshold it stores afterwards.
#include "host/cleanup_trigger.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(CleanupTrigger, RunsOnlyWhenTheCounterPassedTheThreshold) {
  EXPECT_FALSE(lumo::decideCleanup(0, 0).run);
  EXPECT_FALSE(lumo::decideCleanup(5, 5).run);
  EXPECT_FALSE(lumo::decideCleanup(402, 10).run);
  lumo::CleanupDecision d = lumo::decideCleanup(0, 5);
  EXPECT_TRUE(d.run);
  EXPECT_EQ(d.nextThreshold, 201);
}

TEST(CleanupTrigger, RaisesTheOldThresholdNotTheCounter) {
  int threshold = 0;
  const int expected[] = {201, 402, 603, 804, 1005};
  for (int want : expected) {
    lumo::CleanupDecision d = lumo::decideCleanup(threshold, 1000);
    ASSERT_TRUE(d.run);
    EXPECT_EQ(d.nextThreshold, want);
    threshold = d.nextThreshold;
  }
  EXPECT_FALSE(lumo::decideCleanup(threshold, 1000).run);
}

TEST(CleanupTrigger, ComparesSigned) {
  EXPECT_TRUE(lumo::decideCleanup(-5, 0).run);
  EXPECT_FALSE(lumo::decideCleanup(0, -3).run);
}

TEST(CleanupTrigger, ThresholdStopsAtTheLargestIntInsteadOfWrapping) {
  lumo::CleanupDecision d = lumo::decideCleanup(INT_MAX - 100, INT_MAX);
  EXPECT_TRUE(d.run);
  EXPECT_EQ(d.nextThreshold, INT_MAX);
}

}  // namespace
