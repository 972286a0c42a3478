// Code page 932 text: cutting at a character boundary, and which "\" bytes
// are path separators.
#include "text/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace lumo {
namespace {

// "日本" is 93 FA 96 7B; "ソ" is 83 5C.
TEST(Cp932, ACutKeepsWholeCharactersOnly) {
  const std::string text = "a\x93\xfa\x96\x7b";
  EXPECT_EQ(cp932CutLength(text, 5), 5u);
  EXPECT_EQ(cp932CutLength(text, 4), 3u);  // inside "本": it goes whole
  EXPECT_EQ(cp932CutLength(text, 3), 3u);
  EXPECT_EQ(cp932CutLength(text, 2), 1u);
  EXPECT_EQ(cp932CutLength(text, 0), 0u);
  EXPECT_EQ(cp932CutLength(text, 100), 5u);
  // A text already cut inside a character loses the lone first byte.
  EXPECT_EQ(cp932CutLength("ab\x93", 3), 2u);
  EXPECT_EQ(cp932CutLength("ab\x93", 100), 2u);
  // A second byte that looks like ASCII stays with its first.
  EXPECT_EQ(cp932CutLength("\x83\x5cz", 2), 2u);
  EXPECT_EQ(cp932CutLength("x\x83\x5c", 2), 1u);
}

TEST(Cp932, TheSecondByteOfACharacterIsNoSeparator) {
  const std::string id = "Box.mb\\\x83\x5c\\\x95\x5cx\\";  // "Box.mb\ソ\表x\"
  EXPECT_EQ(findCp932Separator(id), 6u);
  EXPECT_EQ(findCp932Separator(id, 7), 9u);
  EXPECT_EQ(findCp932Separator(id, 10), 13u);
  EXPECT_EQ(findCp932Separator(id, 14), std::string::npos);
  EXPECT_EQ(findCp932Separator("\x83\x5c"), std::string::npos);
  EXPECT_EQ(findCp932Separator(""), std::string::npos);
}

}  // namespace
}  // namespace lumo
