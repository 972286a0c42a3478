// MEMO edits on a shortcut source.
#include "shortcut/memo_source.h"

#include "shortcut/memo_display.h"
#include "shortcut/shortcut_source.h"
#include "text/c_string.h"

namespace lumo {

std::string sourceWithMemo(std::string_view source, std::string_view note) {
  source = untilNul(source);
  std::optional<std::string_view> stored = memoText(source);
  // The stored note runs to the end of the source, so what comes before it
  // ends with the marker.
  std::string_view kept = stored ? source.substr(0, source.size() - stored->size()) : source;
  std::string result;
  result.reserve(kept.size() + kMemoMarker.size() + note.size());
  result.append(kept);
  if (!stored) result.append(kMemoMarker);
  result.append(note);
  return result;
}

std::optional<std::string> sourceWithoutMemo(std::string_view source) {
  source = untilNul(source);
  std::size_t emptyLine = source.find("\r\n\r\n");
  if (emptyLine == std::string_view::npos) return std::nullopt;
  std::string result(source.substr(0, emptyLine + 4));
  result.append(kShortcutBody);
  return result;
}

}  // namespace lumo
