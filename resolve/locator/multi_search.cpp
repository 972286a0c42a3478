// Many searches in one read of each folder index. Equal texts are searched
// once; within an index each text is decided by the first line holding it
// (index_multi_scan.h), and the walk goes on only for texts without a hit.
#include "resolve/locator/multi_search.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "platform/file.h"
#include "resolve/locator/index_multi_scan.h"
#include "resolve/locator/locator.h"
#include "resolve/locator/store_paths.h"

namespace lumo {
namespace locator {
namespace {

// The searches of one call, sorted so that equal texts stand together.
std::vector<std::size_t> byText(std::span<MailSearch> searches) {
  std::vector<std::size_t> order(searches.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return searches[a].text < searches[b].text; });
  return order;
}

std::vector<std::string_view> distinctTexts(std::span<MailSearch> searches,
                                            const std::vector<std::size_t>& order) {
  std::vector<std::string_view> texts;
  for (std::size_t i : order)
    if (texts.empty() || texts.back() != searches[i].text) texts.push_back(searches[i].text);
  return texts;
}

// The searches of one call, answered folder index by folder index.
class MultiScan {
 public:
  explicit MultiScan(std::span<MailSearch> searches)
      : searches_(searches),
        order_(byText(searches)),
        texts_(distinctTexts(searches, order_)),
        scanner_(texts_) {
    found_.resize(texts_.size());
    for (std::string_view text : texts_) {
      // No line holds an empty text or one with a line feed.
      bool searchable = !text.empty() && text.find('\n') == std::string_view::npos;
      open_.push_back(searchable);
      openCount_ += searchable ? 1 : 0;
    }
  }

  bool done() const { return openCount_ == 0; }
  void markUnreadable() { unreadable_ = true; }

  // Reads the index of `folder` (a folder id, or a full path inside the
  // data folder ending in "\") for every text still without a hit.
  void scanFolder(std::string_view folder, const std::string& data) {
    if (done()) return;
    std::string folderId = folderIdToRead(folder, data);
    if (folderId.empty()) return;
    platform::RandomAccessFile file;
    platform::ReadStatus status = file.open((data + folderId + kFolderIndexName).c_str());
    if (status == platform::ReadStatus::Missing) {
      // A folder without an index holds no mail; one that cannot be listed
      // (gone with its store, or unreadable) may hold them all.
      if (!canList(data + folderId)) unreadable_ = true;
      return;
    }
    FileSource source(file);
    lines_.clear();
    OwnMessageIdCheck check(folderId);
    if (status == platform::ReadStatus::Failed || !scanner_.scan(source, open_, lines_, &check))
      unreadable_ = true;
    // A line without a whole key decides its text for this folder only.
    for (const IndexMultiScanner::TextLine& line : lines_) {
      if (!open_[line.text]) continue;
      std::string mailId = mailIdOf(folderId, line.entry);
      if (mailId.empty()) continue;
      open_[line.text] = false;
      --openCount_;
      found_[line.text] = std::move(mailId);
    }
  }

  // Gives every search its answer.
  void finish() {
    std::size_t t = 0;
    for (std::size_t k = 0; k < order_.size(); ++k) {
      MailSearch& search = searches_[order_[k]];
      if (k > 0 && search.text != searches_[order_[k - 1]].text) ++t;
      search.mailId = found_[t];
      if (!search.mailId.empty()) {
        search.outcome = SearchOutcome::Found;
      } else {
        // An index it could not read may have held it.
        search.outcome = unreadable_ && open_[t] ? SearchOutcome::Unreadable : SearchOutcome::Missing;
      }
    }
  }

 private:
  std::span<MailSearch> searches_;
  std::vector<std::size_t> order_;
  std::vector<std::string_view> texts_;  // distinct, views into the searches
  IndexMultiScanner scanner_;
  std::vector<bool> open_;  // per text: no hit yet
  std::vector<std::string> found_;
  std::size_t openCount_ = 0;
  bool unreadable_ = false;
  std::vector<IndexMultiScanner::TextLine> lines_;
};

// The walk hands every folder index to the scan, until every text has a hit.
class WalkScan : public FolderVisitor {
 public:
  WalkScan(MultiScan& scan, const std::string& data) : scan_(scan), data_(data) {}
  bool visitIndex(const std::string& directory) override {
    scan_.scanFolder(directory, data_);
    return scan_.done();
  }
  void notListed(const std::string& /*directory*/) override { scan_.markUnreadable(); }

 private:
  MultiScan& scan_;
  const std::string& data_;
};

}  // namespace
}  // namespace locator

void FindMailsInFolder(std::span<MailSearch> searches, std::string_view folder) {
  locator::MultiScan scan(searches);
  std::string data = locator::dataFolder();
  if (data.empty())
    scan.markUnreadable();  // no store to look in proves nothing
  else
    scan.scanFolder(folder, data);
  scan.finish();
}

void FindMailsInMailboxes(std::span<MailSearch> searches) {
  locator::MultiScan scan(searches);
  std::string data = locator::dataFolder();
  if (data.empty()) {
    scan.markUnreadable();
  } else if (!scan.done()) {
    locator::WalkScan walk(scan, data);
    locator::walkMailboxes(data, walk);
  }
  scan.finish();
}

SearchOutcome StoreLinkLookup::lookUpMail(std::string_view mailId) {
  if (lumo::mailExists(mailId)) return SearchOutcome::Found;
  if (mailId.empty() || !isStoreRelativeId(mailId)) return SearchOutcome::Missing;
  // The host answers from its store: without a store to read it knows
  // nothing, and only a folder that can still be listed shows the mail gone.
  std::string data = locator::dataFolder();
  std::string folder(mailId.substr(0, mailId.find('?')));
  if (data.empty() || !locator::canList(data + folder)) return SearchOutcome::Unreadable;
  return SearchOutcome::Missing;
}

void StoreLinkLookup::findInFolder(std::string_view folderId, std::span<MailSearch> searches) {
  FindMailsInFolder(searches, folderId);
}

void StoreLinkLookup::findInMailboxes(std::span<MailSearch> searches) { FindMailsInMailboxes(searches); }

}  // namespace lumo
