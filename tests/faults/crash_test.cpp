// Crash injection over every write the plug-in makes: the link index's
// appends and rewrites, the settings file, and the read mark in a host
// folder's "Folder.idx". Each operation runs in a child process that ends
// just before its n-th file step, for every step it has. After each crash
// every file holds its old or its new content, whole; and when the crash
// left the old content, the same operation run again gives what it gives
// without a crash (a leftover temporary file does not get in its way).
//
// LUMO_CRASH_ROUNDS=N runs N rounds (default 2): each round lays out a link
// index of more lines, so that rewrites take more write steps, and picks
// other lines to change. The figures go to standard output.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "crash_sweep.h"
#include "host-sim/core/fixture.h"
#include "host/api/module_state.h"
#include "host/entry_points.h"
#include "linkindex/link_record.h"
#include "platform/profile_file.h"
#include "resolve/locator/locator.h"
#include "settings/settings_store.h"
#include "shortcut/creation.h"
#include "support/store_paths.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using lumo::LinkRecord;
using lumo::LinkUpdateField;
using lumo::testing::crashAtEveryStep;
using lumo::testing::visible;

// A file's bytes; a missing file holds none, as every reader of the plug-in
// takes it (an append may leave a new empty file behind).
using FileState = std::string;

FileState stateOf(const std::string& path) { return lumo::testing::readBytes(path); }

int rounds() {
  const char* text = std::getenv("LUMO_CRASH_ROUNDS");
  int n = text != nullptr ? std::atoi(text) : 2;
  return n > 0 ? n : 2;
}

// Lines in the link index of round r: the first round small, later ones
// larger than a write piece (64 KiB), so that the kept lines before and
// after a change go out in writes of their own, each round a little larger.
int linesOfRound(int r) { return r == 0 ? 3 : 4000 + 531 * r; }

const std::string kInbox = "Box.mb\\Inbox\\";
const std::string kLinks = "Box.mb\\Links\\";

std::string linkId(int i) { return "2711_" + std::to_string(i + 1); }
std::string linkLine(int i) {
  std::string n = std::to_string(i);
  return lumo::testing::linkLine(linkId(i), kInbox, "?k" + n, "<m" + n + "@x>", kLinks + "?s" + n);
}
std::string linkIndex(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += linkLine(i);
  return text;
}

using Whole = std::function<bool(const FileState& left, const FileState& old, const FileState& done)>;

bool oldOrNew(const FileState& left, const FileState& old, const FileState& done) {
  return left == old || left == done;
}

// A settings file in which every key holds its old or its new value, no key
// is lost and none appears that the new file lacks: what writing several
// keys one after another leaves, each key's write whole.
bool everyKeyOldOrNew(const FileState& left, const FileState& old, const FileState& done) {
  auto keys = [](const FileState& bytes) {
    std::map<std::string, std::string> values;
    for (const lumo::platform::ProfileSection& section : lumo::platform::parseProfile(bytes))
      for (const lumo::platform::ProfileEntry& entry : section.entries)
        values[section.name + "/" + entry.name] = entry.value;
    return values;
  };
  const auto was = keys(old), now = keys(left), will = keys(done);
  for (const auto& [key, value] : was)
    if (now.count(key) == 0) return false;
  for (const auto& [key, value] : now) {
    auto before = was.find(key), after = will.find(key);
    if (after == will.end()) return false;
    if (value != after->second && (before == was.end() || value != before->second)) return false;
  }
  return true;
}

// Crashes counted by write path, over every test of the run.
std::map<std::string, int>& tally() {
  static std::map<std::string, int> counts;
  return counts;
}

class CrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fx.loadLinkedPlugin());
    ASSERT_LT(index.size(), sizeof lumo::LinkIndexPath);
    std::strcpy(lumo::LinkIndexPath, index.c_str());
    std::strcpy(lumo::SettingsPath, settings.c_str());
  }
  void TearDown() override { lumo::platform::clearFaults(); }

  // Sweeps a crash over every step of `operation`, with `prepare` laying out
  // the old files each time (leftovers of the last crash removed).
  // `whole(left, old, done)` judges what a crash left in each file.
  void sweep(const std::string& path, const std::vector<std::string>& files,
             const std::function<void()>& prepare, const std::function<int()>& operation,
             const Whole& whole = oldOrNew) {
    auto states = [&] {
      std::vector<FileState> s;
      for (const std::string& f : files) s.push_back(stateOf(f));
      return s;
    };
    auto fresh = [&] {
      for (const std::string& f : files) fs::remove(f + ".tmp");
      prepare();
    };
    fresh();
    const std::vector<FileState> old = states();
    const int result = operation();
    const std::vector<FileState> done = states();
    ASSERT_NE(old, done) << path << ": the operation writes nothing";
    int crashes = crashAtEveryStep(
        fresh, [&] { operation(); },
        [&](int step) {
          const std::vector<FileState> left = states();
          for (std::size_t i = 0; i < files.size(); ++i)
            EXPECT_TRUE(whole(left[i], old[i], done[i])) << path << ", crash before step " << step << ": "
                                                         << files[i] << " holds " << visible(left[i]);
          if (left != old) return;
          EXPECT_EQ(operation(), result) << path << ", again after a crash before step " << step;
          EXPECT_EQ(states(), done) << path << ", again after a crash before step " << step;
        });
    ASSERT_GT(crashes, 0) << path;
    tally()[path] += crashes;
  }

  lumo::hostsim::HostFixture fx;
  lumo::testing::TempDir dir;
  const std::string index = dir.file("lumo.idx");
  const std::string settings = dir.file("lumo.ini");
};

