// Header field name prefixes: any letter case, the prefix must start the field.
#include "shortcut/header_fields.h"

#include <gtest/gtest.h>

namespace {

TEST(HeaderFieldsTest, PrefixIgnoresCase) {
  EXPECT_TRUE(lumo::startsWithNoCase("MESSAGE-id: x", "message-id:"));
  EXPECT_FALSE(lumo::startsWithNoCase("Reply-To: x", "to:"));
  EXPECT_FALSE(lumo::startsWithNoCase("To", "to:"));
}

}  // namespace
