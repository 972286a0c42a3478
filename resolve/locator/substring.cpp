// Substring search with a two-byte filter over sixteen places per step (GCC
// vector types: SSE2 where the target has it, plain code elsewhere).
#include "resolve/locator/substring.h"

#include <cstdint>
#include <cstring>

namespace lumo::locator {
namespace {

typedef unsigned char Bytes16 __attribute__((vector_size(16)));
constexpr std::size_t kStep = 16;

Bytes16 load(const char* p) {
  Bytes16 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

Bytes16 splat(char c) {
  Bytes16 v;
  for (std::size_t i = 0; i < kStep; ++i) v[i] = static_cast<unsigned char>(c);
  return v;
}

}  // namespace

SubstringSearch::SubstringSearch(std::string_view text) : text_(text) {
  // Without a sample, the ends: a text usually differs from its neighbours
  // there first.
  first_ = 0;
  second_ = text_.empty() ? 0 : text_.size() - 1;
}

void SubstringSearch::tuneTo(std::string_view sample) {
  if (text_.size() < 2 || sample.empty()) return;
  std::size_t count[256] = {};
  for (char c : sample) ++count[static_cast<unsigned char>(c)];
  auto rarity = [&](std::size_t at) { return count[static_cast<unsigned char>(text_[at])]; };
  std::size_t a = 0;
  for (std::size_t i = 1; i < text_.size(); ++i)
    if (rarity(i) < rarity(a)) a = i;
  // The second: the rarest other place, one holding a different byte if any
  // (two places of one byte value filter little more than one).
  auto worse = [&](std::size_t i, std::size_t j) {
    bool iSame = text_[i] == text_[a], jSame = text_[j] == text_[a];
    return iSame != jSame ? iSame : rarity(i) > rarity(j);
  };
  std::size_t b = a == 0 ? 1 : 0;
  for (std::size_t i = 0; i < text_.size(); ++i)
    if (i != a && worse(b, i)) b = i;
  first_ = a;
  second_ = b;
}

const char* SubstringSearch::findIn(const char* begin, const char* end) const {
  std::size_t m = text_.size();
  if (m == 0 || begin == nullptr || end < begin || static_cast<std::size_t>(end - begin) < m) return nullptr;
  if (m == 1)
    return static_cast<const char*>(std::memchr(begin, text_[0], static_cast<std::size_t>(end - begin)));
  const char* last = end - m;  // the last place where the text can start
  const Bytes16 wantFirst = splat(text_[first_]);
  const Bytes16 wantSecond = splat(text_[second_]);
  const char* p = begin;
  // Every place p..p+15 can hold the whole text, so both loads stay inside.
  for (; last - p >= static_cast<std::ptrdiff_t>(kStep - 1); p += kStep) {
    Bytes16 hit = (load(p + first_) == wantFirst) & (load(p + second_) == wantSecond);
    std::uint64_t half[2];
    std::memcpy(half, &hit, sizeof half);
    for (int h = 0; h < 2; ++h) {
      while (half[h] != 0) {
        int k = __builtin_ctzll(half[h]) / 8;
        const char* at = p + h * 8 + k;
        if (std::memcmp(at, text_.data(), m) == 0) return at;
        half[h] &= ~(std::uint64_t{0xff} << (k * 8));
      }
    }
  }
  return findScalar(p, last);
}

const char* SubstringSearch::findScalar(const char* p, const char* last) const {
  for (; p <= last; ++p)
    if (p[first_] == text_[first_] && p[second_] == text_[second_] &&
        std::memcmp(p, text_.data(), text_.size()) == 0)
      return p;
  return nullptr;
}

}  // namespace lumo::locator
