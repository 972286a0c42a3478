// The fast substring search with every vector unit the processor has, with
// the probes at the text's ends and tuned to the data, against the plain
// library search, over texts placed at every offset near the ends of buffers
// of many lengths.
#include "resolve/locator/substring.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace lumo::locator {
namespace {

std::vector<VectorUnit> units() {
  std::vector<VectorUnit> all = {VectorUnit::None};
  if (availableVectorUnit() != VectorUnit::None) all.push_back(VectorUnit::Sse2);
  if (availableVectorUnit() == VectorUnit::Avx2) all.push_back(VectorUnit::Avx2);
  return all;
}

const char* expected(std::string_view hay, std::string_view text) {
  std::size_t at = hay.find(text);
  return text.empty() || at == std::string_view::npos ? nullptr : hay.data() + at;
}

TEST(SubstringSearch, FindsTheFirstPlaceLikeThePlainSearch) {
  std::mt19937 random(7);
  // A small alphabet makes near misses and repeats common.
  auto text = [&](std::size_t n) {
    std::string s(n, 'a');
    for (char& c : s) c = "ab\x01<>@"[random() % 6];
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    std::string hay = text(random() % 300);
    std::string needle = round % 3 == 0 && hay.size() > 2
                             ? hay.substr(random() % (hay.size() - 1), 1 + random() % 40)
                             : text(random() % 6);
    SubstringSearch search(needle);
    if (round % 2 == 1) search.tuneTo(hay);
    for (std::size_t from = 0; from <= std::min<std::size_t>(hay.size(), 40); ++from) {
      const char* begin = hay.data() + from;
      const char* end = hay.data() + hay.size();
      const char* want = expected(std::string_view(begin, hay.size() - from), needle);
      for (VectorUnit unit : units())
        ASSERT_EQ(search.findIn(begin, end, unit), want)
            << "needle " << needle << " in " << hay << " from " << from << " unit " << static_cast<int>(unit);
    }
  }
}

TEST(SubstringSearch, TextsAtTheEdgesOfLongBuffers) {
  std::string needle = "<20240101.4711@mail.example.com>";
  SubstringSearch search(needle);
  for (std::size_t size = needle.size(); size < needle.size() + 100; ++size) {
    for (std::size_t at : {std::size_t{0}, size - needle.size(), (size - needle.size()) / 2}) {
      std::string hay(size, '.');
      hay.replace(at, needle.size(), needle);
      // Near misses before it: the first and last bytes agree, the rest not.
      if (at >= needle.size()) hay.replace(0, needle.size(), "<" + std::string(needle.size() - 2, '-') + ">");
      const char* end = hay.data() + hay.size();
      for (VectorUnit unit : units()) {
        EXPECT_EQ(search.findIn(hay.data(), end, unit), hay.data() + at) << size << " " << at;
        // One byte short of the end: the text no longer fits there.
        EXPECT_EQ(search.findIn(hay.data(), end - 1, unit),
                  at + needle.size() < size ? hay.data() + at : nullptr);
      }
    }
  }
  EXPECT_EQ(search.findIn(nullptr, nullptr), nullptr);
  EXPECT_EQ(SubstringSearch("").findIn(needle.data(), needle.data() + needle.size()), nullptr);
}

// Message-IDs of one format: the brackets at both ends agree at every one of
// them, so the tuned probes must lie in the part that differs.
TEST(SubstringSearch, TuningFindsTheSameWithProbesWhereMessageIdsDiffer) {
  std::string hay;
  for (int i = 0; i < 3000; ++i) hay += "\x01<2024" + std::to_string(100000 + i) + ".1@mail.example.jp>\x01";
  std::string needle = "<2024102999.1@mail.example.jp>";
  SubstringSearch tuned(needle);
  tuned.tuneTo(std::string_view(hay).substr(0, 65536));
  for (VectorUnit unit : units())
    EXPECT_EQ(tuned.findIn(hay.data(), hay.data() + hay.size(), unit), hay.data() + hay.find(needle));
  SubstringSearch absent("<2024999999.1@mail.example.jp>");
  absent.tuneTo(hay);
  for (VectorUnit unit : units())
    EXPECT_EQ(absent.findIn(hay.data(), hay.data() + hay.size(), unit), nullptr);
}

}  // namespace
}  // namespace lumo::locator
