// One shortcut for one target mail: compose, count, store, look up, record.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "host/api/host_api.h"
#include "host/api/host_block.h"
#include "host/api/module_state.h"
#include "linkindex/link_record.h"
#include "linkindex/shortcut_numbers.h"
#include "resolve/locator/locator.h"
#include "settings/settings_store.h"
#include "shortcut/creation.h"
#include "shortcut/shortcut_source.h"

namespace lumo {
namespace {

// The number a counter value gives its shortcut id ("%x" of counter + 10000).
std::uint32_t idNumber(std::uint32_t counter) { return counter + 10000u; }

// Raises "Lumo-Count" by one, and further past every number the link index
// already holds: a settings file that was lost starts the counter again, and
// its ids must not be given twice. The counter stays raised in memory even
// when the creation fails later. False when the link index cannot be read.
bool raiseCounter() {
  std::vector<std::uint32_t> used;
  if (!readShortcutNumbers(LinkIndexPath, used)) return false;
  auto counter = static_cast<std::uint32_t>(Settings.lumoCount) + 1u;
  while (std::binary_search(used.begin(), used.end(), idNumber(counter))) ++counter;
  Settings.lumoCount = static_cast<int>(counter);
  return true;
}

ShortcutOptions currentOptions() {
  ShortcutOptions options;
  options.toDel = Settings.toDel != 0;
  options.subCh = Settings.subCh != 0;
  options.subjectTag = Settings.scTag;
  return options;
}

// The link line of the new shortcut. The whole mail id is given, so that the
// record keeps it whole whatever its form.
bool fillRecord(LinkRecord& record, const ShortcutSource& shortcut, const char* mailId,
                const char* location) {
  return record.setFields(shortcut.shortcutId.c_str(), shortcut.folderId.c_str(), mailId,
                          shortcut.targetMessageId.c_str(), location) == 1;
}

bool fitsLinkIndex(const LinkRecord& record) {
  char line[kLinkLineCapacity];
  return record.formatLine(line, sizeof line) == 1;
}

// A target Message-ID with "@" whose shortcut Message-ID would be longer than
// an id gives the shortcut no Message-ID field: the look-up could never find
// the new mail, its link would have no location, and the first cleanup would
// drop it. Such a target gets no shortcut, like one whose link line cannot fit.
bool losesItsMessageId(const LinkRecord& record) {
  const char* target = record.targetMessageId();
  return target != nullptr && std::strchr(target, '@') != nullptr && record.shortcutMessageId().empty();
}

}  // namespace

int LumoMakeShortCut(const char* mailId, const char* folderId) {
  if (mailId == nullptr || folderId == nullptr) return 0;
  const char* folderName = HostApi.BKA_GetFolderDisplayName(folderId);
  if (folderName == nullptr || *folderName == '\0') return 0;

  ShortcutSource shortcut;
  {
    HostBlock header(HostApi.BKA_GetHeader(mailId));
    if (!header) return 0;
    if (!raiseCounter()) return 0;
    if (!composeShortcutSource(header.text(), mailId, Settings.lumoCount, currentOptions(), shortcut))
      return 0;
  }

  // Whatever can be refused is refused before the host is given the mail:
  // a link line too long for the index, a shortcut that could not be looked
  // up, a counter that cannot be written (every shortcut made is counted in
  // the settings file).
  LinkRecord record;
  if (!fillRecord(record, shortcut, mailId, nullptr) || !fitsLinkIndex(record) || losesItsMessageId(record))
    return 0;
  if (!writeSettingInt(SettingsPath, KeyLumoCount, Settings.lumoCount)) return 0;

  // The host's answer is not a sign of whether the mail was stored: the
  // look-up below is. The host has the new mail in the folder's index by now;
  // its line holds the shortcut's own Message-ID. A shortcut not found there,
  // or a location that would make the link line too long, is recorded without
  // a location, which the repair search and the cleanup fill in or drop.
  HostApi.BKA_AppendMessage(folderId, shortcut.source.c_str());
  std::string location = FindMailInFolder(record.shortcutMessageId(), folderId);
  if (!location.empty()) {
    fillRecord(record, shortcut, mailId, location.c_str());
    if (!fitsLinkIndex(record)) fillRecord(record, shortcut, mailId, nullptr);
  }
  return record.appendTo(LinkIndexPath);
}

}  // namespace lumo
