// The size of the ids the plug-in and the host exchange: mail ids, folder
// ids, Message-IDs and shortcut ids live in 256-byte buffers, their NUL
// included, on both sides. A longer id is refused, never cut into another.
#pragma once

#include <cstddef>

namespace lumo {

inline constexpr std::size_t kIdBufferSize = 256;
inline constexpr std::size_t kIdMax = kIdBufferSize - 1;

}  // namespace lumo
