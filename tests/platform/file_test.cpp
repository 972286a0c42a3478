// Whole-file reads, mapped views, appends and atomic replacement, with every
// failing step.
#include "platform/file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

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
  EXPECT_EQ(lumo::platform::readFile(dir.path().string().c_str(), content),
            lumo::platform::ReadStatus::Failed);
}

TEST_F(FileTest, ViewShowsTheWholeFileAsItIs) {
  lumo::platform::FileView view;
  std::string bytes("a\r\nb\0c\rd\n\x81\x40", 11);
  writeBytes(dir.file("x"), bytes);
  ASSERT_EQ(view.open(dir.file("x").c_str()), lumo::platform::ReadStatus::Ok);
  EXPECT_EQ(view.bytes(), bytes);

  std::string large(3 * 1024 * 1024 + 7, 'L');
  large[large.size() - 1] = '!';
  writeBytes(dir.file("large"), large);
  ASSERT_EQ(view.open(dir.file("large").c_str()),
            lumo::platform::ReadStatus::Ok);  // the first view is let go
  EXPECT_EQ(view.bytes().size(), large.size());
  EXPECT_EQ(view.bytes(), large);

  view.close();
  EXPECT_TRUE(view.bytes().empty());
  view.close();  // closing twice is harmless
}

TEST_F(FileTest, ViewOfEmptyMissingAndUnreadableFiles) {
  lumo::platform::FileView view;
  writeBytes(dir.file("x"), "content");
  writeBytes(dir.file("empty"), "");
  ASSERT_EQ(view.open(dir.file("x").c_str()), lumo::platform::ReadStatus::Ok);

  EXPECT_EQ(view.open(dir.file("empty").c_str()), lumo::platform::ReadStatus::Ok);
  EXPECT_TRUE(view.bytes().empty());

  ASSERT_EQ(view.open(dir.file("x").c_str()), lumo::platform::ReadStatus::Ok);
  EXPECT_EQ(view.open(dir.file("none").c_str()), lumo::platform::ReadStatus::Missing);
  EXPECT_TRUE(view.bytes().empty());

  EXPECT_EQ(view.open(dir.path().string().c_str()), lumo::platform::ReadStatus::Failed);
  EXPECT_TRUE(view.bytes().empty());

  lumo::platform::failStep(FileStep::OpenRead);
  EXPECT_EQ(view.open(dir.file("x").c_str()), lumo::platform::ReadStatus::Failed);
  EXPECT_TRUE(view.bytes().empty());
  EXPECT_EQ(view.open(dir.file("x").c_str()), lumo::platform::ReadStatus::Ok);  // the fault was used up
  EXPECT_EQ(view.bytes(), "content");
}

// A closed view lets the file be replaced; a new view shows the new bytes.
TEST_F(FileTest, ViewAfterReplacementShowsTheNewContent) {
  std::string path = dir.file("index");
  writeBytes(path, "old\r\n");
  lumo::platform::FileView view;
  ASSERT_EQ(view.open(path.c_str()), lumo::platform::ReadStatus::Ok);
  EXPECT_EQ(view.bytes(), "old\r\n");
  view.close();
  ASSERT_TRUE(lumo::platform::replaceFile(path.c_str(), "new content\r\n"));
  ASSERT_EQ(view.open(path.c_str()), lumo::platform::ReadStatus::Ok);
  EXPECT_EQ(view.bytes(), "new content\r\n");
}

