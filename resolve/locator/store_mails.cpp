// What the host says about one mail of its store: whether it has the mail,
// and whether the mail's own Message-ID is the one searched for.
#include "host/api/host_api.h"
#include "host/api/host_block.h"
#include "linkindex/message_id_value.h"
#include "resolve/locator/locator.h"
#include "resolve/locator/store_paths.h"

namespace lumo {
namespace {

// Whether the host can be asked for the header of this id.
bool mayAskForHeader(std::string_view mailId) {
  return !mailId.empty() && isStoreRelativeId(mailId) && HostApi.BKA_GetHeader && HostApi.BKA_Free;
}

}  // namespace

bool mailExists(std::string_view mailId) {
  if (!mayAskForHeader(mailId)) return false;
  std::string id(mailId);
  return static_cast<bool>(HostBlock(HostApi.BKA_GetHeader(id.c_str())));
}

bool mailHasMessageId(std::string_view mailId, std::string_view messageId) {
  if (!mayAskForHeader(mailId)) return false;
  std::string id(mailId);
  HostBlock header(HostApi.BKA_GetHeader(id.c_str()));
  return header && headerMessageId(header.text()) == messageId;
}

namespace locator {

bool OwnMessageIdCheck::accepts(std::string_view text, const IndexEntry& entry) {
  std::string mailId = mailIdOf(folderId_, entry);
  return !mailId.empty() && mailHasMessageId(mailId, text);
}

}  // namespace locator
}  // namespace lumo
