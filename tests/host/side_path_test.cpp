// Settings and link index paths derived from the module path.
#include "host/side_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  std::string module;
  std::string ini;  // empty: no path can be derived
};

TEST(SidePath, ReplacesFromTheLastDot) {
  const Case cases[] = {
      {"C:\\x\\lib.dll", "C:\\x\\lib.ini"},
      {"C:\\x\\lib", "C:\\x\\lib.ini"},
      {"C:\\a.b\\lib", "C:\\a.ini"},  // the last dot may lie in a directory name
      {"C:\\x\\lumo.plugin.dll", "C:\\x\\lumo.plugin.ini"},
      {"/opt/b2/lumo.so", "/opt/b2/lumo.ini"},
      {"C:\\x\\lib.", "C:\\x\\lib.ini"},
  };
  for (const Case& c : cases) {
    char out[260];
    EXPECT_TRUE(lumo::deriveSidePath(c.module, ".ini", out, sizeof out)) << c.module;
    EXPECT_EQ(std::string(out), c.ini) << c.module;
  }
}

TEST(SidePath, LinkIndexUsesItsOwnExtension) {
  char out[260];
  ASSERT_TRUE(lumo::deriveSidePath("C:\\x\\lib.dll", ".idx", out, sizeof out));
  EXPECT_STREQ(out, "C:\\x\\lib.idx");
}

// 259 bytes is the longest path a 260-byte buffer holds.
TEST(SidePath, ResultsThatWouldNotFitAreRefusedNotCut) {
  char out[260];
  std::string noDot(256, 'a');  // 256 + ".ini" = 260 bytes: one too many
  EXPECT_FALSE(lumo::deriveSidePath(noDot, ".ini", out, sizeof out));
  EXPECT_STREQ(out, "");

  std::string fits(255, 'a');  // 255 + 4 = 259: fits exactly
  ASSERT_TRUE(lumo::deriveSidePath(fits, ".ini", out, sizeof out));
  EXPECT_EQ(std::string(out), fits + ".ini");

  std::string trailingDot = std::string(257, 'b') + ".";  // stem 257 + 4 > 259
  EXPECT_FALSE(lumo::deriveSidePath(trailingDot, ".idx", out, sizeof out));
  EXPECT_STREQ(out, "");
}

TEST(SidePath, EmptyModulePathGivesNoFile) {
  char out[260] = "stale";
  EXPECT_FALSE(lumo::deriveSidePath("", ".ini", out, sizeof out));
  EXPECT_STREQ(out, "");
}

}  // namespace
