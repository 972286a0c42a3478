// What the link index cleanup asks of the host's mail store: whether a mail
// id is still known, and where mails lie by the text of their Message-ID. The
// layer above answers from the host and the folder index files; tests answer
// from a table.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace lumo {

// How a search for one text ended.
enum class SearchOutcome {
  Found,       // `mailId` holds the mail id of the first hit
  Missing,     // every folder index the search needed was read: no hit
  Unreadable,  // no hit, but a folder index it needed exists and could not be read
};

// One search: the text to find and what was found.
struct MailSearch {
  std::string text;
  SearchOutcome outcome = SearchOutcome::Missing;
  std::string mailId;
};

class LinkLookup {
 public:
  virtual ~LinkLookup() = default;
  // Whether the host knows a mail by this id: Found when it does, Missing
  // when it does not and that was read from a store at hand (an id leading
  // outside the data folder names nothing: Missing), Unreadable when the
  // mail's folder could not be read, so that its absence proves nothing.
  virtual SearchOutcome lookUpMail(std::string_view mailId) = 0;
  // Answers every search in the folder `folderId`, each as a search of that
  // folder alone would, reading its index at most once.
  virtual void findInFolder(std::string_view folderId, std::span<MailSearch> searches) = 0;
  // Answers every search over every folder of every mailbox, each as a
  // mailbox-wide search of its own would (first hit in walk order), in one
  // walk that reads each folder index at most once.
  virtual void findInMailboxes(std::span<MailSearch> searches) = 0;
};

}  // namespace lumo
