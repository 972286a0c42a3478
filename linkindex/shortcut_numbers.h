// The numbers the link index has already given to shortcuts, so that a new
// shortcut never takes one of them again.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace lumo {

// The number of a shortcut id: its hexadecimal part before "_". False when
// `id` is not a shortcut id or the number does not fit 32 bits.
bool shortcutIdNumber(std::string_view id, std::uint32_t& number);

// Collects the number of every line's shortcut id (its first field), sorted
// and without duplicates. Every line counts, also one the index would not
// parse, since its id is taken all the same. A missing index holds none.
// 0 when the index cannot be read.
int readShortcutNumbers(const char* indexPath, std::vector<std::uint32_t>& numbers);

}  // namespace lumo
