// Reading the shortcut id numbers of the link index in one pass.
#include "linkindex/shortcut_numbers.h"

#include <algorithm>

#include "linkindex/index_lines.h"
#include "linkindex/shortcut_id.h"
#include "platform/file.h"

namespace lumo {

bool shortcutIdNumber(std::string_view id, std::uint32_t& number) {
  if (!isShortcutId(id)) return false;
  std::size_t digits = id.find('_');
  if (digits > 8) return false;
  std::uint32_t value = 0;
  for (char c : id.substr(0, digits)) {
    int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  number = value;
  return true;
}

int readShortcutNumbers(const char* indexPath, std::vector<std::uint32_t>& numbers) {
  numbers.clear();
  if (indexPath == nullptr) return 0;
  platform::FileView view;
  if (view.open(indexPath) == platform::ReadStatus::Failed) return 0;
  IndexLines lines(view.bytes());
  IndexLine line;
  while (lines.next(line)) {
    std::string_view id = line.text.substr(0, line.text.find('\x01'));
    std::uint32_t number = 0;
    if (shortcutIdNumber(id, number)) numbers.push_back(number);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return 1;
}

}  // namespace lumo
