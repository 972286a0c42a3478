// Directory listing with wildcards, through the Win32 names: our stand-in on
// Linux, the real API under Wine; both must answer alike.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/directory_listing.h"
#include "platform/win32.h"
#include "support/temp_dir.h"

namespace {

using lumo::testing::TempDir;
using lumo::testing::writeBytes;

std::set<std::string> list(const std::string& pattern, std::set<std::string>* dirs = nullptr) {
  std::set<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    names.insert(data.cFileName);
    if (dirs && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) dirs->insert(data.cFileName);
  } while (FindNextFileA(find, &data));
  EXPECT_TRUE(FindClose(find));
  return names;
}

class FindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(dir.path() / "Main.mb");
    std::filesystem::create_directory(dir.path() / "Work.MB");
    std::filesystem::create_directory(dir.path() / "Main.mb" / "!Trash");
    std::filesystem::create_directory(dir.path() / "Main.mb" / "Inbox");
    writeBytes(dir.file("notes.txt"), "x");
    writeBytes(dir.file("Main.mb.bak"), "x");
  }
  // The host gives folders with "\" between them; the plug-in keeps that form.
  std::string windowsPath(const std::string& tail) const { return dir.path().string() + "\\" + tail; }
  TempDir dir;
};

TEST_F(FindTest, MatchesStarPatternsWithoutRegardToCase) {
  std::set<std::string> dirs;
  EXPECT_EQ(list(windowsPath("*.mb"), &dirs), (std::set<std::string>{"Main.mb", "Work.MB"}));
  EXPECT_EQ(dirs, (std::set<std::string>{"Main.mb", "Work.MB"}));
  EXPECT_EQ(list(windowsPath("Main.mb\\*Trash")), (std::set<std::string>{"!Trash"}));
}

TEST_F(FindTest, StarListsEverythingWithDotEntries) {
  std::set<std::string> names = list(windowsPath("Main.mb\\*"));
  EXPECT_EQ(names, (std::set<std::string>{".", "..", "!Trash", "Inbox"}));
}

// Windows lists "." and ".." first, then names in upper-case order, so a
// folder's own "." entry is the first a walk sees.
TEST_F(FindTest, ListsDotEntriesFirstThenNamesInUpperCaseOrder) {
  std::filesystem::create_directory(dir.path() / "Main.mb" / "_under");
  std::filesystem::create_directory(dir.path() / "Main.mb" / "apple");
  std::vector<std::string> order;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(windowsPath("Main.mb\\*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do order.push_back(data.cFileName);
  while (FindNextFileA(find, &data));
  FindClose(find);
  EXPECT_EQ(order, (std::vector<std::string>{".", "..", "!Trash", "apple", "Inbox", "_under"}));
}

TEST_F(FindTest, QuestionMarkTakesExactlyOneCharacter) {
  EXPECT_EQ(list(windowsPath("note?.txt")), (std::set<std::string>{"notes.txt"}));
  EXPECT_TRUE(list(windowsPath("note?.tx")).empty());
}

TEST_F(FindTest, NothingMatchingGivesAnInvalidHandle) {
  WIN32_FIND_DATAA data;
  EXPECT_EQ(FindFirstFileA(windowsPath("*.none").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(FindFirstFileA(windowsPath("missing\\*").c_str(), &data), INVALID_HANDLE_VALUE);
}

TEST_F(FindTest, ReportsFileSizes) {
  writeBytes(dir.file("sized.txt"), std::string(1234, 'x'));
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(windowsPath("sized.txt").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 1234u);
  EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  FindClose(find);
}

TEST_F(FindTest, ListingWalksEntriesInOrderWithTheirKinds) {
  std::vector<std::string> seen;
  lumo::platform::DirectoryListing listing(windowsPath("Main.mb\\*"));
  ASSERT_TRUE(listing.any());
  do
    seen.push_back(std::string(listing.name()) + (listing.isDirectory() ? "/" : "") +
                   (listing.isDotEntry() ? "." : ""));
  while (listing.next());
  EXPECT_FALSE(listing.next());  // stays at the end
  EXPECT_EQ(seen, (std::vector<std::string>{"./.", "../.", "!Trash/", "Inbox/"}));

  lumo::platform::DirectoryListing none(windowsPath("*.none"));
  EXPECT_FALSE(none.any());
  EXPECT_FALSE(none.next());
  lumo::platform::DirectoryListing file(windowsPath("notes.txt"));
  ASSERT_TRUE(file.any());
  EXPECT_FALSE(file.isDirectory());
}

}  // namespace
