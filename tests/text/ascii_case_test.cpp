// The shared text rules: ASCII letter case folds only A-Z and a-z, and a C
// string ends at its first NUL.
#include "text/ascii_case.h"

#include <gtest/gtest.h>

#include <string>

#include "text/c_string.h"

namespace lumo {
namespace {

using namespace std::string_literals;

TEST(AsciiCase, LettersFoldAndNothingElseDoes) {
  EXPECT_TRUE(equalsNoCase("Content-Type", "content-TYPE"));
  EXPECT_TRUE(equalsNoCase("", ""));
  EXPECT_FALSE(equalsNoCase("Content-Type", "Content-Typ"));
  // Pairs 0x20 apart that are not letters: a fold by setting bit 5 equates them.
  EXPECT_FALSE(equalsNoCase("[", "{"));
  EXPECT_FALSE(equalsNoCase("@", "`"));
  EXPECT_FALSE(equalsNoCase("\xc1", "\xe1"));
  EXPECT_EQ(asciiLower('Z'), 'z');
  EXPECT_EQ(asciiUpper('a'), 'A');
  EXPECT_EQ(asciiLower('\xc1'), '\xc1');
}

TEST(AsciiCase, APrefixMustStartTheText) {
  EXPECT_TRUE(startsWithNoCase("MESSAGE-id: x", "message-id:"));
  EXPECT_FALSE(startsWithNoCase("Reply-To: x", "to:"));
  EXPECT_FALSE(startsWithNoCase("To", "to:"));
  EXPECT_TRUE(startsWithNoCase("anything", ""));
}

TEST(CString, ATextEndsAtItsFirstNul) {
  EXPECT_EQ(untilNul("ab\0cd\0"s), "ab");
  EXPECT_EQ(untilNul("abcd"), "abcd");
  EXPECT_EQ(untilNul("\0ab"s), "");
}

}  // namespace
}  // namespace lumo
