// The link index cleanup at exit over a generated store: a link index of
// 10,000 lines without a location over 1,000,000 mails, against one
// mailbox-wide search (FindMailInMailboxes) of the same store in the same
// run; and against the literal line-by-line cleanup on 1,000 lines over
// 100,000 mails. Half of the lines' shortcut mails lie somewhere in the
// store (their lines get a location), the other half are gone (dropped).
//
// Usage: cleanup_bench [directory]   (default: the current directory)
// The stores are generated into the directory once and kept for later runs
// (cleanup-store-100k, cleanup-store-1m).
//
// "First run": every file of the store is dropped from the page cache first
// (posix_fadvise DONTNEED), so it is read from disk. "Warm": later runs, the
// best and the median. Peak memory: the max RSS of a child process that does
// only that one thing, beside one that only sets up.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/support/literal_cleanup.h"
#include "bench/support/mail_store_gen.h"
#include "bench/support/timing.h"
#include "linkindex/link_record.h"
#include "resolve/locator/locator.h"
#include "resolve/locator/multi_search.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using lumo::bench::storePathOf;

constexpr int kWarmRuns = 7;

void fail(const std::string& what) {
  std::fprintf(stderr, "cleanup_bench: %s\n", what.c_str());
  std::exit(1);
}

// ---------------------------------------------------------------- the links

// Link `i`: its shortcut id, target Message-ID and the shortcut mail's own.
std::string shortcutId(int i) {
  char id[32];
  std::snprintf(id, sizeof id, "%x_%d", 10000 + i, 10 + i % 9);
  return id;
}
std::string targetMessageId(int i) {
  char id[64];
  std::snprintf(id, sizeof id, "<%08d.%d@mail%02d.example.co.jp>", 7000000 + i, i % 7, i % 40);
  return id;
}
std::string shortcutMessageId(int i) {
  std::string target = targetMessageId(i);
  std::size_t at = target.find('@');
  return target.substr(0, at + 1) + shortcutId(i) + ".LuMO." + target.substr(at + 1);
}
// Even links have their shortcut mail in the store, spread over the folders.
bool present(int i) { return i % 2 == 0; }
std::size_t folderOf(int i) { return static_cast<std::size_t>(i) * 7919u % lumo::bench::kStoreFolders; }

struct LinkSet {
  int count = 0;
  std::map<int, std::string> mailIds;  // where each present link's shortcut mail lies
};

// Makes the store with the shortcut mails of `links` links among its mails.
LinkSet makeStoreWithLinks(const fs::path& store, int mails, int links) {
  LinkSet set;
  set.count = links;
  lumo::bench::StoreLineMaker maker;
  auto addShortcuts = [&](std::size_t folder, const std::string& folderId, unsigned nextKey,
                          std::string& text) {
    for (int i = 0; i < links; ++i) {
      if (!present(i) || folderOf(i) != folder) continue;
      text += maker.line(nextKey++, shortcutMessageId(i), "") + "\r\n";
    }
    (void)folderId;
  };
  lumo::bench::makeStore(store, mails, addShortcuts);
  // The mail ids, worked out the same way whether the store was made now or
  // in an earlier run.
  std::vector<std::string> ids = lumo::bench::storeFolderIds();
  std::vector<unsigned> nextKey(ids.size(), static_cast<unsigned>(mails / lumo::bench::kStoreFolders + 1));
  for (int i = 0; i < links; ++i) {
    if (!present(i)) continue;
    char key[16];
    std::snprintf(key, sizeof key, "%08X", nextKey[folderOf(i)]++);
    set.mailIds[i] = ids[folderOf(i)] + "?" + key;
  }
  return set;
}

// The link index: every line without a location. `expected`: what the
// cleanup must leave.
std::string linkIndex(const LinkSet& set, std::string* expected) {
  std::string text;
  for (int i = 0; i < set.count; ++i) {
    std::string head = shortcutId(i) + "\x01Main.mb\\!!!!Inbox\\\x01?T" + std::to_string(i) + "\x01" +
                       targetMessageId(i) + "\x01";
    text += head + "\r\n";
    if (expected && present(i)) *expected += head + set.mailIds.at(i) + "\r\n";
  }
  return text;
}

// ---------------------------------------------------------------- the host

// No line has a location: the host is asked for a header only for the
// mails whose index lines hold a searched Message-ID.
void installHost(const fs::path& store) { lumo::bench::installStoreHost(store); }

// ---------------------------------------------------------------- runs

using lumo::bench::seconds;
using lumo::bench::Timing;

int cleanFile(const std::string& path, const std::string& content) {
  lumo::testing::writeBytes(path, content);
  lumo::LinkRecord record;
  lumo::StoreLinkLookup store;
  return record.cleanIndex(path.c_str(), store);
}

// Child process: one walk, one cleanup or nothing; prints its max RSS (KB).
int peakMode(const std::string& what, const fs::path& store, int mails, int links, const std::string& index) {
  LinkSet set = makeStoreWithLinks(store, mails, links);
  installHost(store);
  std::string content = linkIndex(set, nullptr);
  lumo::testing::writeBytes(index, content);
  if (what == "walk") lumo::FindMailInMailboxes(shortcutMessageId(1));
  if (what == "clean") {
    lumo::LinkRecord record;
    lumo::StoreLinkLookup lookup;
    if (record.cleanIndex(index.c_str(), lookup) != 1) return 1;
  }
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("%ld\n", usage.ru_maxrss);
  return 0;
}