TEST_F(FileTest, AppendOnNewLineEndsAnUnfinishedLastLineFirst) {
  struct Case {
    const char* name;
    std::optional<std::string> before;  // none: the file is missing
    std::string after;
  } cases[] = {
      {"missing file", std::nullopt, "new\r\n"},
      {"empty file", "", "new\r\n"},
      {"finished with CR LF", "a\r\n", "a\r\nnew\r\n"},
      {"finished with LF", "a\n", "a\nnew\r\n"},
      {"unfinished line", "a", "a\r\nnew\r\n"},
      {"ends in a lone CR", "a\r", "a\r\r\nnew\r\n"},
      {"ends in a NUL", std::string("a\0", 2), std::string("a\0\r\nnew\r\n", 9)},
  };
  for (const Case& c : cases) {
    std::string path = dir.file("index");
    std::filesystem::remove(path);
    if (c.before) writeBytes(path, *c.before);
    ASSERT_TRUE(lumo::platform::appendFileOnNewLine(path.c_str(), "new\r\n")) << c.name;
    EXPECT_EQ(readBytes(path), c.after) << c.name;
  }
  // Only the first append has a line to end.
  std::string path = dir.file("log");
  writeBytes(path, "x");
  ASSERT_TRUE(lumo::platform::appendFileOnNewLine(path.c_str(), "1"));
  ASSERT_TRUE(lumo::platform::appendFileOnNewLine(path.c_str(), "2\r\n"));
  ASSERT_TRUE(lumo::platform::appendFileOnNewLine(path.c_str(), "3\r\n"));
  EXPECT_EQ(readBytes(path), "x\r\n1\r\n2\r\n3\r\n");
}

