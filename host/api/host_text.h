// Texts exchanged with the host through its own heap.
#pragma once

#include <string_view>

#include "platform/win32.h"

namespace lumo {

// A block the host handed over for the plug-in to release with BKA_Free (the
// header text of BKA_GetHeader); released on scope exit.
class HostBlock {
 public:
  explicit HostBlock(char* block) : block_(block) {}
  ~HostBlock();
  HostBlock(const HostBlock&) = delete;
  HostBlock& operator=(const HostBlock&) = delete;

  explicit operator bool() const { return block_ != nullptr; }
  // The block as a NUL-terminated text; empty for none.
  std::string_view text() const { return block_ ? std::string_view(block_) : std::string_view(); }

 private:
  char* block_;
};

// Hands `text` to BKA_SetSource for `mailId` ("TEMP": only shown) in a
// NUL-terminated block from BKA_Alloc. The host copies what it is given, so
// the block is released again after the call. False when the host gave no
// memory (nothing was handed over).
bool setSourceText(const char* mailId, std::string_view text);

}  // namespace lumo
