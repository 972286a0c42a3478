// The steps of opening a mail that live in files of their own.
#pragma once

#include <string_view>

namespace lumo {

// Shows the target's source under "TEMP": with the MEMO part while
// MemoOpened is set, else as it is.
void showTarget(const char* targetMailId, const char* targetSource);

// Takes the host's mail view out of edit mode when it is being edited, and
// lets the hooks pass the commands that this causes.
void leaveEditMode();

// A mail without "X-LuMOID" (`header` is its header text): when its
// "Content-Type" names a shortcut the link index knows, the shortcut headers
// are written back and the target is shown. Sets ShortcutOpened.
void restoreLostHeaders(std::string_view header);

}  // namespace lumo
