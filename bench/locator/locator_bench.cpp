// The mailbox-wide search against grep, ripgrep and a bare read of the same
// folder indexes, on a generated store of about 1,000,000 mails in 500
// folders (about 200 MB of "Folder.idx"), and its peak memory at 100,000 and
// 1,000,000 mails.
//
// Usage: locator_bench [directory]   (default: the current directory)
// Needs: grep, and ripgrep's rg (Debian package ripgrep: scripts/deps.sh
// bench installs it). The stores are generated into the directory once and
// kept for later runs (store-100k, store-1m).
//
// "First run": every file of the store is dropped from the page cache first
// (posix_fadvise DONTNEED), so it is read from disk. "Warm": the best of the
// following runs (the machine is shared: the best run is the one least
// disturbed by other work).
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

#include "bench/support/mail_store_gen.h"
#include "host/api/host_api.h"
#include "platform/file.h"
#include "resolve/locator/index_scan.h"
#include "resolve/locator/locator.h"
#include "resolve/locator/substring.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kWarmRuns = 7;

void fail(const std::string& what) {
  std::fprintf(stderr, "locator_bench: %s\n", what.c_str());
  std::exit(1);
}

// ---------------------------------------------------------------- the store

// The store generator shared with the other benchmarks.
using lumo::bench::evict;
using lumo::bench::makeStore;
using lumo::bench::megabytes;

// ---------------------------------------------------------------- the host

std::string gDataFolder;
std::string gLastFolder;

void installHost(const fs::path& store) {
  // The mails' headers come from the store's own host; the rest is ours.
  lumo::bench::installStoreHost(store);
  gDataFolder = store.string() + "\\";
  lumo::HostApi.BKA_GetDataFolder = [](void) WINAPI -> LPCSTR { return gDataFolder.c_str(); };
  lumo::HostApi.BKA_GetFolderDisplayName = [](LPCSTR id) WINAPI -> LPCSTR {
    gLastFolder = id;
    return id;
  };
  lumo::HostApi.BKA_SetMessageText = [](HWND, LPCSTR) WINAPI {};
}

// ---------------------------------------------------------------- runs

struct Sample {
  double wall = 1e300;  // seconds
  double cpu = 1e300;   // user and system time of this process and the programs it ran
};

double cpuSeconds() {
  double total = 0;
  for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
    rusage u{};
    ::getrusage(who, &u);
    total += static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
             static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
  }
  return total;
}

Sample timeOnce(const std::function<void()>& run) {
  double cpu0 = cpuSeconds();
  auto t0 = Clock::now();
  run();
  return {std::chrono::duration<double>(Clock::now() - t0).count(), cpuSeconds() - cpu0};
}

struct Tool {
  Tool(const char* n, std::function<void()> r) : name(n), run(std::move(r)) {}
  const char* name;
  std::function<void()> run;
  Sample first;
  Sample warm;  // the best of the warm runs, wall and processor time each
};

// Each tool's first run on an evicted store, then warm rounds in which every
// tool runs once in turn, so that other work on the machine meets all alike.
void measure(const fs::path& store, std::vector<Tool>& tools) {
  for (Tool& tool : tools) {
    evict(store);
    tool.first = timeOnce(tool.run);
  }
  for (int round = 0; round < kWarmRuns; ++round)
    for (Tool& tool : tools) {
      Sample s = timeOnce(tool.run);
      tool.warm.wall = std::min(tool.warm.wall, s.wall);
      tool.warm.cpu = std::min(tool.warm.cpu, s.cpu);
    }
}

std::string capture(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) fail("cannot run " + command);
  char chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
  ::pclose(pipe);
  return out;
}

