// The portable profile functions: reading rules, byte-preserving writes and
// atomic replacement, on every platform.
#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/file.h"
#include "support/temp_dir.h"

namespace {

using lumo::platform::FileStep;
using lumo::platform::profileGetInt;
using lumo::platform::profileGetString;
using lumo::platform::profileWriteString;
using lumo::testing::readBytes;
using lumo::testing::TempDir;
using lumo::testing::visible;
using lumo::testing::writeBytes;

class ProfileFileTest : public ::testing::Test {
 protected:
  void TearDown() override { lumo::platform::clearFaults(); }
  std::string withFile(std::string_view content) {
    writeBytes(path, content);
    return path;
  }
  std::string read(const char* section, const char* key, const char* def, std::uint32_t size = 64) {
    std::string buffer(size + 1, '\x7f');
    std::uint32_t n = profileGetString(section, key, def, buffer.data(), size, path.c_str());
    EXPECT_EQ(buffer[n], '\0');
    return buffer.substr(0, n);
  }
  TempDir dir;
  std::string path = dir.file("test.ini");
};

struct ReadCase {
  const char* line;  // the line under [S], key "k"
  const char* expected;
};

TEST_F(ProfileFileTest, ValuesReadWithoutSurroundingBlanksAndQuotes) {
  const ReadCase cases[] = {
      {"k=v", "v"},
      {"  k  =  v w  ", "v w"},
      {"\tK\t=\tv\t", "v"},
      {"k=\"quoted\"", "quoted"},
      {"k='single'", "single"},
      {"k=\"mixed'", "\"mixed'"},
      {"k=\"", "\""},
      {"k=\"\"", ""},  // empty after the quotes
      {"k=", ""},      // present but empty: empty, not the default
      {"k", "d"},      // no "=": the default
      {"k=a=b", "a=b"},
      {"k=1\x1a", "1"},  // Ctrl-Z is a blank
      {"K = x\rj=y", "x"},
  };
  for (const ReadCase& c : cases) {
    withFile(std::string("[S]\r\n") + c.line + "\r\n");
    EXPECT_EQ(visible(read("S", "k", "d")), visible(c.expected)) << "line " << visible(c.line);
  }
}

struct IntCase {
  const char* value;
  std::uint32_t expected;
};

TEST_F(ProfileFileTest, IntegersReadAsTheSystemReadsThem) {
  const IntCase cases[] = {
      {"12", 12},
      {"12abc", 12},
      {"-7", 0u - 7},
      {"+9", 9},
      {"0x1F", 31},
      {"0X1F", 0},
      {"0b101", 5},
      {"0o17", 15},
      {"abc", 0},
      {"\"42\"", 42},
      {"4294967297", 1},
      {"0xffffffff", 0xffffffffu},
      {"1.5", 1},
      {"0x", 0},
      {"- 5", 0},
      {"\" 8\"", 8},
      {"08", 8},
      {"", 77},
      {"\"\"", 77},  // only the first 29 bytes count, and the number wraps
      {"123456789012345678901234567890123", 1849262357u},
  };
  for (const IntCase& c : cases) {
    withFile(std::string("[S]\r\nk=") + c.value + "\r\n");
    EXPECT_EQ(profileGetInt("S", "k", 77, path.c_str()), c.expected) << "value " << visible(c.value);
  }
  EXPECT_EQ(profileGetInt("S", "absent", -3, path.c_str()), 0u - 3);
}

TEST_F(ProfileFileTest, NamesMatchWithoutCaseAndBlanksAndTheFirstDuplicateWins) {
  withFile("[Settings]\r\nSubCh=1\r\nsubch=2\r\n[SETTINGS]\r\nToDel=3\r\n");
  EXPECT_EQ(read(" settings\t", " SUBCH ", "d"), "1");
  EXPECT_EQ(read("Settings", "ToDel", "d"), "d");  // a later duplicate section is not searched
  EXPECT_EQ(read("Other", "SubCh", "d"), "d");
}

TEST_F(ProfileFileTest, DefaultsLoseTrailingSpacesAndQuotes) {
  withFile("[S]\r\n");
  EXPECT_EQ(read("S", "k", "abc   "), "abc");
  EXPECT_EQ(read("S", "k", "  "), " ");
  EXPECT_EQ(read("S", "k", "\"q\""), "q");
  EXPECT_EQ(read("S", "k", nullptr), "");
  EXPECT_EQ(read("S", "k", "a\t"), "a\t");
}

TEST_F(ProfileFileTest, CutsToTheBufferAndReturnsTheLength) {
  withFile("[S]\r\nv=abcdefghij\r\nq=\"abc\"\r\n");
  EXPECT_EQ(read("S", "v", "d", 1), "");
  EXPECT_EQ(read("S", "v", "d", 5), "abcd");
  EXPECT_EQ(read("S", "v", "d", 11), "abcdefghij");
  EXPECT_EQ(read("S", "q", "d", 5), "abc");
  EXPECT_EQ(read("S", "q", "d", 4), "ab");  // the system's own quirk, kept
  char untouched[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(profileGetString("S", "v", "d", untouched, 0, path.c_str()), 0u);
  EXPECT_EQ(untouched[0], 'x');
  EXPECT_EQ(profileGetString("S", "v", "d", nullptr, 10, path.c_str()), 0u);
}

// Text is code page 932: a cut never leaves half of a two-byte character.
TEST_F(ProfileFileTest, CutKeepsWholeDoubleByteCharacters) {
  withFile("[S]\r\nb=\x83\x65\x83\x58\x83\x67\r\nc=a\x95\x5c\r\n");  // テスト, a表
  EXPECT_EQ(visible(read("S", "b", "d", 4)), visible("\x83\x65"));
  EXPECT_EQ(visible(read("S", "b", "d", 5)), visible("\x83\x65\x83\x58"));
  EXPECT_EQ(visible(read("S", "c", "d", 3)), visible("a"));
  EXPECT_EQ(visible(read("S", "c", "d", 4)), visible("a\x95\x5c"));
}

// The plug-in names a section and a key in every call: the system's lists of
// names and its deletions are not imitated, and touch neither buffer nor file.
TEST_F(ProfileFileTest, ListsAndDeletionsAreNotOffered) {
  withFile("[A]\r\nx=1\r\n[B]\r\n");
  std::string list(8, '\x7f');
  EXPECT_EQ(profileGetString("A", nullptr, "d", list.data(), 8, path.c_str()), 0u);
  EXPECT_EQ(list[0], '\0');
  EXPECT_EQ(profileGetString(nullptr, nullptr, "d", list.data(), 8, path.c_str()), 0u);
  EXPECT_FALSE(profileWriteString("A", "x", nullptr, path.c_str()));
  EXPECT_FALSE(profileWriteString("A", nullptr, nullptr, path.c_str()));
  EXPECT_FALSE(profileWriteString(nullptr, nullptr, nullptr, path.c_str()));
  EXPECT_EQ(readBytes(path), "[A]\r\nx=1\r\n[B]\r\n");
}

TEST_F(ProfileFileTest, MissingFileReadsDefaultsAndIsCreatedByAWrite) {
  EXPECT_EQ(read("S", "k", "d"), "d");
  EXPECT_EQ(profileGetInt("S", "k", 4, path.c_str()), 4u);
  EXPECT_FALSE(std::filesystem::exists(path));
  ASSERT_TRUE(profileWriteString("S", "k", "v", path.c_str()));
  EXPECT_EQ(visible(readBytes(path)), visible("[S]\r\nk=v\r\n"));
}

struct WriteCase {
  const char* name;
  const char* before;
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

TEST_F(ProfileFileTest, WritesChangeOnlyTheirOwnLine) {
  const WriteCase cases[] = {
      {"replace keeps the rest", "; note\r\n[S]\r\n  a = 1 ; x\r\n\r\nb=2\n[T]\r\na=3\r\n", "s", "A", "9",
       "; note\r\n[S]\r\na=9\r\n\r\nb=2\n[T]\r\na=3\r\n"},
      {"append after the section's last entry", "[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n", "S", "c", "3",
       "[S]\r\na=1\r\nc=3\r\n\r\n[T]\r\nb=2\r\n"},
      {"append to a headed empty section", "[S]\r\n[T]\r\n", "S", "c", "3", "[S]\r\nc=3\r\n[T]\r\n"},
      {"append without a final line break", "[S]\r\na=1", "S", "b", "2", "[S]\r\na=1\r\nb=2\r\n"},
      {"new section at the end", "[T]\r\nb=2", "S", "a", "1", "[T]\r\nb=2\r\n[S]\r\na=1\r\n"},
      {"LF line replaced with CR LF", "[S]\na=1\nb=2\n", "S", "a", "5", "[S]\na=5\r\nb=2\n"},
      {"line without = gets a value", "[S]\r\nflag\r\n", "S", "flag", "1", "[S]\r\nflag=1\r\n"},
      {"leading blanks of a value dropped", "[S]\r\n", "S", "a", "  v  ", "[S]\r\na=v  \r\n"},
      {"key name keeps its spelling", "[S]\r\nSubCh=0\r\n", "S", "SUBCH", "1", "[S]\r\nSubCh=1\r\n"},
      {"keys before any section", "[S]\r\n", "", "a", "1", "a=1\r\n[S]\r\n"},
      {"UTF-8 mark kept in front", "\xEF\xBB\xBF[S]\r\n", "", "a", "1",
       "\xEF\xBB\xBF"
       "a=1\r\n[S]\r\n"},
  };
  for (const WriteCase& c : cases) {
    withFile(c.before);
    ASSERT_TRUE(profileWriteString(c.section, c.key, c.value, path.c_str())) << c.name;
    EXPECT_EQ(visible(readBytes(path)), visible(c.after)) << c.name << ", before " << visible(c.before);
  }
}

TEST_F(ProfileFileTest, UnchangedValueLeavesTheFileAlone) {
  withFile("[S]\r\n  a =  1  \r\n");
  ASSERT_TRUE(profileWriteString("S", "a", "1", path.c_str()));
  EXPECT_EQ(readBytes(path), "[S]\r\n  a =  1  \r\n");
}

TEST_F(ProfileFileTest, RefusedWrites) {
  withFile("[S]\r\na=1\r\n");
  EXPECT_FALSE(profileWriteString(nullptr, "a", "2", path.c_str()));
  EXPECT_FALSE(profileWriteString("S", "a", "2", dir.file("absent/x.ini").c_str()));
  EXPECT_FALSE(profileWriteString("S", "a", "2", ""));
  // 16-bit text is neither read nor overwritten.
  withFile(std::string("\xFF\xFE[\0S\0]\0", 8));
  EXPECT_FALSE(profileWriteString("S", "a", "2", path.c_str()));
  EXPECT_EQ(readBytes(path), std::string("\xFF\xFE[\0S\0]\0", 8));
}

// Whatever step of the replacement fails, the old file stays whole and the
// write reports failure.
TEST_F(ProfileFileTest, FailedWriteKeepsTheOldFile) {
  const FileStep steps[] = {FileStep::OpenRead, FileStep::OpenTemp, FileStep::Write, FileStep::Flush,
                            FileStep::Rename};
  const std::string old = "[S]\r\na=1\r\nb=2\r\n";
  for (FileStep step : steps) {
    withFile(old);
    lumo::platform::failStep(step);
    EXPECT_FALSE(profileWriteString("S", "a", "changed", path.c_str())) << static_cast<int>(step);
    lumo::platform::clearFaults();
    EXPECT_EQ(readBytes(path), old) << static_cast<int>(step);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp")) << static_cast<int>(step);
  }
}

TEST_F(ProfileFileTest, GarbageAndBinaryFilesReadSafely) {
  const char bytes[] = "\x01\x02[S]\x7f\r\n[S\r\n]]]\r\n=\r\n==\r\n\0\0\0\r\nk=\x80\xff\0tail\r\n";
  std::string garbage(bytes, sizeof bytes - 1);
  garbage += std::string(5000, '\xfe');
  withFile(garbage);
  // "\x01\x02[S]" is no section header: everything lies in the unnamed
  // section before the first header, and the value ends at its zero byte.
  EXPECT_EQ(read("S", "k", "d", 8), "d");
  EXPECT_EQ(visible(read("", "k", "d", 8)), visible("\x80\xff"));
  ASSERT_TRUE(profileWriteString("S", "k", "v", path.c_str()));
  EXPECT_EQ(read("S", "k", "d"), "v");
  EXPECT_EQ(visible(read("", "k", "d", 8)), visible("\x80\xff"));
  EXPECT_EQ(readBytes(path), garbage + "\r\n[S]\r\nk=v\r\n");
}

}  // namespace
