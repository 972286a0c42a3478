// Many texts at once against each text searched alone, on texts that share
// anchors, share nothing, overlap, repeat and stand at the buffer's edges.
#include "resolve/locator/text_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using lumo::locator::commonPiece;
using lumo::locator::commonPieces;
using lumo::locator::TextSetSearch;

// Every (text, offset) where a text stands in `data`, found one text at a time.
std::set<std::pair<std::size_t, std::size_t>> naive(const std::vector<std::string>& texts,
                                                    const std::string& data) {
  std::set<std::pair<std::size_t, std::size_t>> found;
  for (std::size_t t = 0; t < texts.size(); ++t) {
    if (texts[t].empty() || texts[t].find('\n') != std::string::npos) continue;
    for (std::size_t at = data.find(texts[t]); at != std::string::npos; at = data.find(texts[t], at + 1))
      found.insert({t, at});
  }
  return found;
}

std::set<std::pair<std::size_t, std::size_t>> together(const std::vector<std::string>& texts,
                                                       const std::string& data, bool tune) {
  std::vector<std::string_view> views(texts.begin(), texts.end());
  TextSetSearch search(views);
  if (tune) search.tuneTo(data);
  std::vector<TextSetSearch::Hit> hits;
  search.findAll(data.data(), data.data() + data.size(), hits);
  std::set<std::pair<std::size_t, std::size_t>> found;
  std::vector<std::size_t> last(texts.size(), 0);
  std::vector<bool> seen(texts.size(), false);
  for (const auto& hit : hits) {
    auto at = static_cast<std::size_t>(hit.at - data.data());
    // Each text's places come in order.
    EXPECT_TRUE(!seen[hit.text] || at > last[hit.text]) << "text " << hit.text;
    seen[hit.text] = true;
    last[hit.text] = at;
    found.insert({hit.text, at});
  }
  return found;
}

TEST(CommonPiece, IsTheLongestPieceEveryTextHolds) {
  EXPECT_EQ(commonPiece({"<a@1_1.LuMO.x>", "<bb@2_2.LuMO.y>", "<c@3.LuMO.x>"}, 32), ".LuMO.");
  EXPECT_EQ(commonPiece({"<a@1_1.LuMO.ex.com>", "<b@2_2.LuMO.ex.com>"}, 32), ".LuMO.ex.com>");
  EXPECT_EQ(commonPiece({"abcdef", "xxcdexx"}, 2).size(), 2u);
  EXPECT_EQ(commonPiece({"abc", "xyz"}, 32), "");
  EXPECT_EQ(commonPiece({"same"}, 32), "same");
  EXPECT_EQ(commonPiece({}, 32), "");
}

TEST(TextSetSearch, FindsWhatEachTextAloneFinds) {
  const std::string data =
      "0\x01k1\x01<a@1_1.LuMO.x>\x01s\r\n"
      "0\x01k2\x01<a@1_1.LuMO.x>\x01again\r\n"
      "0\x01k3\x01<b@22_7.LuMO.x.y>\x01<a@1_1.LuMO.x>\r\n"
      "<c@3.LuMO.z>";
  std::vector<std::string> texts = {"<a@1_1.LuMO.x>",
                                    "<b@22_7.LuMO.x.y>",
                                    "<c@3.LuMO.z>",
                                    "<d@4.LuMO.x>",
                                    "<a@1_1.LuMO.x>",
                                    "1_1.LuMO.",
                                    ".LuMO.",
                                    "",
                                    "a\nb"};
  for (bool tune : {false, true}) EXPECT_EQ(together(texts, data, tune), naive(texts, data));
}

TEST(TextSetSearch, TextsWithoutACommonByteAreStillAllFound) {
  const std::string data = "abc xyz abcabc zz y\nqq";
  std::vector<std::string> texts = {"abc", "xyz", "z", "bca", "qq", "y"};
  EXPECT_EQ(together(texts, data, false), naive(texts, data));
}

TEST(TextSetSearch, TextsAtTheVeryEdgesOfTheBuffer) {
  const std::string data = "<e@9.LuMO.q>middle<f@8.LuMO.q>";
  std::vector<std::string> texts = {"<e@9.LuMO.q>", "<f@8.LuMO.q>", "<f@8.LuMO.q>>", "<<e@9.LuMO.q>"};
  EXPECT_EQ(together(texts, data, false), naive(texts, data));
}

TEST(CommonPieces, AreEveryPieceOfOneLengthThatAllHold) {
  EXPECT_EQ(commonPieces({"<a@1.LuMO.ex.jp>", "<b@22.LuMO.ex.jp>"}, 12),
            (std::vector<std::string>{".LuMO.ex.jp>"}));
  EXPECT_EQ(commonPieces({"xabcx", "yabcyab"}, 2), (std::vector<std::string>{"ab", "bc"}));
  EXPECT_TRUE(commonPieces({"abc", "xyz"}, 1).empty());
}

// Texts sharing a long domain that every line of the data holds too: tuned
// to the data, the search anchors elsewhere and still finds the same.
TEST(TextSetSearch, AnAnchorChosenByTheDataFindsTheSame) {
  std::vector<std::string> texts;
  for (int i = 0; i < 40; ++i)
    texts.push_back("<" + std::to_string(i) + "@" + std::to_string(i % 9) + "_1.LuMO.mail.example.co.jp>");
  std::string data;
  for (int i = 0; i < 400; ++i) {
    data += "0\x01K\x01<" + std::to_string(i * 31) + "@mail.example.co.jp>\r\n";
    if (i % 10 == 0) data += "0\x01S\x01" + texts[static_cast<std::size_t>(i / 10 % 40)] + "\r\n";
  }
  EXPECT_EQ(together(texts, data, true), naive(texts, data));
  EXPECT_EQ(together(texts, data, false), naive(texts, data));
  EXPECT_EQ(naive(texts, data).size(), 40u);
}

// Random texts made of few letters (so they overlap and repeat) around a
// shared mark, in random data made of the same letters.
TEST(TextSetSearch, RandomTextsMatchTheOneAtATimeSearch) {
  std::mt19937 rng(7);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const std::string letters = "ab@.<>\r\x01";
  int roundsWithHits = 0;
  for (int round = 0; round < 300; ++round) {
    auto word = [&](int maxLen) {
      std::string w;
      for (int n = pick(maxLen) + (round % 3 == 0 ? 0 : 1); n > 0; --n)
        w += letters[static_cast<std::size_t>(pick(8))];
      return w;
    };
    std::vector<std::string> texts;
    bool marked = round % 2 == 0;
    for (int n = pick(12) + 1; n > 0; --n) texts.push_back(marked ? word(4) + ".Lu" + word(4) : word(6));
    std::string data;
    for (int n = pick(60); n > 0; --n) {
      if (pick(4) == 0) data += texts[static_cast<std::size_t>(pick(static_cast<int>(texts.size())))];
      data += word(5);
      if (pick(6) == 0) data += '\n';
      if (marked && pick(3) == 0) data += ".Lu";
    }
    SCOPED_TRACE(round);
    auto expected = naive(texts, data);
    EXPECT_EQ(together(texts, data, round % 4 == 1), expected);
    roundsWithHits += expected.empty() ? 0 : 1;
  }
  EXPECT_GT(roundsWithHits, 200);  // the rounds really exercise matches
}

}  // namespace
