// Substring search with a two-byte filter over 32 places per step, through
// GCC's vector types. The build assumes no vector instructions (the 32-bit
// plug-in not even SSE2), so the processor is asked which it has; a plain
// search stands in where it has none.
#include "resolve/locator/substring.h"

#include <cstdint>
#include <cstring>

namespace lumo::locator {
namespace {

// The probe tests run on vectors of 32 bytes with AVX2 where the processor
// has it, and on two vectors of 16 bytes with SSE2 elsewhere.
typedef unsigned char Bytes16 __attribute__((vector_size(16)));
typedef char SignedBytes16 __attribute__((vector_size(16)));
typedef unsigned char Bytes32 __attribute__((vector_size(32)));
typedef char SignedBytes32 __attribute__((vector_size(32)));
constexpr std::ptrdiff_t kStep = 32;

// The places p..p+31 where the bytes at p+a and p+b equal `byteA` and
// `byteB`, one bit each.
__attribute__((target("sse2"))) inline std::uint32_t passSse2(const char* p, std::size_t a, std::size_t b,
                                                              Bytes16 byteA, Bytes16 byteB) {
  Bytes16 a0, a1, b0, b1;
  std::memcpy(&a0, p + a, 16);
  std::memcpy(&a1, p + a + 16, 16);
  std::memcpy(&b0, p + b, 16);
  std::memcpy(&b1, p + b + 16, 16);
  Bytes16 low = (a0 == byteA) & (b0 == byteB), high = (a1 == byteA) & (b1 == byteB);
  auto lowBits = static_cast<std::uint32_t>(__builtin_ia32_pmovmskb128(reinterpret_cast<SignedBytes16>(low)));
  auto highBits =
      static_cast<std::uint32_t>(__builtin_ia32_pmovmskb128(reinterpret_cast<SignedBytes16>(high)));
  return lowBits | highBits << 16;
}

inline bool same(const char* at, std::string_view text) {
  return std::memcmp(at, text.data(), text.size()) == 0;
}

// `last` is the last place where the text can start: every place p..p+31 of
// a step can hold the whole text, so all loads stay inside. The two probes
// are the text's bytes at offsets a and b.
__attribute__((target("sse2"))) const char* findSse2(const char* p, const char* last, std::string_view text,
                                                     std::size_t a, std::size_t b) {
  const Bytes16 byteA = Bytes16{} + static_cast<unsigned char>(text[a]);
  const Bytes16 byteB = Bytes16{} + static_cast<unsigned char>(text[b]);
  for (; last - p >= kStep - 1; p += kStep)
    for (std::uint32_t bits = passSse2(p, a, b, byteA, byteB); bits != 0; bits &= bits - 1)
      if (same(p + __builtin_ctz(bits), text)) return p + __builtin_ctz(bits);
  for (; p <= last; ++p)
    if (same(p, text)) return p;
  return nullptr;
}

__attribute__((target("avx2"))) const char* findAvx2(const char* p, const char* last, std::string_view text,
                                                     std::size_t a, std::size_t b) {
  const Bytes32 byteA = Bytes32{} + static_cast<unsigned char>(text[a]);
  const Bytes32 byteB = Bytes32{} + static_cast<unsigned char>(text[b]);
  for (; last - p >= kStep - 1; p += kStep) {
    Bytes32 atA, atB;
    std::memcpy(&atA, p + a, 32);
    std::memcpy(&atB, p + b, 32);
    Bytes32 both = (atA == byteA) & (atB == byteB);
    auto bits = static_cast<std::uint32_t>(__builtin_ia32_pmovmskb256(reinterpret_cast<SignedBytes32>(both)));
    for (; bits != 0; bits &= bits - 1)
      if (same(p + __builtin_ctz(bits), text)) return p + __builtin_ctz(bits);
  }
  for (; p <= last; ++p)
    if (same(p, text)) return p;
  return nullptr;
}

// How many places of the sample let both probes through, counted up to `limit`.
__attribute__((target("sse2"))) std::size_t passing(std::string_view sample, std::string_view text,
                                                    std::size_t a, std::size_t b, std::size_t limit) {
  const Bytes16 byteA = Bytes16{} + static_cast<unsigned char>(text[a]);
  const Bytes16 byteB = Bytes16{} + static_cast<unsigned char>(text[b]);
  std::size_t count = 0;
  const char* last = sample.data() + sample.size() - text.size();
  for (const char* p = sample.data(); last - p >= kStep - 1 && count < limit; p += kStep)
    count += static_cast<std::size_t>(__builtin_popcount(passSse2(p, a, b, byteA, byteB)));
  return count;
}

}  // namespace

VectorUnit availableVectorUnit() {
  static const VectorUnit unit = __builtin_cpu_supports("avx2")   ? VectorUnit::Avx2
                                 : __builtin_cpu_supports("sse2") ? VectorUnit::Sse2
                                                                  : VectorUnit::None;
  return unit;
}

SubstringSearch::SubstringSearch(std::string_view text)
    : text_(text), probe2_(text.empty() ? 0 : text.size() - 1) {}

void SubstringSearch::tuneTo(std::string_view sample) {
  std::size_t m = text_.size();
  if (m < 3 || sample.size() < m + 2 * kStep || availableVectorUnit() == VectorUnit::None) return;
  auto count = [&](std::size_t a, std::size_t b, std::size_t limit) {
    return passing(sample, text_, a, b, limit);
  };
  // Greedy: the best first probe beside the last byte, then the best partner.
  std::size_t a = probe1_, b = probe2_;
  std::size_t best = count(a, b, static_cast<std::size_t>(-1));
  for (std::size_t i = 1; i + 1 < m && best > 0; ++i)
    if (std::size_t c = count(i, b, best); c < best) best = c, a = i;
  for (std::size_t j = 0; j < m && best > 0; ++j)
    if (std::size_t c = j == a ? best : count(a, j, best); c < best) best = c, b = j;
  probe1_ = a;
  probe2_ = b;
}

const char* SubstringSearch::findIn(const char* begin, const char* end, VectorUnit unit) const {
  std::size_t m = text_.size();
  if (m == 0 || begin == nullptr || end < begin || static_cast<std::size_t>(end - begin) < m) return nullptr;
  const char* last = end - m;  // the last place where the text can start
  if (unit == VectorUnit::Avx2 && m >= 2) return findAvx2(begin, last, text_, probe1_, probe2_);
  if (unit == VectorUnit::Sse2 && m >= 2) return findSse2(begin, last, text_, probe1_, probe2_);
  for (const char* p = begin; p <= last; ++p) {
    p = static_cast<const char*>(std::memchr(p, text_.front(), static_cast<std::size_t>(last - p) + 1));
    if (p == nullptr) return nullptr;
    if (same(p, text_)) return p;
  }
  return nullptr;
}

}  // namespace lumo::locator
