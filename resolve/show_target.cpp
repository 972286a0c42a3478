// Handing the target's content to the host in place of the shortcut's.
#include <optional>
#include <string>

#include "host/api/host_api.h"
#include "host/api/host_text.h"
#include "resolve/open_mail.h"
#include "resolve/open_steps.h"
#include "shortcut/memo_display.h"
#include "shortcut/session_state.h"

namespace lumo {

int ShowTargetWithMemo(const char* targetMailId) {
  // The host's text of the shortcut: its shown part, without header block.
  char mimeType[256] = "";
  const char* shown = HostApi.BKA_GetText(mimeType, sizeof mimeType);
  mimeType[sizeof mimeType - 1] = '\0';  // a type that fills the buffer comes without its end
  std::optional<std::string> memo;
  if (shown) {
    if (std::optional<std::string_view> text = memoTextOfShownText(shown)) memo = std::string(*text);
  }
  const char* target = HostApi.BKA_GetSource(targetMailId);
  if (!target) return 0;
  std::optional<MimeText> composed;
  if (memo) composed = composeMemoDisplay(target, *memo);
  if (!composed) {
    setSourceText("TEMP", target);
    return 0;
  }
  return setSourceText("TEMP", composed->view()) ? 1 : 0;
}

void showTarget(const char* targetMailId, const char* targetSource) {
  if (MemoOpened)
    ShowTargetWithMemo(targetMailId);
  else
    setSourceText("TEMP", targetSource);
}

}  // namespace lumo
