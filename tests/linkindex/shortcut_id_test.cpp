// Which texts count as shortcut ids.
#include "linkindex/shortcut_id.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ShortcutIdTest, AcceptsOnlyLowerCaseHexUnderscoreDecimal) {
  struct Case {
    std::string id;
    bool ok;
  } cases[] = {
      {"2711_12", true},
      {"2f_3", true},
      {"abcdef0_0", true},
      {"ffffd8f1_14", true},
      // Ids are written in lower case: an upper-case letter makes another text.
      {"ABCdef0_0", false},
      {"abcdeF0_0", false},
      {"2F_3", false},
      {"FFFFD8F1_14", false},
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
