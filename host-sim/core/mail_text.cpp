// Header access on mail sources (see mail_text.h).
#include "host-sim/core/mail_text.h"

#include "text/ascii_case.h"

namespace lumo::hostsim {
namespace {

// End of the header block: the offset just past the CR LF (or LF) that ends
// the last header line, or the source's size when there is no empty line.
std::size_t headerEnd(std::string_view source) {
  std::size_t pos = 0;
  while (pos < source.size()) {
    std::size_t eol = source.find('\n', pos);
    std::size_t next = eol == std::string_view::npos ? source.size() : eol + 1;
    std::string_view line = source.substr(pos, next - pos);
    if (line == "\r\n" || line == "\n") return pos;
    pos = next;
  }
  return source.size();
}

struct Field {
  std::size_t begin = std::string_view::npos;  // start of the field's first line
  std::size_t end = 0;                         // past its last folded line
};

Field findField(std::string_view source, std::string_view name) {
  std::size_t limit = headerEnd(source);
  std::size_t pos = 0;
  while (pos < limit) {
    std::size_t eol = source.find('\n', pos);
    std::size_t next = eol == std::string_view::npos ? source.size() : eol + 1;
    std::string_view line = source.substr(pos, next - pos);
    std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && line[0] != ' ' && line[0] != '\t' &&
        equalsNoCase(line.substr(0, colon), name)) {
      Field field{pos, next};
      while (field.end < limit && (source[field.end] == ' ' || source[field.end] == '\t')) {
        std::size_t e = source.find('\n', field.end);
        field.end = e == std::string_view::npos ? source.size() : e + 1;
      }
      return field;
    }
    pos = next;
  }
  return {};
}

std::string trim(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  return std::string(text.substr(b, e - b));
}

}  // namespace

std::string headerBlock(std::string_view source) {
  std::size_t end = headerEnd(source);
  if (end < source.size()) end += source[end] == '\r' ? 2 : 1;  // the empty line
  return std::string(source.substr(0, end));
}

std::string headerValue(std::string_view source, std::string_view name) {
  Field field = findField(source, name);
  if (field.begin == std::string_view::npos) return {};
  std::string_view raw = source.substr(field.begin, field.end - field.begin);
  raw.remove_prefix(raw.find(':') + 1);
  std::string value;
  for (char c : raw)
    if (c != '\r' && c != '\n') value += c;
  return trim(value);
}

std::string headerField(std::string_view source, std::string_view name) {
  Field field = findField(source, name);
  if (field.begin == std::string_view::npos) return {};
  return std::string(source.substr(field.begin, field.end - field.begin));
}

std::string withHeader(std::string_view source, std::string_view name, std::string_view value) {
  std::string line = std::string(name) + ": " + std::string(value) + "\r\n";
  Field field = findField(source, name);
  std::string result(source);
  if (field.begin != std::string_view::npos) {
    result.replace(field.begin, field.end - field.begin, line);
  } else {
    std::size_t at = headerEnd(source);
    if (at > 0 && source[at - 1] != '\n') {
      line = "\r\n" + line;  // the last header line had no line end
    }
    result.insert(at, line);
  }
  return result;
}

std::string indexField(std::string_view text) {
  std::string field(text);
  for (char& c : field)
    if (c == '\r' || c == '\n' || c == '\x01') c = ' ';
  return field;
}

}  // namespace lumo::hostsim
