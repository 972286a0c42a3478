// Code page 932 <-> UTF-8 through iconv(3) (glibc carries CP932).
#include <iconv.h>

#include <cerrno>

#include "host-sim/core/cp932.h"

namespace lumo::hostsim {
namespace {

std::string convert(std::string_view text, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  std::string out;
  std::string input(text);
  char* in = input.data();
  std::size_t inLeft = input.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out += '?';  // a byte that does not convert
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string cp932ToUtf8(std::string_view text) { return convert(text, "UTF-8", "CP932"); }
std::string utf8ToCp932(std::string_view text) { return convert(text, "CP932", "UTF-8"); }

}  // namespace lumo::hostsim
