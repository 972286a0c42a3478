// Times findIn, updateIn and storeIn on link index files of growing size, and
// holds a lookup against GNU grep and ripgrep (each a whole program run, as
// a user would search the file) and a crash-safe rewrite against a plain
// copy, with and without its flush to disk. Times are the best of a few warm
// runs; "1st" columns come after the file was dropped from the page cache.
// Usage: link_index_bench [directory]   (default: the current directory)
// Needs: grep, and ripgrep's rg (scripts/deps.sh bench installs it).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/support/timing.h"
#include "linkindex/link_record.h"
#include "platform/file.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string idOf(long i) {
  char id[32];
  std::snprintf(id, sizeof id, "%lx_%ld", 10000 + i, 10 + i % 7);
  return id;
}

void makeIndex(const std::string& path, long lines) {
  std::string text;
  text.reserve(static_cast<std::size_t>(lines) * 80);
  char line[256];
  for (long i = 0; i < lines; ++i) {
    int n = std::snprintf(line, sizeof line,
                          "%s\x01"
                          "abcd.mb\\Inbox\\\x01?%08lx\x01<%ld.x@example.com>\x01"
                          "abcd.mb\\Links\\?%08lx\r\n",
                          idOf(i).c_str(), i, i, i + 7);
    text.append(line, static_cast<std::size_t>(n));
  }
  std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Best of `runs` timings of f, in milliseconds.
template <class F>
double bestMs(int runs, F&& f) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    auto t0 = Clock::now();
    f();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  return best;
}

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "failed: %s\n", what);
    std::exit(1);
  }
}

// One cold run of f (the file evicted first), in milliseconds.
template <class F>
double firstMs(const std::string& path, F&& f) {
  lumo::bench::evictFile(path);
  return bestMs(1, f);
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path dir = argc > 1 ? argv[1] : ".";
  std::string path = (dir / "bench-lumo.idx").string();
  std::string copy = (dir / "bench-copy.idx").string();
  const long sizes[] = {10000, 100000, 1000000};
  std::printf("%8s %6s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s %7s %7s %7s\n", "lines", "MB", "findIn",
              "1st", "grep -F", "1st", "rg -F", "updateIn", "storeIn", "cat>new", "cat+sync", "readFile",
              "1st", "find/gr", "find/rg", "upd/c+s");
  std::printf(
      "(ms; cat+sync: the same copy followed by \"sync new\", which flushes it to disk as a rewrite must;\n"
      " readFile: the whole file read into memory by the plug-in's own read)\n");
  for (long lines : sizes) {
    makeIndex(path, lines);
    double mb = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    int runs = lines >= 1000000 ? 3 : 7;
    std::string key = idOf(lines - 10);
    lumo::LinkRecord record;
    auto findOnce = [&] {
      check(record.findIn(path.c_str(), key.c_str(), lumo::LinkFindKind::ByShortcutId) == 1, "findIn");
    };
    double findFirst = firstMs(path, findOnce);
    double find = bestMs(runs, findOnce);
    std::string grep = "grep -F -m1 '" + key + "' '" + path + "' > /dev/null";
    auto grepOnce = [&] { check(std::system(grep.c_str()) == 0, "grep"); };
    double grepFirst = firstMs(path, grepOnce);
    double grepMs = bestMs(runs, grepOnce);
    std::string rg = "rg -F -m1 '" + key + "' '" + path + "' > /dev/null";
    double rgMs = bestMs(runs, [&] { check(std::system(rg.c_str()) == 0, "rg"); });
    std::string bytes;
    auto readOnce = [&] {
      check(lumo::platform::readFile(path.c_str(), bytes) == lumo::platform::ReadStatus::Ok, "read");
    };
    double readFirst = firstMs(path, readOnce);
    double readMs = bestMs(runs, readOnce);
    int flip = 0;
    double update = bestMs(runs, [&] {
      const char* where = (flip++ % 2) ? "abcd.mb\\Moved\\" : "abcd.mb\\Links\\";
      check(record.updateIn(path.c_str(), key.c_str(), where, lumo::LinkUpdateField::SetLocation) == 1,
            "updateIn");
    });
    double store = bestMs(runs, [&] {
      std::string mail = "abcd.mb\\Inbox\\?" + std::to_string(flip++);
      check(record.storeIn(path.c_str(), key.c_str(), "abcd.mb\\Inbox\\", mail.c_str(), "<m@x>", "", 1) == 1,
            "storeIn");
    });
    std::string cat = "cat '" + path + "' > '" + copy + "'";
    double catMs = bestMs(runs, [&] { check(std::system(cat.c_str()) == 0, "cat"); });
    std::string catSync = cat + " && sync '" + copy + "'";
    double catSyncMs = bestMs(runs, [&] { check(std::system(catSync.c_str()) == 0, "cat+sync"); });
    std::printf(
        "%8ld %6.1f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %7.2f %7.2f %7.2f\n",
        lines, mb, find, findFirst, grepMs, grepFirst, rgMs, update, store, catMs, catSyncMs, readMs,
        readFirst, find / grepMs, find / rgMs, update / catSyncMs);
  }
  if (std::getenv("KEEP")) return 0;
  std::filesystem::remove(path);
  std::filesystem::remove(copy);
  return 0;
}
