// The mail locator: finds mails in the host's store by the text of their
// lines in the per-folder index "Folder.idx", marks a shown mail's entry,
// moves the selection to the trash folder, and tests folder ids.
//
// Store addressing: the data folder (BKA_GetDataFolder) ends in "\"; a
// mailbox is a directory directly inside it named "*.mb"; a folder id is a
// folder directory's path relative to the data folder, ending in "\"; a mail
// id is folder id + "?" + mail key (field 2 of the mail's index line).
//
// Folder and mail ids reach the locator from mail headers and link index
// lines that a received mail can forge: an id that would lead outside the
// data folder (a "." or ".." component, an absolute, drive or UNC path, a
// device name) is treated as naming nothing.
#pragma once

#include <string>
#include <string_view>

namespace lumo {

// The mail id of the first mail whose index line in `folder` contains `text`
// (case-sensitive substring of the whole line); empty when none, when the
// text is empty or when the folder's index cannot be read. `folder` is a
// folder id, or a full directory path that begins with the data folder and
// ends in "\"; for the latter the folder's display name is shown in the
// host's status bar while its index is read.
std::string FindMailInFolder(std::string_view text, std::string_view folder);

// Searches every folder of every mailbox, in the file system's listing
// order; the first hit wins. Empty when none.
std::string FindMailInMailboxes(std::string_view text);

// Depth-first search below `directory` (a full path without trailing "\").
std::string SearchFolderTree(std::string_view text, std::string_view directory);

// Sets the mark of the first line in the folder's index that contains `text`
// (the last character of field 13, "0" becomes "1") in place, without
// changing the file's length. 1 when such a line with at least 13 separators
// was found, else 0.
int MarkFolderIndexEntry(std::string_view text, std::string_view folderId);

// Moves the host's selection into the current mailbox's trash folder (its
// first entry matching "*Trash"). The host's result, or 0 without a trash
// folder.
int MoveSelectionToTrash();

// Looks up the first entry matching the wildcard pattern in `path`; on a
// match `path` becomes the entry's bare name. 1 for a file, 0 for a directory
// or no match (then `path` is unchanged).
int FindFirstMatch(std::string& path);

// The first place in `text` where `word` stands in any ASCII letter case, or
// null; an empty text gives null.
const char* FindNoCase(const char* text, const char* word);

// Whether the folder id names a folder inside a mailbox that the plug-in acts
// on: it holds a "\" followed later by a second one. With null, the host's
// current folder is tested, and a folder with a component starting with "!"
// is refused unless it is the inbox ("!Inbox\").
bool IsUsableFolder(const char* folderId);

}  // namespace lumo