TEST_F(CrashTest, LinkIndexAppendsAndRewritesLeaveTheOldOrTheNewIndex) {
  for (int r = 0; r < rounds(); ++r) {
    const int n = linesOfRound(r);
    const std::string old = linkIndex(n);
    const int at = (r * 7919) % n;  // the line changed this round
    const std::string id = linkId(at);
    auto layOut = [&](const std::string& bytes) {
      return [&, bytes] { lumo::testing::writeBytes(index, bytes); };
    };
    const std::vector<std::string> files = {index};

    LinkRecord fresh;
    fresh.setFields("abc_1", kInbox.c_str(), (kInbox + "?new").c_str(), "<new@x>", (kLinks + "?t").c_str());
    sweep("appendTo", files, layOut(old), [&] { return fresh.appendTo(index.c_str()); });
    sweep("appendTo", files, layOut(old + "2711_9\x01unfinished"),
          [&] { return fresh.appendTo(index.c_str()); });
    sweep(
        "appendTo", files, [&] { fs::remove(index); }, [&] { return fresh.appendTo(index.c_str()); });

    const std::pair<LinkUpdateField, const char*> updates[] = {
        {LinkUpdateField::SetFolderId, "Box.mb\\Moved\\"},
        {LinkUpdateField::SetMailId, "Box.mb\\Moved\\?k9"},
        {LinkUpdateField::SetMessageId, "<other@x>"},
        {LinkUpdateField::SetLocation, "Box.mb\\Elsewhere\\?s"},
        {LinkUpdateField::Remove, nullptr}};
    for (const auto& [field, value] : updates)
      sweep("updateIn", files, layOut(old), [&] {
        LinkRecord record;
        return record.updateIn(index.c_str(), id.c_str(), value, field);
      });

    sweep("storeIn", files, layOut(old), [&] {  // the line rewritten
      LinkRecord record;
      return record.storeIn(index.c_str(), id.c_str(), nullptr, nullptr, nullptr, "Box.mb\\Else\\?z", 0);
    });
    sweep("storeIn", files, layOut(old), [&] {  // a line appended
      LinkRecord record;
      return record.storeIn(index.c_str(), "abc_2", kInbox.c_str(), (kInbox + "?a").c_str(), "<a@x>", nullptr,
                            1);
    });

    // Two deleted shortcut mails, each with the Message-ID its link gave it.
    std::vector<lumo::DeletedShortcut> deleted;
    for (int i : {at, (at + 1) % n}) {
      std::string line = linkLine(i);
      LinkRecord record;
      record.parseLine(line.substr(0, line.size() - 2));
      deleted.push_back({linkId(i), record.shortcutMessageId()});
    }
    sweep("removeLinksOf", files, layOut(old),
          [&] { return LinkRecord::removeLinksOf(index.c_str(), deleted); });
  }
}

// The exit cleanup: the walk over the host's folders, the rewrite of the
// link index, then the new threshold in the settings file.
TEST_F(CrashTest, ExitCleanupLeavesTheOldOrTheNewIndexAndSettings) {
  fx.addFolder(kInbox);
  fx.addFolder(kLinks);
  std::string target = fx.addMail(kInbox, lumo::hostsim::HostFixture::mailSource("T", "<m0@x>"));
  std::string live = fx.addMail(kLinks, lumo::hostsim::HostFixture::mailSource("S", "<m0@2711_1.LuMO.x>"));
  for (int r = 0; r < rounds(); ++r) {
    // Each dead line is looked up on its own (a step or more each): a few.
    const int n = 4 + r;
    // The first line is live where it says; the others name shortcut mails
    // the host does not have, and go.
    const std::string first =
        lumo::testing::linkLine("2711_1", kInbox, target.substr(target.find('?')), "<m0@x>", live);
    const std::string old = first + linkIndex(n).substr(linkLine(0).size());
    sweep(
        "cleanIndex at exit", {index, settings},
        [&] {
          lumo::testing::writeBytes(index, old);
          lumo::testing::writeBytes(settings, "[Settings]\r\nLumo-Count=" + std::to_string(n) + "\r\n");
          lumo::loadSettings(settings.c_str());
        },
        [&] { return BKC_OnExit() == 0 ? 1 : 0; });
  }
}

