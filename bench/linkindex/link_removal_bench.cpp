// Deleting 1,000 shortcut mails at once from a link index of 10,000 lines
// (what the hook does for one delete command), against its anchor: one plain
// rewrite of the same file measured in the same run, as "cat old > new" and
// as a bare write of the resulting bytes flushed to disk (a rewrite must
// flush). For scale, the same deletions one rewrite per mail, as before.
//
// Usage: link_removal_bench [directory]   (default: the current directory)
//
// "First run": the index is dropped from the page cache first (fdatasync,
// posix_fadvise DONTNEED), so it is read from disk. "Warm": the best and the
// median of later runs. Peak memory: the max RSS of a child process that does
// only that one thing, beside one that only sets up.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/support/timing.h"
#include "linkindex/link_record.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr long kLines = 10000;
constexpr long kEvery = 10;  // every 10th line's shortcut is deleted: 1,000
constexpr int kWarmRuns = 9;

void fail(const std::string& what) {
  std::fprintf(stderr, "link_removal_bench: %s\n", what.c_str());
  std::exit(1);
}

std::string idOf(long i) {
  char id[32];
  std::snprintf(id, sizeof id, "%lx_%ld", 10000 + i, 10 + i % 7);
  return id;
}
std::string targetMessageId(long i) { return "<" + std::to_string(7000000 + i) + ".x@example.co.jp>"; }
std::string shortcutMessageId(long i) {
  return "<" + std::to_string(7000000 + i) + ".x@" + idOf(i) + ".LuMO.example.co.jp>";
}

// The index, and what it holds once the deleted shortcuts' lines are gone.
void makeIndex(std::string& all, std::string& kept) {
  char line[256];
  for (long i = 0; i < kLines; ++i) {
    int n = std::snprintf(line, sizeof line,
                          "%s\x01"
                          "Main.mb\\!!!!Inbox\\\x01?%08lX\x01%s\x01Main.mb\\Links\\?%08lX\r\n",
                          idOf(i).c_str(), i, targetMessageId(i).c_str(), i + 7);
    all.append(line, static_cast<std::size_t>(n));
    if (i % kEvery != 0) kept.append(line, static_cast<std::size_t>(n));
  }
}

std::vector<lumo::DeletedShortcut> deletedMails() {
  std::vector<lumo::DeletedShortcut> mails;
  for (long i = 0; i < kLines; i += kEvery) mails.push_back({idOf(i), shortcutMessageId(i)});
  return mails;
}

// The anchor's bare write: the bytes into a new file, flushed, renamed over.
void bareWrite(const std::string& path, const std::string& bytes) {
  std::string temp = path + ".new";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) fail("cannot write " + temp);
  for (std::size_t at = 0; at < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + at, bytes.size() - at);
    if (n <= 0) fail("write failed");
    at += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) fail("fsync failed");
  ::close(fd);
  if (::rename(temp.c_str(), path.c_str()) != 0) fail("rename failed");
}

using lumo::bench::seconds;
using lumo::bench::Timing;

// One measure: `prepare` (untimed) before each run, the page cache dropped
// before the first.
Timing measure(const std::string& path, const std::function<void()>& prepare,
               const std::function<void()>& run) {
  Timing t;
  prepare();
  lumo::bench::evictFile(path);
  t.first = seconds(run);
  for (int i = 0; i < kWarmRuns; ++i) {
    prepare();
    t.warm.push_back(seconds(run));
  }
  return t;
}

// Child process: sets up, then removes the lines, writes the anchor, or
// nothing; prints its max RSS (KB).
int peakMode(const std::string& what, const std::string& path) {
  std::string all, kept;
  makeIndex(all, kept);
  std::vector<lumo::DeletedShortcut> mails = deletedMails();
  lumo::testing::writeBytes(path, all);
  if (what == "remove" && lumo::LinkRecord::removeLinksOf(path.c_str(), mails) != 1) return 1;
  if (what == "anchor") bareWrite(path, kept);
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("%ld\n", usage.ru_maxrss);
  return 0;
}

long peak(const std::string& self, const std::string& what, const std::string& path) {
  std::string command = "'" + self + "' --peak " + what + " '" + path + "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) fail("cannot run " + command);
  char out[64] = "";
  if (std::fgets(out, sizeof out, pipe) == nullptr) out[0] = '\0';
  if (::pclose(pipe) != 0) fail(command + " failed");
  return std::atol(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--peak") == 0) return peakMode(argv[2], argv[3]);
  fs::path dir = fs::weakly_canonical(fs::absolute(argc > 1 ? argv[1] : "."));
  const std::string path = (dir / "removal-bench.idx").string();
  const std::string copy = (dir / "removal-bench-copy.idx").string();
  std::string all, kept;
  makeIndex(all, kept);
  const std::vector<lumo::DeletedShortcut> mails = deletedMails();
  std::printf("link index: %ld lines, %.2f MB; %zu shortcut mails deleted at once\n\n", kLines,
              static_cast<double>(all.size()) / 1e6, mails.size());

  auto fresh = [&] { lumo::testing::writeBytes(path, all); };
  int result = 0;
  Timing removal =
      measure(path, fresh, [&] { result = lumo::LinkRecord::removeLinksOf(path.c_str(), mails); });
  if (result != 1 || lumo::testing::readBytes(path) != kept) fail("removeLinksOf left another index");
  Timing bare = measure(path, fresh, [&] { bareWrite(path, kept); });
  const std::string cat = "cat '" + path + "' > '" + copy + "'";
  Timing catTiming = measure(path, fresh, [&] {
    if (std::system(cat.c_str()) != 0) fail("cat failed");
  });
  // As before: one rewrite per deleted shortcut (one run: it is slow).
  fresh();
  double perMail = seconds([&] {
    for (const lumo::DeletedShortcut& mail : mails)
      lumo::LinkRecord().updateIn(path.c_str(), mail.shortcutId.c_str(), "", lumo::LinkUpdateField::Remove);
  });
  if (lumo::testing::readBytes(path) != kept) fail("updateIn left another index");

  std::printf("  %-46s %10s %10s %10s\n", "", "first ms", "best ms", "median ms");
  auto row = [](const char* what, const Timing& t) {
    std::printf("  %-46s %10.2f %10.2f %10.2f\n", what, t.first * 1e3, t.best() * 1e3, t.median() * 1e3);
  };
  row("removeLinksOf, 1,000 mails (one rewrite)", removal);
  row("anchor: bare write of the result + fsync", bare);
  row("anchor: cat old > new (no flush)", catTiming);
  std::printf("  removal / bare write: %.2fx first, %.2fx best, %.2fx median\n", removal.first / bare.first,
              removal.best() / bare.best(), removal.median() / bare.median());
  std::printf("  one updateIn per mail, as before (warm, one run): %.1f ms (%.0fx the batch)\n\n",
              perMail * 1e3, perMail / removal.best());

  std::string self = fs::canonical("/proc/self/exe").string();
  long idle = peak(self, "idle", path);
  long removePeak = peak(self, "remove", path);
  long anchorPeak = peak(self, "anchor", path);
  std::printf("peak memory (max RSS, KB): %ld set up only, %ld with the removal, %ld with the bare write\n",
              idle, removePeak, anchorPeak);
  fs::remove(path);
  fs::remove(copy);
  return 0;
}
