// readLine: line ends, the end of the source and the capacity rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mime/mime_part.h"
#include "mime_test_util.h"

namespace lumo {
namespace {

using testing::visible;

struct ReadCase {
  const char* source;
  std::size_t capacity;
  std::vector<std::string> lines;  // every result until the call that returns 0
};

TEST(ReadLineTest, SplitsLikeTheTable) {
  const ReadCase cases[] = {
      {"", 16, {}},
      {"ab\r\ncd\r\n", 16, {"ab\n", "cd\n"}},
      {"ab\ncd", 16, {"ab\n", "cd"}},
      {"ab\rcd\r", 16, {"ab\n", "cd\n"}},
      {"\r\r\n\n", 16, {"\n", "\n", "\n"}},
      {"a\n\rb", 16, {"a\n", "\n", "b"}},
      // capacity - 1 bytes, then the rest of the physical line
      {"abcdef\r\n", 4, {"abc", "def", "\n"}},
      {"abcde\r\n", 4, {"abc", "de\n"}},
      {"ab\r\n", 4, {"ab\n"}},
  };
  for (const ReadCase& c : cases) {
    const char* cursor = c.source;
    std::vector<std::string> got;
    std::vector<char> buffer(c.capacity + 8, '#');
    for (int guard = 0; guard < 20; ++guard) {
      std::size_t n = readLine(cursor, buffer.data(), c.capacity);
      if (n == 0) break;
      ASSERT_EQ(buffer[n], '\0');
      got.emplace_back(buffer.data(), n);
    }
    std::string expectedText, gotText;
    for (const auto& s : c.lines) expectedText += "[" + visible(s) + "]";
    for (const auto& s : got) gotText += "[" + visible(s) + "]";
    EXPECT_EQ(gotText, expectedText) << "source " << visible(c.source) << " capacity " << c.capacity;
    EXPECT_EQ(*cursor, '\0') << "source " << visible(c.source);
  }
}

TEST(ReadLineTest, ExhaustedSourceKeepsCursorAndStoresEmptyText) {
  const char* source = "x";
  const char* cursor = source;
  char buffer[8];
  EXPECT_EQ(readLine(cursor, buffer, sizeof buffer), 1u);
  EXPECT_EQ(cursor, source + 1);
  buffer[0] = '#';
  EXPECT_EQ(readLine(cursor, buffer, sizeof buffer), 0u);
  EXPECT_EQ(cursor, source + 1);
  EXPECT_EQ(readLine(cursor, buffer, 0), 0u);  // no room at all: nothing written
  EXPECT_EQ(buffer[0], '\0');
}

}  // namespace
}  // namespace lumo
