// Storage of the shared creation and view state.
#include "shortcut/session_state.h"

namespace lumo {

int CreationPending = 0;
char SelectedTargetId[IdCapacity] = "";
MimeLineList PendingMailList;
char PendingSourceFolder[IdCapacity] = "";
char PendingSubject[IdCapacity] = "";

int ShortcutOpened = 0;
int MemoOpened = 0;
HWND MailViewEditor = nullptr;
int EditRefusalCount = 0;

}  // namespace lumo
