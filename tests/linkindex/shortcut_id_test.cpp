// Which texts count as shortcut ids.
#include "linkindex/shortcut_id.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ShortcutIdTest, AcceptsOnlyHexUnderscoreDecimal) {
  struct Case {
    std::string id;
    bool ok;
  } cases[] = {
      {"2711_12", true},
      {"2f_3", true},
      {"ABCdef0_0", true},
      {"", false},
      {"_", false},
      {"2711_", false},
      {"_12", false},
      {"2711", false},
      {"2711_1a", false},
      {"g1_1", false},
      {"27 11_1", false},
      {"2711_12\x01", false},
      {"2711__12", false},
      {"-1_1", false},
      {"1_-1", false},
      {std::string(253, 'f') + "_1", true},
      {std::string(254, 'f') + "_1", false},
  };
  for (const auto& c : cases) EXPECT_EQ(lumo::isShortcutId(c.id), c.ok) << "id \"" << c.id << "\"";
}

}  // namespace
