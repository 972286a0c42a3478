// A block of host memory the plug-in was given and must hand back with
// BKA_Free (the header text of BKA_GetHeader), released on scope exit.
#pragma once

#include <string_view>

#include "platform/win32.h"

namespace lumo {

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

}  // namespace lumo