TEST_F(CrashTest, SettingsWritesLeaveTheOldOrTheNewFile) {
  const std::string old = "[Settings]\r\nSubCh=1\r\nLumo-Count=41\r\nSc-Tag=->\r\n";
  auto layOut = [&] { lumo::testing::writeBytes(settings, old); };
  sweep("settings", {settings}, layOut,
        [&] { return lumo::writeSettingInt(settings.c_str(), lumo::KeyLumoCount, 42); });
  sweep(
      "settings", {settings}, [&] { fs::remove(settings); },
      [&] { return lumo::writeSettingInt(settings.c_str(), lumo::KeyLumoCount, 1); });
  sweep("settings", {settings}, layOut,
        [&] { return lumo::writeSettingText(settings.c_str(), lumo::KeyScTag, "=>"); });
  // The dialog's OK: fourteen keys, one replacement each; a crash between
  // two of them leaves the keys before it new and the rest old.
  sweep(
      "settings", {settings},
      [&] {
        layOut();
        lumo::loadSettings(settings.c_str());
        lumo::Settings.subCh = 0;
        lumo::Settings.toDel = 0;
        std::strcpy(lumo::Settings.scTag, "=>");
        lumo::HotkeyTable[2] = 0x24a;
      },
      [&] { return lumo::writeDialogSettings(settings.c_str()); }, everyKeyOldOrNew);
}

// Creation counts the shortcut in the settings file ("Lumo-Count"), hands
// the mail to the host, and appends its link.
TEST_F(CrashTest, CreationLeavesTheOldOrTheNewCounterAndIndex) {
  fx.addFolder(kInbox);
  fx.addFolder(kLinks);
  std::string target = fx.addMail(kInbox, lumo::hostsim::HostFixture::mailSource("T", "<t@x>"));
  const fs::path links = fx.store().folderPath(kLinks);
  const fs::path pristine = dir.path() / "links";
  fs::copy(links, pristine);
  for (int r = 0; r < rounds(); ++r) {
    const std::string old = linkIndex(linesOfRound(r));
    sweep(
        "creation", {index, settings},
        [&] {
          fs::remove_all(links);
          fs::copy(pristine, links);
          lumo::testing::writeBytes(index, old);
          lumo::testing::writeBytes(settings, "[Settings]\r\nLumo-Count=41\r\n");
          lumo::loadSettings(settings.c_str());
        },
        [&] { return lumo::LumoMakeShortCut(target.c_str(), kLinks.c_str()); });
  }
}

// The read mark: one byte of the host's folder index, in place.
TEST_F(CrashTest, TheReadMarkLeavesTheOldOrTheNewByteAndTheLength) {
  fx.addFolder(kInbox);
  for (int i = 0; i < 50; ++i)
    fx.addMail(kInbox, lumo::hostsim::HostFixture::mailSource("M", "<m" + std::to_string(i) + "@x>"));
  const std::string folderIndex = (fx.store().folderPath(kInbox) / "Folder.idx").string();
  const std::string old = lumo::testing::readBytes(folderIndex);
  for (int r = 0; r < rounds(); ++r) {
    const std::string messageId = "<m" + std::to_string((r * 13) % 50) + "@x>";
    sweep(
        "read mark", {folderIndex}, [&] { lumo::testing::writeBytes(folderIndex, old); },
        [&] { return lumo::MarkFolderIndexEntry(messageId, kInbox); });
    EXPECT_EQ(lumo::testing::readBytes(folderIndex).size(), old.size());
  }
}

// The figures, once every test has run.
class Figures : public ::testing::Environment {
 public:
  void TearDown() override {
    int total = 0;
    for (const auto& [path, crashes] : tally()) {
      std::printf("crashes injected: %-20s %6d\n", path.c_str(), crashes);
      total += crashes;
    }
    std::printf("crashes injected: %-20s %6d (%d rounds)\n", "total", total, rounds());
  }
};
const auto* const figures = ::testing::AddGlobalTestEnvironment(new Figures);

}  // namespace
