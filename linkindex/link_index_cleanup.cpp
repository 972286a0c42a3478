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

}  // namespace

int LinkRecord::cleanIndex(const char* indexPath, LinkLookup& lookup) {
  if (indexPath == nullptr) return 0;
  platform::FileView view;
  if (view.open(indexPath) == platform::ReadStatus::Failed) return 0;
  const std::string_view content = view.bytes();

  std::vector<LinePlan> plans;
  FolderSearches inFolders;
  std::vector<MailSearch> inMailboxes;
  IndexLines lines(content);
  IndexLine line;
  while (lines.next(line)) {
    // Lines the index never parses are carried over byte for byte.
    if (!line.usable()) {
      plans.push_back({LineNeed::Keep, 0});
      continue;
    }
    // One line that does not parse (an empty one included) abandons the whole
    // cleanup, so that no line is lost over a file it does not understand.
    if (!parseLine(line.text)) return 0;
    const char* location = shortcutLocation();
    if (location != nullptr && namesMail(location) && lookup.mailExists(location)) {
      plans.push_back({LineNeed::Keep, 0});
      continue;
    }
    std::string messageId = shortcutMessageId();
    // A mail id the host does not know names no folder to search.
    if (messageId.empty() || (location != nullptr && namesMail(location))) {
      plans.push_back({LineNeed::Drop, 0});
    } else if (location != nullptr) {
      plans.push_back({LineNeed::FolderSearch, inFolders.searches.size()});
      inFolders.folders.emplace_back(location);
      inFolders.searches.push_back({std::move(messageId), SearchOutcome::Missing, {}});
    } else {
      plans.push_back({LineNeed::MailboxSearch, inMailboxes.size()});
      inMailboxes.push_back({std::move(messageId), SearchOutcome::Missing, {}});
    }
  }

  runFolderSearches(lookup, inFolders);
  if (!inMailboxes.empty()) lookup.findInMailboxes(inMailboxes);

  platform::FileReplacement out(indexPath);
  if (!out.ok()) return 0;
  IndexWriter writer(out);
  IndexLines again(content);
  for (const LinePlan& plan : plans) {
    again.next(line);
    if (plan.need == LineNeed::Keep) writer.keep(line);
    if (plan.need == LineNeed::Keep || plan.need == LineNeed::Drop) continue;
    const MailSearch& search =
        plan.need == LineNeed::FolderSearch ? inFolders.searches[plan.search] : inMailboxes[plan.search];
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
