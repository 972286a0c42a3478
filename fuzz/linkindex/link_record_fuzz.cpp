// Any line either fails to parse or parses to a record; a record that formats
// must parse back to the same five fields and format to the same line again.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "linkindex/link_record.h"
#include "text/id_limits.h"

namespace {

bool same(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return std::strcmp(a, b) == 0;
}

bool sameFields(const lumo::LinkRecord& a, const lumo::LinkRecord& b) {
  return same(a.shortcutId(), b.shortcutId()) && same(a.targetFolderId(), b.targetFolderId()) &&
         same(a.targetMailId(), b.targetMailId()) && same(a.targetMessageId(), b.targetMessageId()) &&
         same(a.shortcutLocation(), b.shortcutLocation());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  lumo::LinkRecord record;
  if (!record.parseLine(line)) return 0;
  char first[lumo::kLinkLineCapacity];
  if (!record.formatLine(first, sizeof first)) return 0;
  lumo::LinkRecord again;
  if (!again.parseLine(first) || !sameFields(record, again)) std::abort();
  char second[lumo::kLinkLineCapacity];
  if (!again.formatLine(second, sizeof second) || std::strcmp(first, second) != 0) std::abort();
  // The shortcut Message-ID stays within its limit.
  if (record.shortcutMessageId().size() > lumo::kIdMax) std::abort();
  return 0;
}
