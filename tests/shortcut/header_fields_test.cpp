// Header field splitting: folded fields as one unit, normalised line ends, the blank line.
#include "shortcut/header_fields.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using lumo::testing::visible;

std::string joined(const std::vector<std::string>& fields) {
  std::string out;
  for (const std::string& f : fields) out += "[" + visible(f) + "]";
  return out;
}

TEST(HeaderFieldsTest, SplitsLikeTheMimeTree) {
  struct Case {
    std::string text;
    std::vector<std::string> fields;
  } cases[] = {
      {"", {}},
      {"A: 1\r\nB: 2\r\n\r\n", {"A: 1\r\n", "B: 2\r\n", "\r\n"}},
      {"A: 1\r\n\tmore\r\n  again\r\nB: 2\r\n\r\n", {"A: 1\r\n\tmore\r\n  again\r\n", "B: 2\r\n", "\r\n"}},
      {"A: 1\nB: 2\rC: 3\n\n", {"A: 1\r\n", "B: 2\r\n", "C: 3\r\n", "\r\n"}},
      {"A: 1\r\nB: 2", {"A: 1\r\n", "B: 2\r\n"}},
      {"A: 1\r\n\r\nbody: no\r\n", {"A: 1\r\n", "\r\n"}},
      {"\r\n", {"\r\n"}},
      {" lead\r\n\r\n", {" lead\r\n", "\r\n"}},
      {std::string("A: 1\r\n\0B: 2\r\n", 13), {"A: 1\r\n"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(joined(lumo::splitHeaderFields(c.text)), joined(c.fields)) << "input: " << visible(c.text);
  }
}

TEST(HeaderFieldsTest, LongFieldsStayWhole) {
  std::string longLine = "Subject: " + std::string(200000, 'x') + "\r\n";
  std::vector<std::string> fields =
      lumo::splitHeaderFields(longLine + " " + std::string(70000, 'y') + "\r\n\r\n");
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[0].size(), longLine.size() + 70003);
}

TEST(HeaderFieldsTest, PrefixIgnoresCase) {
  EXPECT_TRUE(lumo::startsWithNoCase("MESSAGE-id: x", "message-id:"));
  EXPECT_FALSE(lumo::startsWithNoCase("Reply-To: x", "to:"));
  EXPECT_FALSE(lumo::startsWithNoCase("To", "to:"));
}

}  // namespace
