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
// data folder (see isStoreRelativeId) is treated as naming nothing, so no
// file outside the data folder is ever read or written.
//
// Every operation opens, reads (or edits) and closes its files within the
// call and keeps no state. Folder.idx is read whole-line: a line of any
// length is one line (see resolve/locator/index_scan.h).
#pragma once

#include <string>
#include <string_view>

namespace lumo {

// Whether a folder id or mail id, put after the data folder, stays inside
// it: no component "." or ".." (nor one of dots and spaces alone, which
// Windows reads alike), no absolute, root-relative, drive or UNC path, no
// ":" (drives, alternate streams), no control byte or wildcard ("*", a second
// "?", "<", ">", "\""), and no device name (CON, PRN, AUX, NUL, CONIN$,
// CONOUT$, CLOCK$, COM0-9, LPT0-9, also with an extension or trailing dots and
// spaces, in any letter case). Both "\" and "/" separate components. Every
// id from a header or a link line goes through this before it becomes a path.
bool isStoreRelativeId(std::string_view id);

// Whether the host has a mail under this id: BKA_GetHeader gives its
// header, which is released at once. False for an id that would lead
// outside the data folder.
bool mailExists(std::string_view mailId);

// Whether the host's mail under this id has `messageId` as its own
// Message-ID (headerMessageId of the header BKA_GetHeader gives, which is
// released at once). False when the host gives no header or the id would
// lead outside the data folder.
bool mailHasMessageId(std::string_view mailId, std::string_view messageId);

// The mail id of the first mail in `folder` whose own Message-ID is `text`;
// empty when none, when the text is empty or when the folder's index cannot
// be read. Index lines are searched whole for the text (case-sensitive
// substring: the host's field layout is not assumed), and a line holding it
// is taken only when the mail it names (its field 2 is the mail key) has the
// text as its own Message-ID (mailHasMessageId); any other line, such as a
// reply's that names its original, is passed over. A line holding the text
// without a whole, non-empty field 2 (no 0x01 at all, or a single 0x01: a
// damaged line names no mail) ends the search with nothing. `folder` is a
// folder id, or a full directory path that begins with the data folder and
// ends in "\"; for the latter the folder's display name is shown in the
// host's status bar while its index is read.
std::string FindMailInFolder(std::string_view text, std::string_view folder);

// Searches every folder of every mailbox, in the file system's listing
// order; the first hit wins. Empty when none.
std::string FindMailInMailboxes(std::string_view text);

// Depth-first search below `directory` (a full path without trailing "\",
// inside the data folder), in listing order; the first hit wins.
std::string SearchFolderTree(std::string_view text, std::string_view directory);

// Sets the mark of the line in the folder's index that FindMailInFolder
// takes for `text` (the last character of field 13, "0" becomes "1") in
// place, without changing the file's length. 1 when such a line with at
// least 13 separators was found, else 0. Only that one byte is written, and only when it is
// "0"; an empty text marks nothing (0), and a failed write gives 0.
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
// on: it holds a "\" followed later by a second one (and stays inside the
// data folder, see isStoreRelativeId). With null, the host's
// current folder is tested, and a folder with a component starting with "!"
// is refused unless it is the inbox ("!Inbox\").
bool IsUsableFolder(const char* folderId);

}  // namespace lumo
