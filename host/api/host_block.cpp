// Host memory handed back to the host.
#include "host/api/host_block.h"

#include "host/api/host_api.h"

namespace lumo {

HostBlock::~HostBlock() {
  if (block_) HostApi.BKA_Free(block_);
}

}  // namespace lumo