long peak(const std::string& self, const std::string& what, const fs::path& store, int mails, int links,
          const std::string& index) {
  std::string command = "'" + self + "' --peak " + what + " '" + store.string() + "' " +
                        std::to_string(mails) + " " + std::to_string(links) + " '" + index + "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) fail("cannot run " + command);
  char out[64] = "";
  if (std::fgets(out, sizeof out, pipe) == nullptr) out[0] = '\0';
  if (::pclose(pipe) != 0) fail(command + " failed");
  return std::atol(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 7 && std::strcmp(argv[1], "--peak") == 0)
    return peakMode(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]), argv[6]);
  fs::path dir = fs::weakly_canonical(fs::absolute(argc > 1 ? argv[1] : "."));
  const fs::path large = dir / "cleanup-store-1m", small = dir / "cleanup-store-100k";
  const std::string index = (dir / "cleanup-bench.idx").string();
  const int largeMails = 1000000, largeLinks = 10000, smallMails = 100000, smallLinks = 1000;

  // --- 10,000 lines over 1,000,000 mails against one walk.
  LinkSet links = makeStoreWithLinks(large, largeMails, largeLinks);
  installHost(large);
  std::string expected;
  const std::string content = linkIndex(links, &expected);
  std::vector<fs::path> files = lumo::bench::storeIndexFiles(large);
  std::printf(
      "store: %zu indexes, %.1f MB, %d mails + %zu shortcut mails; link index: %d lines without a "
      "location\n\n",
      files.size(), lumo::bench::megabytes(files), largeMails, links.mailIds.size(), largeLinks);

  const std::string absent = shortcutMessageId(1);  // a shortcut mail that is gone: the walk reads everything
  Timing walk, clean;
  std::string walkFound;
  int cleaned = 0;
  lumo::bench::evict(large);
  walk.first = seconds([&] { walkFound = lumo::FindMailInMailboxes(absent); });
  lumo::bench::evict(large);
  lumo::testing::writeBytes(index, content);
  clean.first = seconds([&] {
    lumo::LinkRecord record;
    lumo::StoreLinkLookup store;
    cleaned = record.cleanIndex(index.c_str(), store);
  });
  for (int round = 0; round < kWarmRuns; ++round) {
    walk.warm.push_back(seconds([&] { walkFound = lumo::FindMailInMailboxes(absent); }));
    lumo::testing::writeBytes(index, content);
    clean.warm.push_back(seconds([&] {
      lumo::LinkRecord record;
      lumo::StoreLinkLookup store;
      cleaned = record.cleanIndex(index.c_str(), store);
    }));
  }
  if (!walkFound.empty()) fail("the walk found " + walkFound);
  if (cleaned != 1 || lumo::testing::readBytes(index) != expected) fail("the cleanup left another index");
  std::printf("  %-44s %10s %10s %10s\n", "", "first ms", "best ms", "median ms");
  std::printf("  %-44s %10.1f %10.1f %10.1f\n", "FindMailInMailboxes, one walk (absent text)",
              walk.first * 1e3, walk.best() * 1e3, walk.median() * 1e3);
  std::printf("  %-44s %10.1f %10.1f %10.1f\n", "cleanIndex, 10,000 lines", clean.first * 1e3,
              clean.best() * 1e3, clean.median() * 1e3);
  std::printf("  cleanup / one walk: %.2fx first, %.2fx best, %.2fx median (goal: at most 3x)\n\n",
              clean.first / walk.first, clean.best() / walk.best(), clean.median() / walk.median());

  std::string self = fs::canonical("/proc/self/exe").string();
  long idle = peak(self, "idle", large, largeMails, largeLinks, index);
  long walkPeak = peak(self, "walk", large, largeMails, largeLinks, index);
  long cleanPeak = peak(self, "clean", large, largeMails, largeLinks, index);
  std::printf("peak memory (max RSS, KB): %ld set up only, %ld with one walk, %ld with the cleanup\n\n", idle,
              walkPeak, cleanPeak);

  // --- 1,000 lines over 100,000 mails against the literal cleanup.
  LinkSet fewer = makeStoreWithLinks(small, smallMails, smallLinks);
  installHost(small);
  std::string smallExpected;
  const std::string smallContent = linkIndex(fewer, &smallExpected);
  lumo::FindMailInMailboxes(absent);  // warms the page cache for both
  std::string literalResult;
  double literal = seconds([&] { literalResult = lumo::reference::literalCleanup(smallContent); });
  Timing batched;
  for (int round = 0; round < kWarmRuns; ++round)
    batched.warm.push_back(seconds([&] { cleaned = cleanFile(index, smallContent); }));
  if (literalResult != smallExpected) fail("the literal cleanup left another index");
  if (cleaned != 1 || lumo::testing::readBytes(index) != smallExpected)
    fail("the cleanup left another index");
  std::printf("%d lines over %d mails (warm):\n", smallLinks, smallMails);
  std::printf("  literal line-by-line cleanup %10.1f ms\n", literal * 1e3);
  std::printf("  cleanIndex                   %10.1f ms (best of %d)\n", batched.best() * 1e3, kWarmRuns);
  std::printf("  speed-up: %.0fx\n", literal / batched.best());
  std::filesystem::remove(index);
  return 0;
}
