// Texts exchanged with the host through its own heap.
#pragma once

#include <string_view>

#include "host/api/host_block.h"
#include "platform/win32.h"

namespace lumo {

// Hands `text` to BKA_SetSource for `mailId` ("TEMP": only shown) in a
// NUL-terminated block from BKA_Alloc. The block belongs to the host once it
// is handed over: the host releases it with its BKA_Free, the plug-in never
// touches it again. False when the host gave no memory (nothing was handed
// over).
bool setSourceText(const char* mailId, std::string_view text);

}  // namespace lumo
