// Whole-file reads, appends and atomic replacement, with every failing step.
#include "platform/file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using lumo::platform::FileStep;
using lumo::testing::readBytes;
using lumo::testing::TempDir;
using lumo::testing::writeBytes;

class FileTest : public ::testing::Test {
 protected:
  void TearDown() override { lumo::platform::clearFaults(); }
  TempDir dir;
};

TEST_F(FileTest, ReadTellsMissingFromPresent) {
  std::string content = "stale";
  EXPECT_EQ(lumo::platform::readFile(dir.file("none").c_str(), content), lumo::platform::ReadStatus::Missing);
  EXPECT_EQ(content, "");
  std::string bytes("a\r\nb\0c\rd\n", 9);
  writeBytes(dir.file("x"), bytes);
  EXPECT_EQ(lumo::platform::readFile(dir.file("x").c_str(), content), lumo::platform::ReadStatus::Ok);
  EXPECT_EQ(content, bytes);  // binary: no line end translation, NUL kept
}

TEST_F(FileTest, AppendCreatesAndExtends) {
  std::string path = dir.file("log");
  ASSERT_TRUE(lumo::platform::appendFile(path.c_str(), "one\r\n"));
  ASSERT_TRUE(lumo::platform::appendFile(path.c_str(), "two\r\n"));
  EXPECT_EQ(readBytes(path), "one\r\ntwo\r\n");
}

TEST_F(FileTest, ReplaceSwapsTheWholeContentAndLeavesNoTemporaryFile) {
  std::string path = dir.file("index");
  writeBytes(path, "old content that is longer\r\n");
  ASSERT_TRUE(lumo::platform::replaceFile(path.c_str(), "new\r\n"));
  EXPECT_EQ(readBytes(path), "new\r\n");
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  ASSERT_TRUE(lumo::platform::replaceFile(path.c_str(), ""));
  EXPECT_EQ(readBytes(path), "");
}

TEST_F(FileTest, ReplaceCreatesAMissingFile) {
  std::string path = dir.file("fresh");
  ASSERT_TRUE(lumo::platform::replaceFile(path.c_str(), "x"));
  EXPECT_EQ(readBytes(path), "x");
}

// Whatever step fails, the old file stays byte for byte and no temporary
// file is left behind.
TEST_F(FileTest, FailedReplaceKeepsTheOldFileWhole) {
  const FileStep steps[] = {FileStep::OpenTemp, FileStep::Write, FileStep::Flush, FileStep::Rename};
  std::string path = dir.file("index");
  const std::string old = "line 1\r\nline 2\r\n";
  for (FileStep step : steps) {
    writeBytes(path, old);
    lumo::platform::failStep(step);
    EXPECT_FALSE(lumo::platform::replaceFile(path.c_str(), "replacement\r\n")) << static_cast<int>(step);
    EXPECT_EQ(readBytes(path), old) << static_cast<int>(step);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp")) << static_cast<int>(step);
    lumo::platform::clearFaults();
  }
}

TEST_F(FileTest, FailedAppendIsReported) {
  std::string path = dir.file("log");
  writeBytes(path, "kept\r\n");
  for (FileStep step : {FileStep::OpenAppend, FileStep::Write}) {
    lumo::platform::failStep(step);
    EXPECT_FALSE(lumo::platform::appendFile(path.c_str(), "more\r\n"));
    lumo::platform::clearFaults();
  }
  EXPECT_EQ(readBytes(path), "kept\r\n");
}

TEST_F(FileTest, FaultsCanWaitForALaterOccurrence) {
  std::string path = dir.file("log");
  lumo::platform::failStep(FileStep::OpenAppend, 1);
  EXPECT_TRUE(lumo::platform::appendFile(path.c_str(), "a"));
  EXPECT_FALSE(lumo::platform::appendFile(path.c_str(), "b"));
  EXPECT_TRUE(lumo::platform::appendFile(path.c_str(), "c"));
  EXPECT_EQ(readBytes(path), "ac");
}

TEST_F(FileTest, ReadOfADirectoryFails) {
  std::string content;
  EXPECT_EQ(lumo::platform::readFile(dir.path().string().c_str(), content), lumo::platform::ReadStatus::Failed);
}

}  // namespace
