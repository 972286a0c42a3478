// Interactive creation for the selected mails, and creation on retrieval.
#include "shortcut/creation.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

#include "host/api/host_api.h"
#include "host/api/host_functions.h"
#include "host/api/selected_mails.h"
#include "host/api/user_messages.h"
#include "resolve/locator/locator.h"
#include "settings/settings_store.h"
#include "shortcut/creation_texts.h"
#include "shortcut/session_state.h"
#include "text/cp932.h"

namespace lumo {
namespace {

namespace text = creation_text;

// The command is registered with the host as a command procedure.
static_assert(std::is_same_v<decltype(&OnCreateShortcutCommand), LumoCommandProc>);

// Copies `value` into an id buffer, cut to fit.
void copyId(char (&buffer)[IdCapacity], const char* value) {
  std::size_t length = value ? std::strlen(value) : 0;
  if (length >= IdCapacity) length = IdCapacity - 1;
  std::memcpy(buffer, value ? value : "", length);
  buffer[length] = '\0';
}

// A Shift-JIS text cut by the host at its buffer's end may end in the first
// byte of a two-byte character; that byte is dropped, so that nothing shown
// after it is swallowed into a broken character.
void dropCutLeadByte(char* value) { value[cp932CutLength(value, std::strlen(value))] = '\0'; }

void endPendingCreation() {
  CreationPending = 0;
  PendingSubject[0] = '\0';
  SelectedTargetId[0] = '\0';
  PendingMailList.clear();
}

bool fixedFolderSet() { return Settings.setFolder != 0 && Settings.setScPath[0] != '\0'; }

void showCount(int count) {
  char status[sizeof text::CountFormat + 16];
  std::snprintf(status, sizeof status, text::CountFormat, count);
  showStatus(status);
}

// Notes the i-th selected mail for the creation that waits for its folder:
// one mail stays in SelectedTargetId, several go into PendingMailList.
void notePending(int i, const char* mailId) {
  CreationPending = 1;
  if (i == 0) {
    copyId(SelectedTargetId, mailId);
    return;
  }
  if (i == 1) {
    PendingMailList.append(std::string_view(SelectedTargetId));
    SelectedTargetId[0] = '\0';
  }
  PendingMailList.append(std::string_view(mailId));
}

// The folder id part of a mail id ("...\\" up to its last "\\"), empty when
// it has none.
std::string_view folderOf(std::string_view mailId) {
  std::size_t slash = mailId.rfind('\\');
  return slash == std::string_view::npos ? std::string_view() : mailId.substr(0, slash + 1);
}

// Whether the folder of a retrieved mail is marked to ignore unread mails
// ("IgnoreUnread" in its "Folder.ini"). A mail id that would lead outside the
// data folder, or a host that names no data folder, counts as marked: no file
// is read and no shortcut made, a failed creation that retrieval reports to
// no one.
bool folderIgnoresUnread(const char* mailId) {
  std::string_view folder = folderOf(mailId);
  if (folder.empty()) return false;  // no folder: the creation refuses it anyway
  if (!isStoreRelativeId(folder)) return true;
  const char* dataFolder = HostApi.BKA_GetDataFolder();
  if (dataFolder == nullptr) return true;
  std::string path = std::string(dataFolder) + std::string(folder) + "Folder.ini";
  return GetPrivateProfileIntA("Settings", "IgnoreUnread", 0, path.c_str()) != 0;
}

}  // namespace

void WINAPI OnCreateShortcutCommand(HWND window, LPARAM) {
  if (CreationPending == 1) {
    if (!askOkCancel(window, text::CancelQuestion)) return;
    endPendingCreation();
    showStatus(text::Cancelled);
    return;
  }
  if (Settings.msgSt == 0 && !askOkCancel(window, text::StartQuestion)) return;
  CollectSelectedMails();
}

void CollectSelectedMails() {
  const char* current = HostApi.BKA_GetCurrentFolder();
  if (current == nullptr || !IsUsableFolder(current) || CreationPending) return;
  // A folder id too long for PendingSourceFolder is not cut into another:
  // the source folder could no longer be told apart, and the shortcuts might
  // be made in it. The user is told, as for any failed creation.
  if (std::strlen(current) >= IdCapacity) {
    showNotice(nullptr, text::Failed);
    return;
  }

  char subject[IdCapacity] = "";
  HostApi.BKA_GetSpecifiedHeader("Subject", subject, IdCapacity);
  subject[IdCapacity - 1] = '\0';
  dropCutLeadByte(subject);
  copyId(PendingSubject, subject);
  copyId(PendingSourceFolder, current);
  SelectedTargetId[0] = '\0';
  PendingMailList.clear();

  // In the fixed folder the count is of shortcuts made, so that a failure
  // never shows as set; while pending it is of the mails taken.
  const bool fixed = fixedFolderSet();
  int received = 0;
  int made = 0;
  forEachSelectedMail([&](const char* mailId) {
    if (fixed) {
      if (LumoMakeShortCut(mailId, Settings.setScPath))
        ++made;
      else
        showNotice(nullptr, text::Failed);
      PendingSubject[0] = '\0';
    } else {
      notePending(received, mailId);
    }
    ++received;
  });
  if (received == 0) {
    CreationPending = 0;
    showNotice(nullptr, text::SelectMail);
  }
  showCount(fixed ? made : received);
}

int CreatePendingInFolder(const char* folderId) {
  if (!IsUsableFolder(nullptr) || folderId == nullptr) return 0;
  if (std::strcmp(folderId, PendingSourceFolder) == 0) return 0;
  if (CreationPending == 0) {
    showNotice(nullptr, text::NoSource);
    return 0;
  }
  CreationPending = 0;

  // Every selected mail is tried; one failure makes the whole a failure, so
  // that the user is never told all went well when some did not.
  int result = 0;
  if (SelectedTargetId[0] != '\0') {
    result = LumoMakeShortCut(SelectedTargetId, folderId);
  } else if (PendingMailList.head != nullptr) {
    copyId(SelectedTargetId, PendingMailList.head->text);
    result = 1;
    for (const MimeLine* line = PendingMailList.head; line; line = line->next)
      if (!LumoMakeShortCut(line->text, folderId)) result = 0;
  } else {
    endPendingCreation();
    return 0;
  }
  // The (first) target mail is selected again.
  HostApi.BKA_SetCurrentMail(SelectedTargetId);
  endPendingCreation();
  return result;
}

int OnOpenFolder(const char* folderId) {
  if (!IsUsableFolder(nullptr)) return 0;
  if (CreationPending != 1) {
    ShortcutOpened = 0;
    return 0;
  }
  if (folderId != nullptr && std::strcmp(folderId, PendingSourceFolder) == 0) return 0;
  std::string question = std::string(text::FolderQuestionHead) + PendingSubject + text::FolderQuestionTail;
  if (!askOkCancel(nullptr, question.c_str())) return 0;
  if (CreatePendingInFolder(folderId) == 1) {
    if (Settings.msgSt == 0) showNotice(nullptr, text::Created);
  } else {
    showNotice(nullptr, text::Failed);
  }
  return 0;
}

int OnRetrieve(const char*, const char* mailId) {
  if (Settings.retFolder == 0 || Settings.retScPath[0] == '\0' || mailId == nullptr) return 0;
  if (Settings.creScMailCheck != 0 && folderIgnoresUnread(mailId)) return 0;
  LumoMakeShortCut(mailId, Settings.retScPath);  // nothing is reported on retrieval
  return 0;
}

}  // namespace lumo
