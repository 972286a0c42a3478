// The message shown in place of a shortcut that carries a MEMO: the target's
// content with the MEMO as an extra "MEMO.txt" part. It is handed to the host
// for display only and never stored.
#pragma once

#include <optional>
#include <string_view>

#include "mime/mime_text.h"

namespace lumo {

// The marker that starts the MEMO section of a shortcut's body.
inline constexpr std::string_view kMemoMarker = "\r\n[MEMO]\r\n";

// The boundary of the "multipart/mixed" wrapper put around a single-part target.
inline constexpr std::string_view kMemoWrapperBoundary = "----[00EXX2000X09X28BB-MULTIPART-MIXED]";

// The MEMO text of a shortcut's source: everything after the first
// kMemoMarker in the body (it may be empty). None when the body holds no
// marker or the source has no body (no empty line). The body begins at the
// first empty line, whose CR LF may begin the marker; a marker-like line in the
// header block is not taken. The source ends at its first NUL, as the host's
// texts do. The result is a view into `shortcutSource`, so its offset there is
// where an edited MEMO text goes.
std::optional<std::string_view> memoText(std::string_view shortcutSource);

// The MEMO text in the text the host shows for a shortcut (BKA_GetText: the
// shown part's text, without a header block): everything after the first
// kMemoMarker, up to the first NUL. None without a marker.
std::optional<std::string_view> memoTextOfShownText(std::string_view shownText);

// The display message for `targetSource` (the target mail's whole source, up
// to its first NUL) with the MEMO text `memo` (up to its first NUL):
//
// - A multipart target (type "multipart" in any case, with a boundary) keeps
//   its tree and gets the MEMO part as its last child, under its own
//   boundary. Its text is the tree's, so line ends become CR LF and text after
//   its closing delimiter is left out. A target whose closing delimiter is
//   missing gets one after the MEMO part; nothing of its last part is lost.
//   A multipart target without any part of its own gets none: there is no
//   last part to put the MEMO after, and the result is none (the caller
//   shows the target as it is).
// - Any other target is wrapped: its header keeps every field but those that
//   begin with "Content-" (any case); a "multipart/mixed" Content-Type with
//   kMemoWrapperBoundary stands where its (last) Content-Type stood, or before
//   the empty line when it had none; the body is the line "This is a
//   multi-part message in MIME format.". The first child is the target itself
//   with only its "Content-" fields, the empty line, its body (and any parts
//   it holds); the second is the MEMO part. So the wrapper carries no
//   Content-Transfer-Encoding, and a base64 or quoted-printable target is
//   decoded by the inner part's own fields as before.
// - A target whose header block has no empty line, or whose last part was cut
//   inside its header block, gets the empty line there, so that the delimiter
//   after it is read as one and not as one more header field. An empty target
//   becomes an empty first part before the MEMO part.
//
// The MEMO part is exactly:
//   Content-Type:text/plain;charset="ISO-2022-JP"; name="MEMO.txt" CR LF
//   Content-Transfer-Encoding:7bit CR LF
//   Content-Disposition: inline; filename="MEMO.txt" CR LF
//   CR LF
//   the MEMO text as given, CR LF
std::optional<MimeText> composeMemoDisplay(std::string_view targetSource, std::string_view memo);

// What the host shows for an opened shortcut with "X-MEMO" on: the composed
// display message when the shortcut's source has a MEMO section and the
// target can take the MEMO part, otherwise the target's source unchanged (up
// to its first NUL); an invalid (empty) text when no memory is left even for
// that copy.
MimeText memoDisplayText(std::string_view targetSource, std::string_view shortcutSource);

}  // namespace lumo
