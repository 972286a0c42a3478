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

// A piece of `length` bytes of `shortest` that every text holds, if any.
bool commonPieceOf(const std::vector<std::string_view>& texts, std::string_view shortest, std::size_t length,
                   std::string_view& piece) {
  std::vector<std::string_view> left;
  for (std::size_t at = 0; at + length <= shortest.size(); ++at) left.push_back(shortest.substr(at, length));
  std::sort(left.begin(), left.end());
  left.erase(std::unique(left.begin(), left.end()), left.end());
  for (std::string_view text : texts) {
    std::erase_if(left, [&](std::string_view p) { return text.find(p) == std::string_view::npos; });
    if (left.empty()) return false;
  }
  piece = left.front();
  return true;
}

}  // namespace

std::string commonPiece(const std::vector<std::string_view>& texts, std::size_t cap) {
  if (texts.empty()) return {};
  std::string_view shortest = *std::min_element(
      texts.begin(), texts.end(), [](std::string_view a, std::string_view b) { return a.size() < b.size(); });
  // Every part of a common piece is common too: search the length by halves.
  std::size_t low = 0, high = std::min(cap, shortest.size());
  std::string_view best;
  while (low < high) {
    std::size_t mid = (low + high + 1) / 2;
    std::string_view piece;
    if (commonPieceOf(texts, shortest, mid, piece)) {
      low = mid;
      best = piece;
    } else {
      high = mid - 1;
    }
  }
  return std::string(best);
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

void TextSetSearch::addGroup(const std::vector<std::uint32_t>& members) {
  std::vector<std::string_view> texts;
  for (std::uint32_t m : members) texts.push_back(texts_[m]);
  std::string anchor = commonPiece(texts, kAnchorCap);
  if (anchor.empty()) {
    // Texts with no byte in common: each first byte makes a group that has one.
    std::map<char, std::vector<std::uint32_t>> byFirst;
    for (std::uint32_t m : members) byFirst[texts_[m].front()].push_back(m);
    for (const auto& [first, part] : byFirst) addGroup(part);
    return;
  }
  Group& group = groups_.emplace_back(anchor);
  group.before = group.after = kKeyBytes;
  std::vector<std::size_t> anchorAt;
  for (std::string_view text : texts) {
    std::size_t at = text.find(anchor);
    anchorAt.push_back(at);
    group.before = std::min(group.before, at);
    group.after = std::min(group.after, text.size() - at - anchor.size());
  }
  for (std::size_t i = 0; i < members.size(); ++i) {
    const char* place = texts[i].data() + anchorAt[i];
    group.members[keyOf(place, anchor.size(), group.before, group.after)].push_back(
        {members[i], static_cast<std::uint32_t>(anchorAt[i])});
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
  for (Group& group : groups_) group.anchor.tuneTo(sample);
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
