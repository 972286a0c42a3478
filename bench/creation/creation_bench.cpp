// Creates 1,000 shortcuts into a folder that already holds 100,000 mails,
// through the substitute host in this process, and says where the time goes:
// the host's BKA_AppendMessage (the substitute host's own store) apart from
// the plug-in's part (composing, the link index, the look-up of the new mail).
// Anchor, measured in the same run: the file work a shortcut cannot do
// without, one plain read of the destination folder's index (where the new
// mail is looked up) and one write of the settings file's bytes flushed to
// disk (the counter is stored at every creation). The first shortcut is
// timed apart from the rest; peak memory is the resident peak of the whole
// creation over the resident size before it.
// Usage: creation_bench [mails-in-folder] [shortcuts]
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/support/resident_memory.h"
#include "host-sim/core/fixture.h"
#include "host/api/host_api.h"
#include "host/api/module_state.h"
#include "linkindex/link_record.h"
#include "linkindex/shortcut_numbers.h"
#include "platform/file.h"
#include "resolve/locator/locator.h"
#include "settings/settings_store.h"
#include "shortcut/creation.h"

namespace {

using Clock = std::chrono::steady_clock;
using lumo::hostsim::HostFixture;
using lumo::hostsim::MailStore;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "failed: %s\n", what);
    std::exit(1);
  }
}

// Time spent inside the host's BKA_AppendMessage.
double appendMs = 0;
BOOL(WINAPI* hostAppend)(LPCSTR, LPCSTR) = nullptr;
BOOL WINAPI timedAppend(LPCSTR folder, LPCSTR message) {
  auto start = Clock::now();
  BOOL result = hostAppend(folder, message);
  appendMs += msSince(start);
  return result;
}

// Time spent inside the host's BKA_GetHeader: the substitute store finds a
// mail by reading its folder's whole index, so each call costs that read.
double headerMs = 0;
LPSTR(WINAPI* hostGetHeader)(LPCSTR) = nullptr;
LPSTR WINAPI timedGetHeader(LPCSTR mailId) {
  auto start = Clock::now();
  LPSTR result = hostGetHeader(mailId);
  headerMs += msSince(start);
  return result;
}

std::string mailSource(long i) {
  char text[512];
  std::snprintf(text, sizeof text,
                "From: Sender %ld <s%ld@example.com>\r\nTo: user@example.com\r\nSubject: Mail number %ld\r\n"
                "Date: Tue, 08 Dec 2026 07:00:00 +0900\r\nMessage-ID: <%ld.mail@example.com>\r\n"
                "Content-Type: text/plain\r\n\r\nBody %ld.\r\n",
                i, i, i, i, i);
  return text;
}

// Average of `runs` timings of f, in milliseconds.
template <class F>
double averageMs(int runs, F&& f) {
  auto start = Clock::now();
  for (int i = 0; i < runs; ++i) f();
  return msSince(start) / runs;
}

// Writes a folder of `count` mails at once: their files and one index.
void fillFolder(MailStore& store, const std::string& folder, long count) {
  std::string index;
  for (long i = 1; i <= count; ++i) {
    char key[24];
    std::snprintf(key, sizeof key, "%08lX", i);
    std::string source = mailSource(i);
    check(lumo::hostsim::writeFile(store.folderPath(folder) / (std::string(key) + ".eml"), source),
          "mail file");
    index += MailStore::indexLine(key, source, false) + "\r\n";
  }
  check(lumo::hostsim::writeFile(store.folderPath(folder) / "Folder.idx", index), "folder index");
}

}  // namespace

