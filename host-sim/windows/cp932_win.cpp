// Code page 932 <-> UTF-8 through the system's code page tables.
#include <string>

#include "host-sim/core/cp932.h"
#include "platform/win32.h"

namespace lumo::hostsim {
namespace {

std::wstring widen(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string narrow(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return {};
  const char* unknown = codePage == CP_UTF8 ? nullptr : "?";
  int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, unknown,
                              nullptr);
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, unknown,
                      nullptr);
  return text;
}

}  // namespace

std::string cp932ToUtf8(std::string_view text) { return narrow(widen(text, 932), CP_UTF8); }
std::string utf8ToCp932(std::string_view text) { return narrow(widen(text, CP_UTF8), 932); }

}  // namespace lumo::hostsim
