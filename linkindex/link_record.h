// One line of the link index in memory, with every operation on the index file.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace lumo {

class LinkLookup;

// A deleted shortcut mail: the shortcut id its "X-LuMOID" field gives and
// its own Message-ID (empty when it has none).
struct DeletedShortcut {
  std::string shortcutId;
  std::string messageId;
};

// Key kinds for LinkRecord::findIn (internal numbers, never stored).
enum class LinkFindKind : int {
  ByShortcutId = 0,
  ByMessageId = 1,
  ByFolderId = 2,
  ByMailId = 3,
  ByLocation = 4,
  ByMailIdOrLocation = 5,
};

// Changes for LinkRecord::updateIn (internal numbers, never stored).
enum class LinkUpdateField : int {
  SetFolderId = 1,
  SetMailId = 2,
  SetMessageId = 3,
  SetLocation = 4,
  Remove = 5,
};

// Longest line of the index, without its line end; a formatted line must stay
// below the 512-byte buffers the callers use.
inline constexpr std::size_t kLinkLineMax = 511;
inline constexpr std::size_t kLinkLineCapacity = kLinkLineMax + 1;

// True when `text` cannot stand in a field of an index line: CR and LF would
// split the line, 0x01 its fields, and NUL would cut the text short wherever
// it is handled as a C string. Every writer of a field refuses such a text.
bool breaksIndexLine(std::string_view text);

// A link index line: the shortcut id, the target's folder id, whole mail id and
// Message-ID, and where the shortcut mail lies. Each field is absent or a
// non-empty text; the accessors give null for an absent field. All operations
// report 1 for success/found and 0 otherwise.
class LinkRecord {
 public:
  LinkRecord() = default;

  const char* shortcutId() const { return text(shortcutId_); }
  const char* targetFolderId() const { return text(targetFolderId_); }
  // The whole mail id of the target (the file holds it relative to the folder).
  const char* targetMailId() const { return text(targetMailId_); }
  const char* targetMessageId() const { return text(targetMessageId_); }
  const char* shortcutLocation() const { return text(shortcutLocation_); }

  // Splits a line (without its line end, at most 511 characters, no line feed
  // or NUL)
  // at its first four 0x01 bytes; further 0x01 bytes stay in field 5. Field 3
  // becomes a whole id: "?..." is taken relative to field 2, empty as field 2
  // itself, anything else as it stands. On 0 the record is unchanged.
  int parseLine(std::string_view line);

  // Replaces all five fields (null or empty makes a field absent). The mail id
  // follows the rule of parseLine: "?key" is relative to the folder id, empty
  // means the folder id itself, anything else is a whole id. Refuses (0, record
  // unchanged) any text holding CR, LF or 0x01, which would break the line.
  int setFields(const char* shortcutId, const char* targetFolderId, const char* targetMailId,
                const char* targetMessageId, const char* shortcutLocation);

  // Writes the line (no line end, NUL-terminated) into buffer: the five fields
  // joined by 0x01, absent fields empty. The mail id is written relative (the
  // part after the folder id) when it begins with the folder id and the rest is
  // empty or begins with "?"; otherwise whole. Returns 0 and leaves the buffer
  // untouched when the line needs `capacity` bytes or more, when a field holds
  // CR, LF, 0x01 or NUL, or when the line would not read back as this record (a mail
  // id missing or beginning with "?" beside a folder id it does not begin with).
  int formatLine(char* buffer, std::size_t capacity) const;

  // The Message-ID the shortcut mail carries (lumo::shortcutMessageId of
  // targetMessageId and shortcutId): empty (none) when there is no
  // Message-ID, it holds no "@", or the result would not fit an id.
  std::string shortcutMessageId() const;

  // Whether a mail whose own Message-ID is `mailMessageId` (empty: it has
  // none) is this link's shortcut mail: any received mail can carry any
  // shortcut id, but only the link's shortcut carries the Message-ID the
  // link gave it. A link whose target had no usable Message-ID gave its
  // shortcut none: then nothing tells mails apart and any mail is taken.
  bool isShortcutMail(std::string_view mailMessageId) const;

