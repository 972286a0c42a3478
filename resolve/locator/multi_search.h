// Many mail searches answered together: each gets the answer its own
// FindMailInFolder or FindMailInMailboxes would give (the first line holding
// its text decides within a folder, the first folder with a hit in the walk's
// order wins), but each folder index is read at most once for all of them.
// The link index cleanup asks for thousands of shortcut mails at exit; one
// walk per search would read the whole store thousands of times.
#pragma once

#include <span>
#include <string_view>

#include "linkindex/link_lookup.h"

namespace lumo {

// Answers every search in one folder (a folder id, or a full directory path
// inside the data folder ending in "\"), as FindMailInFolder would. A search
// with no hit is Unreadable when the folder's index exists but could not be
// read, or when the folder cannot be listed (not there, or a store gone
// away: nothing was read), Missing otherwise (also for a folder id that
// leads outside the data folder, which names nothing).
void FindMailsInFolder(std::span<MailSearch> searches, std::string_view folder);

// Answers every search over every folder of every mailbox, as
// FindMailInMailboxes would, in one walk. A search with no hit is Unreadable
// when some folder index or folder of the walk, or the data folder itself,
// could not be read, Missing otherwise.
void FindMailsInMailboxes(std::span<MailSearch> searches);

// The link index cleanup's view of the host's store: the host's own answer
// for a known mail id (BKA_GetHeader), the searches above for the rest. A
// mail id the host does not know is Missing only when its folder can be
// listed (Unreadable otherwise), and Missing when it leads outside the data
// folder.
class StoreLinkLookup : public LinkLookup {
 public:
  SearchOutcome lookUpMail(std::string_view mailId) override;
  void findInFolder(std::string_view folderId, std::span<MailSearch> searches) override;
  void findInMailboxes(std::span<MailSearch> searches) override;
};

}  // namespace lumo