int main(int argc, char** argv) {
  long existing = argc > 1 ? std::atol(argv[1]) : 100000;
  long shortcuts = argc > 2 ? std::atol(argv[2]) : 1000;

  HostFixture fx;
  check(fx.loadLinkedPlugin(), "load");
  std::string settings = (fx.dataFolder() / "lumo.ini").string();
  std::string linkIndex = (fx.dataFolder() / "lumo.idx").string();
  std::strcpy(lumo::SettingsPath, settings.c_str());
  std::strcpy(lumo::LinkIndexPath, linkIndex.c_str());
  lumo::Settings = lumo::SettingsValues{};

  const std::string inbox = fx.addFolder("Bench.mb\\Inbox\\", "Inbox");
  const std::string links = fx.addFolder("Bench.mb\\Links\\", "Links");
  auto start = Clock::now();
  fillFolder(fx.store(), links, existing);
  fillFolder(fx.store(), inbox, shortcuts);
  std::printf("store: %ld mails in the destination folder, %ld targets (built in %.0f ms)\n", existing,
              shortcuts, msSince(start));

  hostAppend = lumo::HostApi.BKA_AppendMessage;
  lumo::HostApi.BKA_AppendMessage = timedAppend;
  hostGetHeader = lumo::HostApi.BKA_GetHeader;
  lumo::HostApi.BKA_GetHeader = timedGetHeader;
  std::vector<std::string> targets = fx.store().mailIds(inbox);
  const long residentBefore = lumo::bench::residentKb();
  lumo::bench::resetPeakResident();
  start = Clock::now();
  double firstMs = 0;
  for (const std::string& target : targets) {
    check(lumo::LumoMakeShortCut(target.c_str(), links.c_str()) == 1, "LumoMakeShortCut");
    if (firstMs == 0) firstMs = msSince(start);
  }
  double totalMs = msSince(start);
  const long creationPeak = lumo::bench::peakResidentKb() - residentBefore;
  lumo::HostApi.BKA_AppendMessage = hostAppend;
  const double creationHeaderMs = headerMs;

  check(fx.store().mailIds(links).size() == static_cast<std::size_t>(existing + shortcuts),
        "shortcuts stored");
  check(lumo::Settings.lumoCount == shortcuts, "counter");

  // The plug-in's steps one by one, each as often as it runs per shortcut:
  // the look-up of the newest shortcut (the last line of the destination
  // folder's index), the counter written to the settings file, the link
  // index read for the numbers it holds and the new line appended to it.
  std::string newest = "<" + std::to_string(shortcuts) + ".mail@";
  char id[64];
  std::snprintf(id, sizeof id, "%x_7.LuMO.example.com>", static_cast<unsigned>(shortcuts + 10000));
  newest += id;
  const int runs = 50;
  headerMs = 0;
  double lookupMs = averageMs(
      runs, [&] { check(!lumo::FindMailInFolder(newest, links).empty(), "look-up of the newest"); });
  const double lookupHeaderMs = headerMs / runs;
  lumo::HostApi.BKA_GetHeader = hostGetHeader;
  int count = lumo::Settings.lumoCount;
  double counterMs = averageMs(runs, [&] {
    check(lumo::writeSettingInt(lumo::SettingsPath, lumo::KeyLumoCount, ++count), "counter");
  });
  std::vector<std::uint32_t> numbers;
  double numbersMs =
      averageMs(runs, [&] { check(lumo::readShortcutNumbers(lumo::LinkIndexPath, numbers), "numbers"); });
  std::string scratch = (fx.dataFolder() / "scratch.idx").string();
  lumo::LinkRecord record;
  record.setFields("2711_7", inbox.c_str(), (inbox + "?00000001").c_str(), "<1.mail@example.com>",
                   (links + "?00000001").c_str());
  double appendLineMs = averageMs(runs, [&] { check(record.appendTo(scratch.c_str()), "link line"); });
  double hostGettersMs = averageMs(runs, [&] {
    lumo::HostApi.BKA_Free(lumo::HostApi.BKA_GetHeader(targets.back().c_str()));
    lumo::HostApi.BKA_GetFolderDisplayName(links.c_str());
  });

  // The anchor: the destination folder's index read whole, and the settings
  // file's bytes written anew and flushed.
  const std::string folderIndex = (fx.store().folderPath(links) / "Folder.idx").string();
  std::string indexBytes, settingsBytes;
  check(lumo::platform::readFile(lumo::SettingsPath, settingsBytes) == lumo::platform::ReadStatus::Ok,
        "settings read");
  const std::string bare = (fx.dataFolder() / "bare.ini").string();
  double anchorMs = averageMs(runs, [&] {
    check(lumo::platform::readFile(folderIndex.c_str(), indexBytes) == lumo::platform::ReadStatus::Ok,
          "folder index read");
    int fd = ::open(bare.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    check(fd >= 0 &&
              ::write(fd, settingsBytes.data(), settingsBytes.size()) ==
                  static_cast<ssize_t>(settingsBytes.size()) &&
              ::fdatasync(fd) == 0 && ::close(fd) == 0,
          "bare write");
  });
  const double pluginEach = (totalMs - appendMs - creationHeaderMs) / shortcuts;

  std::printf("created %ld shortcuts in %.0f ms (%.2f ms each; the first %.2f ms)\n", shortcuts, totalMs,
              totalMs / shortcuts, firstMs);
  std::printf("  host BKA_AppendMessage (substitute store): %.0f ms (%.0f%%)\n", appendMs,
              100 * appendMs / totalMs);
  std::printf("  host BKA_GetHeader (substitute store): %.0f ms (%.0f%%)\n", creationHeaderMs,
              100 * creationHeaderMs / totalMs);
  std::printf("  the rest (plug-in, and the host's folder name): %.0f ms (%.2f ms each)\n",
              totalMs - appendMs - creationHeaderMs, pluginEach);
  std::printf("steps of one shortcut, measured alone (ms):\n");
  std::printf(
      "  look-up of the new mail in the folder's index (%ld lines): %.2f (host's BKA_GetHeader %.2f)\n",
      existing + shortcuts, lookupMs, lookupHeaderMs);
  std::printf("  Lumo-Count written to the settings file:                  %.2f\n", counterMs);
  std::printf("  shortcut numbers read from the link index (%ld lines):     %.2f\n", shortcuts, numbersMs);
  std::printf("  link line appended:                                        %.2f\n", appendLineMs);
  std::printf("  host's BKA_GetHeader and BKA_GetFolderDisplayName:         %.2f\n", hostGettersMs);
  std::printf("anchor: folder index read (%.1f MB) + settings bytes written and flushed: %.2f ms\n",
              static_cast<double>(indexBytes.size()) / 1e6, anchorMs);
  std::printf("plug-in's part / anchor: %.2f (%.2f ms each, the host's calls left out)\n",
              pluginEach / anchorMs, pluginEach);
  std::printf("peak memory of the creation over the resident size before (KB): %ld\n", creationPeak);
  return 0;
}
