// Many texts at once: one fast anchor search per group of texts, then a
// lookup by the bytes around each place the anchor stands.
#include "resolve/locator/text_set.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace lumo::locator {
namespace {

// Longest anchor tried; a longer one would not find places any faster.
constexpr std::size_t kAnchorCap = 32;
// Bytes on each side of the anchor that pick the texts to compare.
constexpr std::size_t kKeyBytes = 8;

// Pieces tried as anchors beside the longest one.
constexpr std::size_t kCandidateLength = 8;

std::string_view shortestOf(const std::vector<std::string_view>& texts) {
  return *std::min_element(texts.begin(), texts.end(),
                           [](std::string_view a, std::string_view b) { return a.size() < b.size(); });
}

// The pieces of `length` bytes of `shortest` that every text holds.
std::vector<std::string_view> piecesOf(const std::vector<std::string_view>& texts, std::string_view shortest,
                                       std::size_t length) {
  std::vector<std::string_view> left;
  for (std::size_t at = 0; at + length <= shortest.size(); ++at) left.push_back(shortest.substr(at, length));
  std::sort(left.begin(), left.end());
  left.erase(std::unique(left.begin(), left.end()), left.end());
  for (std::string_view text : texts) {
    std::erase_if(left, [&](std::string_view p) { return text.find(p) == std::string_view::npos; });
    if (left.empty()) break;
  }
  return left;
}

std::size_t countIn(std::string_view sample, std::string_view piece) {
  std::size_t count = 0;
  for (std::size_t at = sample.find(piece); at != std::string_view::npos; at = sample.find(piece, at + 1))
    ++count;
  return count;
}

}  // namespace

std::string commonPiece(const std::vector<std::string_view>& texts, std::size_t cap) {
  if (texts.empty()) return {};
  std::string_view shortest = shortestOf(texts);
  // Every part of a common piece is common too: search the length by halves.
  std::size_t low = 0, high = std::min(cap, shortest.size());
  std::string_view best;
  while (low < high) {
    std::size_t mid = (low + high + 1) / 2;
    std::vector<std::string_view> pieces = piecesOf(texts, shortest, mid);
    if (!pieces.empty()) {
      low = mid;
      best = pieces.front();
    } else {
      high = mid - 1;
    }
  }
  return std::string(best);
}

std::vector<std::string> commonPieces(const std::vector<std::string_view>& texts, std::size_t length) {
  if (texts.empty() || length == 0) return {};
  std::vector<std::string_view> pieces = piecesOf(texts, shortestOf(texts), length);
  return std::vector<std::string>(pieces.begin(), pieces.end());
}

TextSetSearch::TextSetSearch(const std::vector<std::string_view>& texts) {
  texts_.assign(texts.begin(), texts.end());
  std::vector<std::uint32_t> searchable;
  for (std::size_t i = 0; i < texts_.size(); ++i) {
    if (texts_[i].empty() || texts_[i].find('\n') != std::string::npos) continue;
    searchable.push_back(static_cast<std::uint32_t>(i));
    longest_ = std::max(longest_, texts_[i].size());
  }
  if (!searchable.empty()) addGroup(searchable);
}

void TextSetSearch::addGroup(const std::vector<std::uint32_t>& texts) {
  std::vector<std::string_view> views;
  for (std::uint32_t t : texts) views.push_back(texts_[t]);
  std::string longestPiece = commonPiece(views, kAnchorCap);
  if (longestPiece.empty()) {
    // Texts with no byte in common: each first byte makes a group that has one.
    std::map<char, std::vector<std::uint32_t>> byFirst;
    for (std::uint32_t t : texts) byFirst[texts_[t].front()].push_back(t);
    for (const auto& [first, part] : byFirst) addGroup(part);
    return;
  }
  Group& group = groups_.emplace_back();
  group.texts = texts;
  group.candidates.push_back(longestPiece);
  if (longestPiece.size() > kCandidateLength)
    for (std::string& piece : commonPieces(views, kCandidateLength))
      group.candidates.push_back(std::move(piece));
  anchorGroup(group, longestPiece);
}

void TextSetSearch::anchorGroup(Group& group, const std::string& anchor) const {
  group.anchor = SubstringSearch(anchor);
  group.before = group.after = kKeyBytes;
  std::vector<std::size_t> anchorAt;
  for (std::uint32_t t : group.texts) {
    std::size_t at = texts_[t].find(anchor);
    anchorAt.push_back(at);
    group.before = std::min(group.before, at);
    group.after = std::min(group.after, texts_[t].size() - at - anchor.size());
  }
  group.members.clear();
  for (std::size_t i = 0; i < group.texts.size(); ++i) {
    const char* place = texts_[group.texts[i]].data() + anchorAt[i];
    group.members[keyOf(place, anchor.size(), group.before, group.after)].push_back(
        {group.texts[i], static_cast<std::uint32_t>(anchorAt[i])});
  }
}

std::uint64_t TextSetSearch::keyOf(const char* anchorAt, std::size_t anchorSize, std::size_t before,
                                   std::size_t after) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  auto mix = [&](const char* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) hash = (hash ^ static_cast<unsigned char>(p[i])) * 1099511628211ull;
  };
  mix(anchorAt - before, before);
  mix(anchorAt + anchorSize, after);
  return hash;
}

void TextSetSearch::tuneTo(std::string_view sample) {
  for (Group& group : groups_) {
    // The rarest piece in the data; of equally rare ones the longest.
    const std::string* best = &group.candidates.front();
    std::size_t bestCount = countIn(sample, *best);
    for (const std::string& piece : group.candidates) {
      std::size_t count = countIn(sample, piece);
      if (count < bestCount || (count == bestCount && piece.size() > best->size())) {
        best = &piece;
        bestCount = count;
      }
    }
    if (*best != group.anchor.text()) anchorGroup(group, *best);
    group.anchor.tuneTo(sample);
  }
}

void TextSetSearch::findAll(const char* begin, const char* end, std::vector<Hit>& hits) const {
  for (const Group& group : groups_) {
    const std::size_t size = group.anchor.text().size();
    for (const char* from = begin;;) {
      const char* place = group.anchor.findIn(from, end);
      if (place == nullptr) break;
      from = place + 1;
      if (static_cast<std::size_t>(place - begin) < group.before ||
          static_cast<std::size_t>(end - place) < size + group.after)
        continue;
      auto bucket = group.members.find(keyOf(place, size, group.before, group.after));
      if (bucket == group.members.end()) continue;
      for (const Member& member : bucket->second) {
        const std::string& text = texts_[member.text];
        if (static_cast<std::size_t>(place - begin) < member.anchorAt) continue;
        const char* start = place - member.anchorAt;
        if (static_cast<std::size_t>(end - start) < text.size()) continue;
        if (std::memcmp(start, text.data(), text.size()) == 0) hits.push_back({member.text, start});
      }
    }
  }
}

}  // namespace lumo::locator
