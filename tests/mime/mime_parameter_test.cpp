// nextParameter: names, quoted and unquoted values and what follows them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mime/mime_part.h"
#include "mime_test_util.h"

namespace lumo {
namespace {

using testing::visible;

struct ParamCase {
  const char* text;
  const char* expected;  // "name=value|" per parameter, in order
};

std::string allParameters(const char* text) {
  std::vector<char> copy(text, text + std::char_traits<char>::length(text) + 1);
  std::string out;
  char* p = copy.data();
  char* name = nullptr;
  char* value = nullptr;
  while (p && *p) {
    p = nextParameter(p, name, value);
    if (!p) {
      if (name || value) out += "(name or value set with null result)";
      break;
    }
    out += std::string(name) + "=" + value + "|";
    if (p < copy.data() || p > copy.data() + copy.size() - 1) return "(position outside the text)";
  }
  return out;
}

TEST(NextParameterTest, SplitsLikeTheTable) {
  const ParamCase cases[] = {
      {"boundary=abc", "boundary=abc|"},
      {" ; boundary=\"a b;c\"; charset=x", "boundary=a b;c|charset=x|"},
      {"a=1;b=2", "a=1|b=2|"},
      {"a=1 b=2\tc=3", "a=1|b=2|c=3|"},
      {"a=1\r\n\tb=2\r\n", "a=1|b=2|"},
      {"a=  \t\"q\"", "a=q|"},
      {"a=\"open to the end\r\n", "a=open to the end\r\n|"},
      {"a=\"\"; b=", "a=|b=|"},
      {"boundary =x", "boundary =x|"},  // the name is not trimmed
      {"x; y=1", "x; y=1|"},            // everything up to "=" is the name
      {"novalue", ""},
      {"a=1; tail", "a=1|"},
      {";;;", ""},
  };
  for (const ParamCase& c : cases)
    EXPECT_EQ(visible(allParameters(c.text)), visible(c.expected)) << "text " << visible(c.text);
}

TEST(NextParameterTest, NoEqualsGivesNullNameAndValue) {
  char text[] = "  ; plain";
  char* name = text;
  char* value = text;
  EXPECT_EQ(nextParameter(text, name, value), nullptr);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(value, nullptr);
  EXPECT_EQ(nextParameter(nullptr, name, value), nullptr);
}

TEST(NextParameterTest, ReturnsPositionAfterSeparators) {
  char text[] = "a=\"v\" ;  b=w";
  char* name = nullptr;
  char* value = nullptr;
  char* next = nextParameter(text, name, value);
  ASSERT_NE(next, nullptr);
  EXPECT_STREQ(next, "b=w");
  char* last = nextParameter(next, name, value);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(*last, '\0');
  EXPECT_EQ(last, text + sizeof text - 1);
}

}  // namespace
}  // namespace lumo
