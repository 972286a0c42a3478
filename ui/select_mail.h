// Selecting a mail in the host by an id the plug-in read from a mail header
// or a link index line.
#pragma once

namespace lumo {

// Selects the mail (BKA_SetCurrentMail), unless the id is empty, too long
// for the host's 256-byte id buffers (kIdBufferSize bytes or more: never cut
// into another id), or would lead outside the data folder: such ids come
// from headers and link index lines that a received mail can forge
// (isStoreRelativeId).
void selectMail(const char* mailId);

}  // namespace lumo
