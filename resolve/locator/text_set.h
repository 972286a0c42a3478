// Many texts looked for at once in index text, each by the rule of a single
// search: a case-sensitive byte substring of one line. The texts are not
// compared at every place: a piece they all hold (the anchor; shortcut
// Message-IDs all hold ".LuMO.") is found with the fast single search, and
// only where it stands are the texts that hold it around that place compared
// whole, picked by the bytes next to the anchor. Of the pieces they share,
// the one rarest in the data searched is the anchor: a domain that every
// Message-ID of the store also holds would stop the search at every line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "resolve/locator/substring.h"

namespace lumo::locator {

class TextSetSearch {
 public:
  // A place where a whole text stands.
  struct Hit {
    std::size_t text;  // index into the texts given
    const char* at;
  };

  // Texts that are empty or hold a line feed are never found (no line holds
  // them). Equal texts are all reported.
  explicit TextSetSearch(const std::vector<std::string_view>& texts);

  // The length of the longest text.
  std::size_t longest() const { return longest_; }
  // Chooses each group's anchor, and the anchor's tested bytes, by their
  // rarity in `sample`.
  void tuneTo(std::string_view sample);
  // Appends every place in [begin, end) where a whole text stands, in order
  // of place for each text (not across texts). Places are not checked
  // against line ends: the caller does that.
  void findAll(const char* begin, const char* end, std::vector<Hit>& hits) const;

 private:
  struct Member {
    std::uint32_t text;
    std::uint32_t anchorAt;  // where the anchor first stands in the text
  };
  // Texts sharing one anchor, looked up by the bytes around it.
  struct Group {
    std::vector<std::uint32_t> texts;
    std::vector<std::string> candidates;  // pieces all its texts hold
    SubstringSearch anchor{""};
    std::size_t before = 0;  // key bytes taken before the anchor
    std::size_t after = 0;   // and after it
    std::unordered_map<std::uint64_t, std::vector<Member>> members;
  };

  void addGroup(const std::vector<std::uint32_t>& texts);
  void anchorGroup(Group& group, const std::string& anchor) const;
  static std::uint64_t keyOf(const char* anchorAt, std::size_t anchorSize, std::size_t before,
                             std::size_t after);

  std::vector<std::string> texts_;
  std::vector<Group> groups_;
  std::size_t longest_ = 0;
};

// The longest piece (of at most `cap` bytes) that every text holds; empty
// when they share no byte or there are no texts.
std::string commonPiece(const std::vector<std::string_view>& texts, std::size_t cap);
// Every distinct piece of exactly `length` bytes that every text holds.
std::vector<std::string> commonPieces(const std::vector<std::string_view>& texts, std::size_t length);

}  // namespace lumo::locator
