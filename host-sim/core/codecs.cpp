// Base64 and quoted-printable (see codecs.h).
#include "host-sim/core/codecs.h"

#include <cstring>

#include "host-sim/core/mail_store.h"

namespace lumo::hostsim {
namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kHex[] = "0123456789ABCDEF";

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

std::string base64Encode(std::string_view data) {
  std::string out;
  std::size_t column = 0;
  for (std::size_t i = 0; i < data.size(); i += 3) {
    unsigned v = static_cast<unsigned char>(data[i]) << 16;
    if (i + 1 < data.size()) v |= static_cast<unsigned char>(data[i + 1]) << 8;
    if (i + 2 < data.size()) v |= static_cast<unsigned char>(data[i + 2]);
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += i + 1 < data.size() ? kAlphabet[(v >> 6) & 63] : '=';
    out += i + 2 < data.size() ? kAlphabet[v & 63] : '=';
    if ((column += 4) >= 76) {
      out += "\r\n";
      column = 0;
    }
  }
  if (column) out += "\r\n";
  return out;
}

std::string base64Decode(std::string_view text) {
  std::string out;
  unsigned v = 0;
  int bits = 0;
  for (char c : text) {
    const char* at = c ? std::strchr(kAlphabet, c) : nullptr;
    if (!at) continue;
    v = (v << 6) | static_cast<unsigned>(at - kAlphabet);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((v >> bits) & 0xff);
    }
  }
  return out;
}

std::string qpEncode(std::string_view data) {
  std::string out;
  std::size_t column = 0;
  for (std::size_t i = 0; i < data.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(data[i]);
    if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') {
      out += "\r\n";
      ++i;
      column = 0;
      continue;
    }
    std::string piece;
    if ((c >= 33 && c <= 126 && c != '=') || c == ' ')
      piece = static_cast<char>(c);
    else
      piece = {'=', kHex[c >> 4], kHex[c & 15]};
    if (column + piece.size() > 75) {
      out += "=\r\n";
      column = 0;
    }
    out += piece;
    column += piece.size();
  }
  return out;
}

std::string qpDecode(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '=') {
      out += text[i];
    } else if (i + 2 < text.size() && text[i + 1] == '\r' && text[i + 2] == '\n') {
      i += 2;  // soft line break
    } else if (i + 1 < text.size() && text[i + 1] == '\n') {
      i += 1;
    } else if (i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      out += '=';
    }
  }
  return out;
}

int convertFile(const char* outFile, const char* inFile, std::string (*convert)(std::string_view)) {
  if (!outFile || !inFile) return 0;
  auto nativeName = [](const char* name) {
    std::string path(name);
    for (char& c : path)
      if (c == '\\') c = '/';
    return path;
  };
  auto data = readFile(nativeName(inFile));
  if (!data) return 0;
  return writeFile(nativeName(outFile), convert(*data)) ? 1 : 0;
}

}  // namespace lumo::hostsim
