// Times BKC_OnOpenMail for a shortcut whose target is where it was recorded,
// with a link index of 100,000 lines (the shortcut's own line last), against
// its anchor measured in the same run: one plain read of the same link index
// into memory. Opening is to cost at most two such reads: it reads the index
// once (whose the line is and whether it is in step), plus the host's work of
// handing over the target, shown apart with a 1-line index. The first open
// comes after the index was dropped from the page cache. Peak memory: the
// resident peak of the first open and of one read, each over the resident
// size just before it. Figures: docs/performance.md.
// Usage: open_bench [lines]   (default 100000)
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "bench/support/resident_memory.h"
#include "bench/support/timing.h"
#include "host-sim/core/fixture.h"
#include "host/api/module_state.h"
#include "linkindex/link_record.h"
#include "platform/file.h"
#include "resolve/open_mail.h"

namespace {

using Clock = std::chrono::steady_clock;

template <class F>
double bestUs(int runs, F&& f) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    auto t0 = Clock::now();
    f();
    best = std::min(best, std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  return best;
}

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "failed: %s\n", what);
    std::exit(1);
  }
}

// `lines` - 1 lines of other shortcuts, then `last`.
void writeIndex(const std::string& path, long lines, const std::string& last) {
  std::string text;
  char line[256];
  for (long i = 0; i + 1 < lines; ++i) {
    int n = std::snprintf(line, sizeof line,
                          "%lx_12\x01"
                          "Box.mb\\!!!!Inbox\\\x01?%08lx\x01<%ld.x@example.com>\x01"
                          "Box.mb\\Links\\?%08lx\r\n",
                          20000 + i, i + 100, i, i + 100);
    text.append(line, static_cast<std::size_t>(n));
  }
  text += last;
  std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Runs f once; gives its time (us) and its resident peak over the resident
// size before it (KB).
template <class F>
std::pair<double, long> onceWithPeak(F&& f) {
  const long before = lumo::bench::residentKb();
  lumo::bench::resetPeakResident();
  auto t0 = Clock::now();
  f();
  double us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
  return {us, lumo::bench::peakResidentKb() - before};
}

}  // namespace

int main(int argc, char** argv) {
  long lines = argc > 1 ? std::atol(argv[1]) : 100000;
  lumo::hostsim::HostFixture fx;
  const std::string inbox = "Box.mb\\!!!!Inbox\\", links = "Box.mb\\Links\\";
  fx.addFolder(inbox, "Inbox");
  fx.addFolder(links, "Links");
  check(fx.loadLinkedPlugin(), "load");
  std::string target = fx.addMail(inbox,
                                  "From: a@example.com\r\nSubject: Target\r\nMessage-ID: <t@example.com>\r\n"
                                  "Content-Type: text/plain\r\n\r\nHello.\r\n");
  std::string shortcut = fx.addMail(
      links,
      "X-LuMOID: 2711_5\r\nX-MailID: " + target + "\r\nX-FolderID: " + inbox +
          "\r\nX-MEMO: OFF\r\nSubject:-> Target\r\nX-Message-ID: <t@example.com>\r\n"
          "Message-ID: <t@2711_5.LuMO.example.com>\r\n"
          "Content-Type: text/plain; id=\"2711_5\"; charset=\"ISO-2022-JP\"\r\n\r\nMessage From LuMO: [x]");
  std::string index = (fx.dataFolder() / "bench-lumo.idx").string();
  std::strcpy(lumo::LinkIndexPath, index.c_str());
  writeIndex(index, lines, "2711_5\x01" + inbox + "\x01?00000001\x01<t@example.com>\x01" + shortcut + "\r\n");
  const auto size = std::filesystem::file_size(index);
  lumo::bench::evictFile(index);
  auto [first, openPeak] =
      onceWithPeak([&] { check(fx.run("open-mail " + shortcut).empty(), "first open"); });
  check(fx.host().shownText.find("Hello.") != std::string::npos, "target shown");
  lumo::bench::evictFile(index);
  std::string bytes;
  auto [readFirst, readPeak] = onceWithPeak([&] {
    check(lumo::platform::readFile(index.c_str(), bytes) == lumo::platform::ReadStatus::Ok, "read");
  });

  const int runs = 50;
  double open = bestUs(runs, [&] { lumo::OnOpenMail(shortcut.c_str()); });
  check(std::filesystem::file_size(index) == size, "the index line was already in step");
  double read = bestUs(runs, [&] {
    check(lumo::platform::readFile(index.c_str(), bytes) == lumo::platform::ReadStatus::Ok, "read");
  });
  lumo::LinkRecord record;
  double find = bestUs(runs, [&] {
    check(record.findIn(index.c_str(), "2711_5", lumo::LinkFindKind::ByShortcutId) == 1, "findIn");
  });
  double store = bestUs(runs, [&] {
    check(record.storeIn(index.c_str(), "2711_5", inbox.c_str(), target.c_str(), "<t@example.com>",
                         shortcut.c_str(), 1) == 1,
          "storeIn");
  });
  // The same open with the shortcut's line alone in the index: what the
  // host's calls and the folder index mark cost without the link index.
  writeIndex(index, 1, "2711_5\x01" + inbox + "\x01?00000001\x01<t@example.com>\x01" + shortcut + "\r\n");
  double openSmall = bestUs(runs, [&] { lumo::OnOpenMail(shortcut.c_str()); });
  std::printf("link index: %ld lines, %.1f MB (best of %d runs each)\n", lines,
              static_cast<double>(size) / 1e6, runs);
  std::printf("%-34s %10.1f us\n", "first open (host-sim command)", first);
  std::printf("%-34s %10.1f us\n", "first read of the whole index", readFirst);
  std::printf("%-34s %10.1f us\n", "BKC_OnOpenMail (target in place)", open);
  std::printf("%-34s %10.1f us\n", "  the same with a 1-line index", openSmall);
  std::printf("%-34s %10.1f us\n", "  storeIn alone (line in step)", store);
  std::printf("%-34s %10.1f us\n", "  findIn by shortcut id", find);
  std::printf("%-34s %10.1f us\n", "read of the whole index file", read);
  std::printf("open / read: %.2f warm, %.2f first   (open - open with 1 line) / read: %.2f\n", open / read,
              first / readFirst, (open - openSmall) / read);
  std::printf("peak memory over the resident size before (KB): %ld the first open, %ld one read\n", openPeak,
              readPeak);
  return 0;
}
