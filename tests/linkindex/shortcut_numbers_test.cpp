// The shortcut id numbers a link index holds.
#include "linkindex/shortcut_numbers.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace {

using lumo::testing::TempDir;
using lumo::testing::writeBytes;

TEST(ShortcutNumbersTest, TheNumberIsTheHexadecimalPartOfAnId) {
  std::uint32_t n = 0;
  EXPECT_TRUE(lumo::shortcutIdNumber("2711_12", n));
  EXPECT_EQ(n, 0x2711u);
  EXPECT_TRUE(lumo::shortcutIdNumber("ffffffff_0", n));
  EXPECT_EQ(n, 0xffffffffu);
  EXPECT_TRUE(lumo::shortcutIdNumber("00002711_3", n));
  EXPECT_EQ(n, 0x2711u);
  for (const char* bad : {"", "2711", "DEL2711_12", "2711_x", "100000000_1", "_1"})
    EXPECT_FALSE(lumo::shortcutIdNumber(bad, n)) << bad;
}

TEST(ShortcutNumbersTest, EveryLineCountsOnceInOrder) {
  TempDir dir;
  std::string path = dir.file("lumo.idx");
  std::vector<std::uint32_t> numbers{99};
  ASSERT_EQ(lumo::readShortcutNumbers(path.c_str(), numbers), 1) << "a missing index holds none";
  EXPECT_TRUE(numbers.empty());

  writeBytes(path,
             "2713_7\x01"
             "a.mb\\I\\\x01?1\x01<a@b>\x01\r\n"
             "2711_3\n"                       // no fields: its id is taken all the same
             "2713_9\x01x\x01y\x01z\x01\r\n"  // the same number with another H
             "DEL2714_1\x01\r\n"              // not an id
             "\r\n"
             "2712_1\x01" +
                 std::string(600, 'x') +
                 "\r\n"      // over-long
                 "2715_2");  // unfinished last line
  ASSERT_EQ(lumo::readShortcutNumbers(path.c_str(), numbers), 1);
  EXPECT_EQ(numbers, (std::vector<std::uint32_t>{0x2711, 0x2712, 0x2713, 0x2715}));
}

TEST(ShortcutNumbersTest, AnUnreadableIndexIsAFailure) {
  TempDir dir;
  std::string path = dir.file("lumo.idx");
  std::filesystem::create_directory(path);
  std::vector<std::uint32_t> numbers;
  EXPECT_EQ(lumo::readShortcutNumbers(path.c_str(), numbers), 0);
  EXPECT_EQ(lumo::readShortcutNumbers(nullptr, numbers), 0);
}

}  // namespace