// The line end and the bytes go out in one write: a failure adds nothing.
TEST_F(FileTest, FailedAppendOnNewLineLeavesTheFileAsItWas) {
  std::string path = dir.file("index");
  for (FileStep step : {FileStep::OpenAppend, FileStep::Write}) {
    writeBytes(path, "unfinished");
    lumo::platform::failStep(step);
    EXPECT_FALSE(lumo::platform::appendFileOnNewLine(path.c_str(), "new\r\n")) << static_cast<int>(step);
    EXPECT_EQ(readBytes(path), "unfinished") << static_cast<int>(step);
    lumo::platform::clearFaults();
  }
  std::string missing = dir.file("none");
  lumo::platform::failStep(FileStep::OpenAppend);
  EXPECT_FALSE(lumo::platform::appendFileOnNewLine(missing.c_str(), "x"));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(FileTest, ReplacementWritesPiecesAndSwapsThemInOnCommit) {
  std::string path = dir.file("index");
  writeBytes(path, "old 1\r\nold 2\r\n");
  writeBytes(path + ".tmp", "stale temporary file from a crash, longer than the new content");
  {
    lumo::platform::FileReplacement out(path.c_str());
    ASSERT_TRUE(out.ok());
    ASSERT_TRUE(out.write("new 1\r\n"));
    ASSERT_TRUE(out.write(""));
    ASSERT_TRUE(out.write(std::string("new\0 2\r\n", 8)));
    EXPECT_EQ(readBytes(path), "old 1\r\nold 2\r\n");  // untouched until the commit
    ASSERT_TRUE(out.commit());
    EXPECT_FALSE(out.ok());
    EXPECT_FALSE(out.commit());  // once only
  }
  EXPECT_EQ(readBytes(path), std::string("new 1\r\nnew\0 2\r\n", 15));
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST_F(FileTest, ReplacementCreatesMissingFilesAndMayBeEmpty) {
  std::string fresh = dir.file("fresh");
  {
    lumo::platform::FileReplacement out(fresh.c_str());
    ASSERT_TRUE(out.write("x\r\n"));
    ASSERT_TRUE(out.commit());
  }
  EXPECT_EQ(readBytes(fresh), "x\r\n");
  {
    lumo::platform::FileReplacement out(fresh.c_str());
    ASSERT_TRUE(out.commit());
  }
  EXPECT_TRUE(std::filesystem::exists(fresh));
  EXPECT_EQ(readBytes(fresh), "");
}

TEST_F(FileTest, ReplacementWithoutCommitLeavesTheOldFile) {
  std::string path = dir.file("index");
  writeBytes(path, "old\r\n");
  {
    lumo::platform::FileReplacement out(path.c_str());
    ASSERT_TRUE(out.write("abandoned\r\n"));
  }
  EXPECT_EQ(readBytes(path), "old\r\n");
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

// Whatever step fails, the replacement reports it, the old file stays byte for
// byte and no temporary file is left behind; a failed write stays failed.
TEST_F(FileTest, FailedReplacementKeepsTheOldFileWhole) {
  struct Case {
    FileStep step;
    int skip;
  } cases[] = {{FileStep::OpenTemp, 0},
               {FileStep::Write, 0},
               {FileStep::Write, 1},
               {FileStep::Flush, 0},
               {FileStep::Rename, 0}};
  std::string path = dir.file("index");
  const std::string old = "line 1\r\nline 2\r\n";
  for (const Case& c : cases) {
    std::string name = std::to_string(static_cast<int>(c.step)) + "/" + std::to_string(c.skip);
    writeBytes(path, old);
    lumo::platform::failStep(c.step, c.skip);
    {
      lumo::platform::FileReplacement out(path.c_str());
      bool first = out.write("first\r\n");
      bool second = out.write("second\r\n");
      bool third = out.write("third\r\n");
      EXPECT_FALSE(out.commit()) << name;
      EXPECT_FALSE(out.ok()) << name;
      if (c.step == FileStep::Write) {
        EXPECT_EQ(first, c.skip != 0) << name;
        EXPECT_FALSE(second) << name;
        EXPECT_FALSE(third) << name;  // no write after a failed one
      }
      if (c.step == FileStep::OpenTemp) {
        EXPECT_FALSE(first || second || third) << name;
      }
      EXPECT_EQ(readBytes(path), old) << name;
    }
    EXPECT_EQ(readBytes(path), old) << name;
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp")) << name;
    lumo::platform::clearFaults();
  }
}

// A second replacement of the same file while one is being written, streamed
// or in one piece, fails and leaves the first one's temporary file as it was.
TEST_F(FileTest, ConcurrentReplacementFailsWithoutHarmingTheFirst) {
  std::string path = dir.file("index");
  writeBytes(path, "old\r\n");
  lumo::platform::FileReplacement first(path.c_str());
  ASSERT_TRUE(first.write("first half\r\n"));
  {
    lumo::platform::FileReplacement second(path.c_str());
    EXPECT_FALSE(second.ok());
    EXPECT_FALSE(second.write("second\r\n"));
    EXPECT_FALSE(second.commit());
  }
  EXPECT_FALSE(lumo::platform::replaceFile(path.c_str(), "whole\r\n"));
  EXPECT_EQ(readBytes(path), "old\r\n");
  ASSERT_TRUE(first.write("second half\r\n"));
  ASSERT_TRUE(first.commit());
  EXPECT_EQ(readBytes(path), "first half\r\nsecond half\r\n");
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

// The system refuses to rename a file over a folder, empty or not: the commit
// reports it at once, takes its temporary file away and leaves the folder.
TEST_F(FileTest, ReplacementOverAFolderFails) {
  for (bool empty : {true, false}) {
    std::filesystem::path folder = dir.path() / (empty ? "empty" : "full");
    std::string path = folder.string();
    std::filesystem::create_directory(folder);
    if (!empty) writeBytes((folder / "kept").string(), "kept");
    {
      lumo::platform::FileReplacement out(path.c_str());
      ASSERT_TRUE(out.ok()) << path;
      ASSERT_TRUE(out.write("x\r\n"));
      EXPECT_FALSE(out.commit()) << path;
      EXPECT_FALSE(std::filesystem::exists(path + ".tmp")) << path;
    }
    EXPECT_FALSE(lumo::platform::replaceFile(path.c_str(), "x\r\n")) << path;
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp")) << path;
    EXPECT_TRUE(std::filesystem::is_directory(folder)) << path;
    if (!empty) {
      EXPECT_EQ(readBytes((folder / "kept").string()), "kept");
    }
  }
}

// Another process may start a rewrite of the same file at any moment of a
// commit, even between the flush and the rename: it fails, and the first
// one's bytes go into place whole.
TEST_F(FileTest, ReplacementStartedDuringACommitFails) {
  std::string path = dir.file("index");
  for (FileStep step : {FileStep::Flush, FileStep::Rename}) {
    writeBytes(path, "old\r\n");
    bool streamed = true, whole = true;
    lumo::platform::atStep(step, [&] {
      lumo::platform::FileReplacement second(path.c_str());
      streamed = second.write("second\r\n") && second.commit();
      whole = lumo::platform::replaceFile(path.c_str(), "whole\r\n");
    });
    {
      lumo::platform::FileReplacement first(path.c_str());
      ASSERT_TRUE(first.write("first\r\n"));
      EXPECT_TRUE(first.commit()) << static_cast<int>(step);
    }
    EXPECT_FALSE(streamed) << static_cast<int>(step);
    EXPECT_FALSE(whole) << static_cast<int>(step);
    EXPECT_EQ(readBytes(path), "first\r\n") << static_cast<int>(step);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp")) << static_cast<int>(step);
  }
}

std::string stepNames(const std::vector<FileStep>& steps) {
  const char* names[] = {"OpenRead", "OpenAppend", "OpenTemp", "Write", "Flush", "Rename"};
  std::string out;
  for (FileStep step : steps) out.append(out.empty() ? "" : " ").append(names[static_cast<int>(step)]);
  return out;
}

// The bytes reach the disk before the new name does: a crash between the two
// must never leave the file's name on bytes that were not yet written out.
TEST_F(FileTest, ReplacementFlushesBeforeItRenames) {
  std::string path = dir.file("index");
  writeBytes(path, "old\r\n");
  lumo::platform::recordSteps();
  {
    lumo::platform::FileReplacement out(path.c_str());
    ASSERT_TRUE(out.write("a\r\n"));
    ASSERT_TRUE(out.write("b\r\n"));
    ASSERT_TRUE(out.commit());
  }
  EXPECT_EQ(stepNames(lumo::platform::recordedSteps()), "OpenTemp Write Write Flush Rename");
  lumo::platform::recordSteps();
  ASSERT_TRUE(lumo::platform::replaceFile(path.c_str(), "c\r\n"));
  EXPECT_EQ(stepNames(lumo::platform::recordedSteps()), "OpenTemp Write Flush Rename");
  // A failed flush stops the replacement before its rename.
  lumo::platform::recordSteps();
  lumo::platform::failStep(FileStep::Flush);
  EXPECT_FALSE(lumo::platform::replaceFile(path.c_str(), "d\r\n"));
  EXPECT_EQ(stepNames(lumo::platform::recordedSteps()), "OpenTemp Write");
  EXPECT_EQ(readBytes(path), "c\r\n");
}

TEST_F(FileTest, ReplacementInAMissingDirectoryFails) {
  std::string path = (dir.path() / "no-such-dir" / "index").string();
  lumo::platform::FileReplacement out(path.c_str());
  EXPECT_FALSE(out.ok());
  EXPECT_FALSE(out.write("x"));
  EXPECT_FALSE(out.commit());
  EXPECT_FALSE(std::filesystem::exists(path));
}

// Piecewise reads at offsets, as a scan with one reused buffer does them.
TEST_F(FileTest, RandomAccessReadsPiecesAtOffsetsAndNeverCreatesAFile) {
  using lumo::platform::RandomAccessFile;
  std::string bytes("one\r\ntwo\0\x01three\n", 16);
  writeBytes(dir.file("x"), bytes);
  RandomAccessFile file;
  ASSERT_EQ(file.open(dir.file("x").c_str()), lumo::platform::ReadStatus::Ok);
  char piece[8] = {};
  ASSERT_EQ(file.readAt(5, piece, 4), 4);
  EXPECT_EQ(std::string(piece, 4), "two" + std::string(1, '\0'));
  EXPECT_EQ(file.readAt(11, piece, sizeof piece), 5);  // only what is left
  EXPECT_EQ(std::string(piece, 5), "hree\n");
  EXPECT_EQ(file.readAt(16, piece, sizeof piece), 0);
  EXPECT_EQ(file.readAt(1000, piece, sizeof piece), 0);

  for (RandomAccessFile::Mode mode : {RandomAccessFile::Mode::Read, RandomAccessFile::Mode::Update}) {
    EXPECT_EQ(file.open(dir.file("none").c_str(), mode), lumo::platform::ReadStatus::Missing);
    EXPECT_EQ(file.readAt(0, piece, 1), -1);  // nothing open
    EXPECT_EQ(file.open(dir.file("no-dir\\none").c_str(), mode), lumo::platform::ReadStatus::Missing);
    EXPECT_EQ(file.open(dir.path().string().c_str(), mode), lumo::platform::ReadStatus::Failed);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("none")));
  lumo::platform::failStep(FileStep::OpenRead);
  EXPECT_EQ(file.open(dir.file("x").c_str()), lumo::platform::ReadStatus::Failed);
}

// A byte changes in place only where it still holds what was read; the file
// keeps its length in every case.
TEST_F(FileTest, RandomAccessChangesOneByteInPlaceAndNeverExtends) {
  using lumo::platform::RandomAccessFile;
  using Change = RandomAccessFile::ByteChange;
  std::string path = dir.file("Folder.idx");
  writeBytes(path,
             "a\x01"
             "0\r\nb\x01"
             "1\r\n");
  RandomAccessFile file;
  ASSERT_EQ(file.open(path.c_str(), RandomAccessFile::Mode::Update), lumo::platform::ReadStatus::Ok);
  EXPECT_EQ(file.changeByte(2, '0', '1'), Change::Changed);
  EXPECT_EQ(file.changeByte(7, '0', '1'), Change::Differs);   // holds "1"
  EXPECT_EQ(file.changeByte(10, '0', '1'), Change::Differs);  // past the end: never written
  lumo::platform::failStep(FileStep::Write);
  EXPECT_EQ(file.changeByte(0, 'a', 'A'), Change::Failed);
  file.close();
  EXPECT_EQ(readBytes(path),
            "a\x01"
            "1\r\nb\x01"
            "1\r\n");

  ASSERT_EQ(file.open(path.c_str()), lumo::platform::ReadStatus::Ok);
  EXPECT_EQ(file.changeByte(0, 'a', 'A'), Change::Failed);  // opened for reading only
  file.close();
  EXPECT_EQ(readBytes(path),
            "a\x01"
            "1\r\nb\x01"
            "1\r\n");
}

// The host keeps reading and writing its files while the plug-in has one
// open, and the plug-in sees what the host wrote.
TEST_F(FileTest, RandomAccessFileSharesTheFileWithOtherReadersAndWriters) {
  using lumo::platform::RandomAccessFile;
  std::string path = dir.file("Folder.idx");
  writeBytes(path, "old\r\n");
  RandomAccessFile file;
  ASSERT_EQ(file.open(path.c_str(), RandomAccessFile::Mode::Update), lumo::platform::ReadStatus::Ok);
  EXPECT_EQ(readBytes(path), "old\r\n");
  {
    std::fstream other(path, std::ios::in | std::ios::out | std::ios::binary);
    ASSERT_TRUE(other.is_open());
    other.seekp(0);
    other.write("new", 3);
  }
  char bytes[5] = {};
  ASSERT_EQ(file.readAt(0, bytes, sizeof bytes), 5);
  EXPECT_EQ(std::string(bytes, 5), "new\r\n");
  file.close();
}

}  // namespace
