// The fast substring search against the plain one, over texts placed at
// every offset near the ends of buffers of many lengths, with the tested
// bytes chosen by default and tuned to the data.
#include "resolve/locator/substring.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace lumo::locator {
namespace {

const char* expected(std::string_view hay, std::string_view text) {
  std::size_t at = hay.find(text);
  return at == std::string_view::npos ? nullptr : hay.data() + at;
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
    std::string hay = text(random() % 200);
    std::string needle = round % 3 == 0 && hay.size() > 2
                             ? hay.substr(random() % (hay.size() - 1), 1 + random() % 40)
                             : text(1 + random() % 6);
    SubstringSearch search(needle);
    if (round % 2 == 1) search.tuneTo(hay);
    for (std::size_t from = 0; from <= std::min<std::size_t>(hay.size(), 20); ++from) {
      std::string_view view(hay.data() + from, hay.size() - from);
      ASSERT_EQ(search.findIn(view.data(), view.data() + view.size()), expected(view, needle))
          << "needle " << needle << " in " << hay << " from " << from;
    }
  }
}

TEST(SubstringSearch, TextsAtTheEdgesOfLongBuffers) {
  std::string needle = "<20240101.4711@mail.example.com>";
  SubstringSearch search(needle);
  for (std::size_t size = needle.size(); size < needle.size() + 70; ++size) {
    for (std::size_t at : {std::size_t{0}, size - needle.size(), (size - needle.size()) / 2}) {
      std::string hay(size, '.');
      hay.replace(at, needle.size(), needle);
      EXPECT_EQ(search.findIn(hay.data(), hay.data() + hay.size()), hay.data() + at) << size << " " << at;
      // One byte short of the end: the text no longer fits.
      EXPECT_EQ(search.findIn(hay.data(), hay.data() + hay.size() - 1),
                at + needle.size() < size ? hay.data() + at : nullptr);
    }
  }
}

TEST(SubstringSearch, TuningPicksRareBytesAndKeepsResults) {
  std::string hay;
  for (int i = 0; i < 1000; ++i) hay += "<" + std::to_string(i) + "@mail.example.com>\x01";
  std::string needle = "<777@mail.example.com>";
  SubstringSearch search(needle);
  search.tuneTo(hay);
  EXPECT_EQ(search.findIn(hay.data(), hay.data() + hay.size()), hay.data() + hay.find(needle));
  SubstringSearch empty("");
  EXPECT_EQ(empty.findIn(hay.data(), hay.data() + hay.size()), nullptr);
  SubstringSearch one("@");
  one.tuneTo(hay);
  EXPECT_EQ(one.findIn(hay.data(), hay.data() + hay.size()), hay.data() + hay.find('@'));
  SubstringSearch same("aaaa");
  same.tuneTo("aaaaaaaa");
  std::string run = "bbbaaabaaaab";
  EXPECT_EQ(same.findIn(run.data(), run.data() + run.size()), run.data() + 7);
}

}  // namespace
}  // namespace lumo::locator
