// Reads the plug-in's own fields from the header text of a shortcut mail.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// headerFieldValue: the header field reader every shortcut field goes through.
#include "linkindex/message_id_value.h"

namespace lumo {

class LinkRecord;

// Longest shortcut id value, "DEL" mark included, that fits the 24-byte
// buffers the id is kept in.
inline constexpr std::size_t kShortcutIdValueMax = 23;

// Longest "X-FolderID" value that readers accept; "X-MailID" and
// "X-Message-ID" are ids (kIdMax).
inline constexpr std::size_t kTargetFolderIdMax = 511;

// True when the header text holds an "X-LuMOID" field: the name, in this
// letter case, at the start of a line of the header block, then ":" (blanks
// may stand before it). A mail that merely mentions the name, in its subject
// say, is no shortcut.
bool isShortcutHeader(std::string_view header);

// The shortcut id S read after "X-LuMOID".
struct ShortcutIdValue {
  std::string id;        // S without the "DEL" mark
  bool givenUp = false;  // the value began with "DEL"
};

// Reads S from the first "X-LuMOID" field (as isShortcutHeader finds it): the
// text after its ":" and blanks, up to the line end, trailing blanks removed;
// a leading "DEL" sets givenUp. None when there is no such field, the value
// is empty, or it is longer than kShortcutIdValueMax (an over-long value is
// refused, never cut into another id).
std::optional<ShortcutIdValue> readShortcutId(std::string_view header);

// Whether the mail with this header is the shortcut mail of the link in
// `record` (LinkRecord::isShortcutMail of its own Message-ID, headerMessageId):
// only that mail may have the link's line rewritten, removed or its headers
// restored.
bool isShortcutMailOf(const LinkRecord& record, std::string_view header);

// Whether the mail `mailId` with this header may write the link index line
// of `shortcutId` (bring it in step, move, repair or remove it): the index
// holds no line of that id, or this mail is that line's shortcut mail
// (isShortcutMailOf) and the line does not name another mail that is so
// too (mailHasMessageId at its location): that one is the link's, this one a
// copy. Any mail can carry any shortcut id: a received one, a copy sent on.
bool ownsLinkLine(const std::string& shortcutId, std::string_view header, std::string_view mailId);

// The same rule for a line already read: whether the mail `mailId` with this
// header is `line`'s shortcut mail and the line names no other such mail.
bool ownsLinkRecord(const LinkRecord& line, std::string_view header, std::string_view mailId);

// True when the "X-MEMO" value equals "ON" without regard to case.
bool readMemoOn(std::string_view header);

// The target values of a shortcut. Each is none when the field is missing,
// empty or longer than its maximum.
struct ShortcutTarget {
  std::optional<std::string> mailId;     // "X-MailID"
  std::optional<std::string> messageId;  // "X-Message-ID"
  std::optional<std::string> folderId;   // "X-FolderID"
};
ShortcutTarget readShortcutTarget(std::string_view header);

// Longest fallback id accepted, as the readers of the shortcut format
// assume for every shortcut id.
inline constexpr std::size_t kFallbackIdMax = 21;

// The fallback id in the "Content-Type" field: the value that follows the
// field's first "id=", in double quotes. None unless it is a well-formed
// shortcut id ("%x_%d") of at most kFallbackIdMax bytes closed by its quote:
// a mail with anything else in that place is an ordinary mail.
std::optional<std::string> readFallbackId(std::string_view header);

}  // namespace lumo