// The mail id of the first line a grep-like tool printed ("path:line").
std::string mailIdOfMatch(const fs::path& store, const std::string& output) {
  if (output.empty()) return "";
  std::string first = output.substr(0, output.find('\n'));
  std::string prefix = store.string() + "/";
  std::size_t colon = first.find(':', prefix.size());
  if (first.compare(0, prefix.size(), prefix) != 0 || colon == std::string::npos) return "?" + first;
  std::string folder = first.substr(prefix.size(), colon - prefix.size());
  folder = folder.substr(0, folder.size() - std::strlen("Folder.idx"));
  std::replace(folder.begin(), folder.end(), '/', '\\');
  std::string text = first.substr(colon + 1);
  std::size_t a = text.find('\x01'), b = text.find('\x01', a + 1);
  return folder + "?" + text.substr(a + 1, b - a - 1);
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// Reads every index into one reused buffer: the floor of any search.
// 128 KiB: the fastest of 16 KiB to 1 MiB on the machines measured.
void bareRead(const std::vector<fs::path>& files) {
  static std::vector<char> buffer(std::size_t{1} << 17);
  for (const auto& file : files) {
    int fd = ::open(file.c_str(), O_RDONLY);
    while (::read(fd, buffer.data(), buffer.size()) > 0) {
    }
    ::close(fd);
  }
}

// The same search over mapped files instead of reads (the text only, in the
// walk's order): the other way to scan, measured to keep the faster.
std::string mappedSearch(const std::vector<fs::path>& walkOrder, const std::string& text) {
  lumo::locator::SubstringSearch search(text);
  for (const auto& file : walkOrder) {
    lumo::platform::FileView view;
    if (view.open(file.c_str()) != lumo::platform::ReadStatus::Ok) continue;
    std::string_view bytes = view.bytes();
    if (search.findIn(bytes.data(), bytes.data() + bytes.size())) return file.string();
  }
  return "";
}

// The order in which the walk reads the indexes, from the folder names it shows.
std::vector<fs::path> walkOrder(const fs::path& store) {
  std::vector<fs::path> order;
  lumo::HostApi.BKA_GetFolderDisplayName = [](LPCSTR id) WINAPI -> LPCSTR {
    gLastFolder += std::string(id) + "\n";
    return id;
  };
  gLastFolder.clear();
  lumo::FindMailInMailboxes("<absent.order@nowhere.invalid>");
  std::size_t start = 0;
  for (std::size_t end; (end = gLastFolder.find('\n', start)) != std::string::npos; start = end + 1)
    order.push_back(lumo::bench::storePathOf(store, gLastFolder.substr(start, end - start)) / "Folder.idx");
  installHost(store);
  return order;
}

long peakKilobytes(const std::string& self, const fs::path& store, const std::string& text) {
  std::string out = capture(quoted(self) + " --peak " + quoted(store.string()) + " " + quoted(text));
  return std::atol(out.c_str());
}

int peakMode(const char* store, const char* text) {
  installHost(store);
  std::string found = lumo::FindMailInMailboxes(text);
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("%ld %s\n", usage.ru_maxrss, found.c_str());
  return 0;
}

void print(const std::vector<Tool>& tools) {
  std::printf("  %-36s %9s %9s %9s %9s\n", "", "first ms", "warm ms", "warm cpu", "cpu/read");
  const Tool& read = tools.front();
  for (const Tool& t : tools)
    std::printf("  %-36s %9.1f %9.1f %9.1f %8.2fx\n", t.name, t.first.wall * 1e3, t.warm.wall * 1e3,
                t.warm.cpu * 1e3, t.warm.cpu / read.warm.cpu);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--peak") == 0) return peakMode(argv[2], argv[3]);
  fs::path dir = fs::absolute(argc > 1 ? argv[1] : ".");
  if (capture("command -v rg").empty()) fail("rg (ripgrep) is missing: bash scripts/deps.sh bench");
  fs::path small = dir / "store-100k", large = dir / "store-1m";
  makeStore(small, 100000);
  makeStore(large, 1000000);

  installHost(large);
  std::vector<fs::path> files = lumo::bench::storeIndexFiles(large);
  std::vector<fs::path> order = walkOrder(large);
  if (order.size() != files.size()) fail("the walk did not read every index");
  // The target: the last mail of the last folder the walk reads.
  std::string lastIndex;
  if (lumo::platform::readFile(order.back().c_str(), lastIndex) != lumo::platform::ReadStatus::Ok)
    fail("read");
  std::string lastLine = lastIndex.substr(lastIndex.rfind('\n', lastIndex.size() - 2) + 1);
  std::size_t a = lastLine.find('\x01'), b = lastLine.find('\x01', a + 1), c = lastLine.find('\x01', b + 1);
  std::string target = lastLine.substr(b + 1, c - b - 1);
  std::string folder = fs::relative(order.back().parent_path(), large).string() + "/";
  std::replace(folder.begin(), folder.end(), '/', '\\');
  std::string expected = folder + "?" + lastLine.substr(a + 1, b - a - 1);
  std::string absent = "<20991231235959.99999.0@mail99.example.co.jp>";

  std::printf("store: %zu indexes, %.1f MB, 1,000,000 mails; target %s in the last folder read (%s)\n\n",
              files.size(), megabytes(files), target.c_str(), folder.c_str());

  std::string result;
  std::string grep = "LC_ALL=C grep -rF -m1 -- ";
  std::string rg = "rg -j1 -F -m1 --no-config --no-ignore --no-heading --with-filename -- ";
  for (const std::string& text : {target, absent}) {
    bool present = text == target;
    std::string want = present ? expected : "", locatorFound, walkFound, mappedFound, grepOut, rgOut;
    std::vector<Tool> tools = {
        {"bare read, one reused buffer", [&] { bareRead(files); }},
        {"FindMailInMailboxes (reads)", [&] { locatorFound = lumo::FindMailInMailboxes(text); }},
        // A text with a line feed stands in no line: the walk runs and opens
        // every index, but reads none.
        {"  of which the walk (opens, no reads)", [&] { walkFound = lumo::FindMailInMailboxes("\n"); }},
        {"search over mapped files, no walk", [&] { mappedFound = mappedSearch(order, text); }},
        {"LC_ALL=C grep -rF -m1",
         [&] { grepOut = capture(grep + quoted(text) + " " + quoted(large.string())); }},
        {"rg -j1 -F -m1", [&] { rgOut = capture(rg + quoted(text) + " " + quoted(large.string())); }},
    };
    measure(large, tools);
    if (locatorFound != want) fail("the locator found " + locatorFound);
    if (mappedFound != (present ? order.back().string() : "")) fail("the mapped search found " + mappedFound);
    if (mailIdOfMatch(large, grepOut) != want) fail("grep's first hit differs: " + grepOut);
    if (mailIdOfMatch(large, rgOut) != want) fail("rg's first hit differs: " + rgOut);
    std::printf("%s Message-ID %s%s\n", present ? "present" : "absent", text.c_str(),
                present ? " (the same first hit for the locator, grep and rg)" : "");
    print(tools);
    std::printf("  locator warm: %.2fx grep's time, %.2fx rg's (wall); %.2fx, %.2fx (cpu)\n\n",
                tools[1].warm.wall / tools[4].warm.wall, tools[1].warm.wall / tools[5].warm.wall,
                tools[1].warm.cpu / tools[4].warm.cpu, tools[1].warm.cpu / tools[5].warm.cpu);
  }

  std::string self = fs::canonical("/proc/self/exe").string();
  std::printf("peak memory (max RSS of a process that runs one search, KB):\n");
  for (const auto& [name, store] :
       {std::pair<const char*, fs::path>{"100,000 mails", small}, {"1,000,000 mails", large}}) {
    long idle = peakKilobytes(self, store, "");
    long busy = peakKilobytes(self, store, absent);
    std::printf("  %-16s %8ld without a search, %8ld with a whole-store search\n", name, idle, busy);
  }
  return 0;
}
