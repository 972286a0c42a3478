// Helpers for the MIME tree tests: visible control bytes and quick views of a tree.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "mime/mime_part.h"

namespace lumo::testing {

// The bytes with CR, LF, tab, NUL and other control bytes written as escapes,
// so that a failing comparison shows line ends; long texts are shortened.
inline std::string visible(std::string_view text, std::size_t limit = 400) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (out.size() >= limit) {
      out += "...(" + std::to_string(text.size()) + " bytes)";
      break;
    }
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

inline std::vector<std::string> lineTexts(const MimeLineList& list) {
  std::vector<std::string> texts;
  for (const MimeLine* line = list.head; line; line = line->next)
    texts.emplace_back(line->text, line->length);
  return texts;
}

inline std::string written(const MimePart& part) { return std::string(part.toText().view()); }

inline std::string parsedAndWritten(std::string_view source) {
  MimePart part;
  part.parse(source);
  return written(part);
}

inline int countChildren(const MimePart& part) {
  int count = 0;
  for (const MimePart* child = part.firstChild.get(); child; child = child->nextSibling.get()) ++count;
  return count;
}

// Levels below `part` along the first-child chain.
inline int firstChildDepth(const MimePart& part) {
  int depth = 0;
  for (const MimePart* p = part.firstChild.get(); p; p = p->firstChild.get()) ++depth;
  return depth;
}

}  // namespace lumo::testing
