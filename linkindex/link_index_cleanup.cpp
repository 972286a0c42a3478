// The link index cleanup. A first pass decides what each line needs: kept as
// it is, dropped, or a search for its shortcut mail. The store then answers
// all searches in batches (one read per folder, one walk for every
// mailbox-wide search), and a second pass writes the lines that stay.
#include <algorithm>
#include <numeric>
#include <vector>

#include "linkindex/index_lines.h"
#include "linkindex/link_lookup.h"
#include "linkindex/link_record.h"
#include "platform/file.h"

namespace lumo {
namespace {

// What a line needs before its fate is known.
enum class LineNeed : unsigned char { Keep, Drop, FolderSearch, MailboxSearch };

struct LinePlan {
  LineNeed need;
  std::size_t search;  // index into the folder or the mailbox searches
};

// The searches that name a folder, with the folder each one names.
struct FolderSearches {
  std::vector<std::string> folders;
  std::vector<MailSearch> searches;
};

// Asks the store once per distinct folder, for all that folder's searches.
void runFolderSearches(LinkLookup& lookup, FolderSearches& pending) {
  const std::vector<std::string>& folders = pending.folders;
  std::vector<std::size_t> order(folders.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return folders[a] < folders[b]; });
  std::vector<MailSearch> group;
  for (std::size_t first = 0; first < order.size();) {
    const std::string& folder = folders[order[first]];
    std::size_t end = first;
    group.clear();
    while (end < order.size() && folders[order[end]] == folder)
      group.push_back(std::move(pending.searches[order[end++]]));
    lookup.findInFolder(folder, group);
    for (std::size_t i = first; i < end; ++i) pending.searches[order[i]] = std::move(group[i - first]);
    first = end;
  }
}

bool namesMail(const char* location) {
  return std::string_view(location).find('?') != std::string_view::npos;
}

// What the first pass found out about the lines.
struct CleanupPlan {
  std::vector<LinePlan> lines;
  FolderSearches inFolders;
  std::vector<MailSearch> inMailboxes;
};

// Decides what every line needs, parsing each into `record` and asking the
// host about recorded mail ids. False when a usable line does not parse.
bool planLines(std::string_view content, LinkRecord& record, LinkLookup& lookup, CleanupPlan& plan) {
  IndexLines lines(content);
  IndexLine line;
  while (lines.next(line)) {
    // Lines the index never parses are carried over byte for byte.
    if (!line.usable()) {
      plan.lines.push_back({LineNeed::Keep, 0});
      continue;
    }
    // One line that does not parse (an empty one included) abandons the whole
    // cleanup, so that no line is lost over a file it does not understand.
    if (!record.parseLine(line.text)) return false;
    const char* location = record.shortcutLocation();
    if (location != nullptr && namesMail(location)) {
      // A mail id the host does not know names no folder to search; but a
      // store that could not be read (moved away, a drive gone) proves no
      // mail gone, and the line stays.
      bool gone = lookup.lookUpMail(location) == SearchOutcome::Missing;
      plan.lines.push_back({gone ? LineNeed::Drop : LineNeed::Keep, 0});
      continue;
    }
    std::string messageId = record.shortcutMessageId();
    if (messageId.empty()) {
      plan.lines.push_back({LineNeed::Drop, 0});
    } else if (location != nullptr) {
      plan.lines.push_back({LineNeed::FolderSearch, plan.inFolders.searches.size()});
      plan.inFolders.folders.emplace_back(location);
      plan.inFolders.searches.push_back({std::move(messageId), SearchOutcome::Missing, {}});
    } else {
      plan.lines.push_back({LineNeed::MailboxSearch, plan.inMailboxes.size()});
      plan.inMailboxes.push_back({std::move(messageId), SearchOutcome::Missing, {}});
    }
  }
  return true;
}

}  // namespace

int LinkRecord::cleanIndex(const char* indexPath, LinkLookup& lookup) {
  if (indexPath == nullptr) return 0;
  platform::FileView view;
  if (view.open(indexPath) == platform::ReadStatus::Failed) return 0;
  const std::string_view content = view.bytes();
  CleanupPlan plan;
  if (!planLines(content, *this, lookup, plan)) return 0;
  runFolderSearches(lookup, plan.inFolders);
  if (!plan.inMailboxes.empty()) lookup.findInMailboxes(plan.inMailboxes);

  platform::FileReplacement out(indexPath);
  if (!out.ok()) return 0;
  IndexWriter writer(out);
  IndexLines lines(content);
  IndexLine line;
  for (const LinePlan& need : plan.lines) {
    lines.next(line);
    if (need.need == LineNeed::Keep) writer.keep(line);
    if (need.need == LineNeed::Keep || need.need == LineNeed::Drop) continue;
    const MailSearch& search = need.need == LineNeed::FolderSearch ? plan.inFolders.searches[need.search]
                                                                   : plan.inMailboxes[need.search];
    if (search.outcome == SearchOutcome::Missing) continue;
    // A search that could not read everything it needed proves nothing.
    if (search.outcome == SearchOutcome::Unreadable) {
      writer.keep(line);
      continue;
    }
    parseLine(line.text);
    shortcutLocation_ = search.mailId;
    char repaired[kLinkLineCapacity];
    if (formatLine(repaired, sizeof repaired)) {
      writer.add(repaired);
    } else {
      writer.keep(line);  // the found id does not fit the line: it stays as read
    }
  }
  if (!writer.finish()) return 0;
  view.close();
  return out.commit() ? 1 : 0;
}

}  // namespace lumo