  // Appends the record's line with CR LF, creating the file when missing and
  // holding it exclusively while writing. 0 (nothing written) when the shortcut
  // id is absent or malformed, the line cannot be formatted, or the line could
  // not be written whole. An unfinished last line in the file is ended first,
  // so the new line never merges with it.
  int appendTo(const char* indexPath) const;

  // Finds the first line matching `key` of the given kind and leaves it in the
  // record. ByShortcutId compares the first field exactly; the other kinds
  // compare one field (ByMailId the whole mail id) as a whole text; an absent
  // field never matches. Lines that do not parse, over-long lines and text
  // after the last line end never match. A missing file finds nothing.
  int findIn(const char* indexPath, const char* key, LinkFindKind kind);
  // The same, taking the first matching line that `accept` also accepts
  // (it sees the line parsed into this record).
  int findIn(const char* indexPath, const char* key, LinkFindKind kind,
             const std::function<bool(const LinkRecord&)>& accept);

  // Sets one field of the line of `shortcutId` to `value` (empty makes it
  // absent; SetMailId takes `value` as a whole id), or removes the line, and
  // rewrites the file crash-safely. 1 when rewritten, and 1 when no line has
  // that id (file untouched). 0, file untouched: malformed id or a value with
  // CR, LF or 0x01; the field already equals `value`; the line does not parse
  // or its new form does not fit; the file cannot be read or rewritten.
  int updateIn(const char* indexPath, const char* shortcutId, const char* value, LinkUpdateField field);

  // Brings the line of `shortcutId` in step with the four values (a null value
  // leaves its field alone, empty makes it absent; targetMailId is whole), or
  // appends a new line when there is none and appendIfMissing is 1. 1 when the
  // line was rewritten, already held the values (file untouched), or a new line
  // was appended. 0, file untouched: malformed id or a value with CR, LF or
  // 0x01; the file cannot be read; the line does not parse; its new form does
  // not fit; no line matched and appendIfMissing is 0; the write failed.
  int storeIn(const char* indexPath, const char* shortcutId, const char* targetFolderId,
              const char* targetMailId, const char* targetMessageId, const char* shortcutLocation,
              int appendIfMissing);

  // storeIn on behalf of the mail being opened, with one read of the index:
  // the lines of `shortcutId` are that mail's to write when none of them
  // parses, or when `owns` accepts the first one that does (the line findIn
  // by id finds); `owned` tells which (true when `owns` is empty or the file
  // cannot be read). Lines that are not the mail's stay as they are and the
  // result is 0; otherwise it is storeIn's.
  int storeOwnedIn(const char* indexPath, const char* shortcutId, const char* targetFolderId,
                   const char* targetMailId, const char* targetMessageId, const char* shortcutLocation,
                   int appendIfMissing, const std::function<bool(const LinkRecord&)>& owns, bool& owned);

  // Cleans the index of dead links: keeps each line whose shortcut mail the
  // host knows at its recorded mail id, gives a line whose shortcut mail is
  // found again by its Message-ID (in the recorded folder, or mailbox-wide
  // when there is no location) the found mail id as its location, drops the
  // rest, and rewrites the file crash-safely. A line whose search could not
  // read a folder index it needed is kept as it is. Lines the index never
  // parses (over-long, unfinished last line) are kept byte for byte. 1 when
  // the file was rewritten (a missing file becomes an empty one); 0, file
  // untouched, when it cannot be read or written or a line does not parse.
  int cleanIndex(const char* indexPath, LinkLookup& lookup);

  // Removes the lines of many deleted shortcut mails in one rewrite: the
  // lines of each mail's shortcut id whose link that mail is (isShortcutMail
  // of its own Message-ID). Lines of such an id that do not parse, and ids
  // that are malformed, are left alone. 1 when the file was rewritten, and 1
  // when no line was to go (file untouched); 0, file untouched, when the file
  // cannot be read or rewritten.
  static int removeLinksOf(const char* indexPath, std::span<const DeletedShortcut> mails);

 private:
  static const char* text(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }
  // Stores the pieces of a line or of setFields without checking them.
  void assign(std::string_view shortcutId, std::string_view folderId, std::string_view mailId,
              std::string_view messageId, std::string_view location);

  std::string shortcutId_;
  std::string targetFolderId_;
  std::string targetMailId_;
  std::string targetMessageId_;
  std::string shortcutLocation_;
};

}  // namespace lumo
