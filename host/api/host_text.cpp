// Host heap blocks: released with BKA_Free, filled for BKA_SetSource.
#include "host/api/host_text.h"

#include <cstring>

#include "host/api/host_api.h"

namespace lumo {

bool setSourceText(const char* mailId, std::string_view text) {
  if (text.size() >= 0xffffffffu) return false;
  auto* block = static_cast<char*>(HostApi.BKA_Alloc(static_cast<DWORD>(text.size() + 1)));
  if (!block) return false;
  if (!text.empty()) std::memcpy(block, text.data(), text.size());
  block[text.size()] = '\0';
  // The block is the host's from here on: it releases it, never the plug-in.
  HostApi.BKA_SetSource(mailId, block);
  return true;
}

}  // namespace lumo
