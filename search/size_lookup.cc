// LookUpSize searches the region from its start for every title, which makes
// a page of many entries quadratic. Here the region is indexed once: every
// "/a></td>" is located, and the text in front of it is compared with the
// titles by a rolling hash, per title length. The answer is the same as
// LookUpSize's: the first case-insensitive match that begins where the
// two-byte walk from the region's start lands, then up to the next "</td>".
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "search/scrape_rules.h"

namespace {

constexpr std::string_view kTitleEnd = "/a></td>";
constexpr std::string_view kCellEnd = "</td>";
constexpr size_t kNone = std::string_view::npos;
constexpr uint64_t kMod = (uint64_t{1} << 61) - 1;
constexpr uint64_t kBase = 1000003;

uint64_t MulMod(uint64_t a, uint64_t b) {
  unsigned __int128 c = static_cast<unsigned __int128>(a) * b;
  uint64_t r = static_cast<uint64_t>(c >> 61) + static_cast<uint64_t>(c & kMod);
  while (r >= kMod) r -= kMod;
  return r;
}

uint64_t AddMod(uint64_t a, uint64_t b) {
  uint64_t r = a + b;
  return r >= kMod ? r - kMod : r;
}

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool IsHigh(char c) { return static_cast<unsigned char>(c) >= 0x80; }

std::string FoldAscii(std::string_view t) {
  std::string out(t);
  for (char& c : out) c = Fold(c);
  return out;
}

struct RegionIndex {
  std::string folded;
  std::vector<char> boundary;      // where the two-byte walk from the start lands
  std::vector<size_t> titleEnds;   // every "/a></td>", at any byte
  std::vector<size_t> cellEnds;    // every "</td>" the walk from the start meets
  std::vector<uint64_t> prefix;    // rolling hash of folded[0, i)
  std::vector<uint64_t> powers;
};

std::vector<size_t> Occurrences(std::string_view text, std::string_view sought) {
  std::vector<size_t> found;
  for (size_t at = text.find(sought); at != kNone; at = text.find(sought, at + 1))
    found.push_back(at);
  return found;
}

RegionIndex IndexRegion(const Text& region, size_t longestTitle) {
  RegionIndex ix;
  ix.folded = FoldAscii(region);
  const size_t n = ix.folded.size();
  ix.boundary.assign(n + 1, 0);
  for (size_t i = 0; i < n; i += IsHigh(ix.folded[i]) ? 2 : 1) ix.boundary[i] = 1;
  ix.titleEnds = Occurrences(ix.folded, kTitleEnd);
  for (size_t at : Occurrences(ix.folded, kCellEnd))
    if (ix.boundary[at]) ix.cellEnds.push_back(at);
  ix.prefix.resize(n + 1);
  ix.prefix[0] = 0;
  for (size_t i = 0; i < n; ++i)
    ix.prefix[i + 1] = AddMod(MulMod(ix.prefix[i], kBase), static_cast<unsigned char>(ix.folded[i]) + 1);
  ix.powers.resize(longestTitle + 1);
  ix.powers[0] = 1;
  for (size_t i = 1; i <= longestTitle; ++i) ix.powers[i] = MulMod(ix.powers[i - 1], kBase);
  return ix;
}

uint64_t SliceHash(const RegionIndex& ix, size_t from, size_t length) {
  return AddMod(ix.prefix[from + length], kMod - MulMod(ix.prefix[from], ix.powers[length]));
}

uint64_t TextHash(std::string_view folded) {
  uint64_t h = 0;
  for (char c : folded) h = AddMod(MulMod(h, kBase), static_cast<unsigned char>(c) + 1);
  return h;
}

// The cell's end is searched from right behind "/a></td>". A match begins
// on the walk from the region's start and the marker ends in ASCII bytes, so
// that search walks the same characters as the walk from the start.
size_t CellEndFrom(const RegionIndex& ix, size_t from) {
  auto next = std::lower_bound(ix.cellEnds.begin(), ix.cellEnds.end(), from);
  return next == ix.cellEnds.end() ? kNone : *next;
}

Text CellAfter(const Text& region, const RegionIndex& ix, size_t titleEnd) {
  size_t from = titleEnd + kTitleEnd.size();
  size_t end = CellEndFrom(ix, from);
  return end == kNone ? Text() : region.substr(from, end - from);
}

// For every title of one length: where its first walk-aligned occurrence
// in front of a "/a></td>" ends, or kNone.
void FindTitleEnds(const RegionIndex& ix, size_t length, const std::vector<size_t>& titles,
                   const std::vector<uint64_t>& hashes, std::vector<size_t>& ends) {
  std::unordered_map<uint64_t, size_t> first;
  first.reserve(titles.size() * 2);
  for (size_t t : titles) first.emplace(hashes[t], kNone);
  for (size_t at : ix.titleEnds) {
    if (at < length || !ix.boundary[at - length]) continue;
    auto slot = first.find(SliceHash(ix, at - length, length));
    if (slot != first.end() && slot->second == kNone) slot->second = at;
  }
  for (size_t t : titles) ends[t] = first[hashes[t]];
}

}  // namespace

TextArray LookUpSizes(const Text& region, const TextArray& rawTitles) {
  TextArray sizes(rawTitles.size());
  if (rawTitles.empty()) return sizes;
  std::vector<std::string> folded(rawTitles.size());
  std::vector<uint64_t> hashes(rawTitles.size());
  std::unordered_map<size_t, std::vector<size_t>> byLength;
  size_t longest = 0;
  for (size_t t = 0; t < rawTitles.size(); ++t) {
    folded[t] = FoldAscii(rawTitles[t]);
    hashes[t] = TextHash(folded[t]);
    byLength[folded[t].size()].push_back(t);
    longest = std::max(longest, folded[t].size());
  }
  if (longest > region.size()) longest = region.size();
  RegionIndex ix = IndexRegion(region, longest);
  std::vector<size_t> ends(rawTitles.size(), kNone);
  for (const auto& [length, titles] : byLength)
    if (length <= region.size()) FindTitleEnds(ix, length, titles, hashes, ends);
  for (size_t t = 0; t < rawTitles.size(); ++t) {
    size_t end = ends[t];
    if (end == kNone) continue;
    size_t length = folded[t].size();
    if (ix.folded.compare(end - length, length, folded[t]) == 0)
      sizes[t] = CellAfter(region, ix, end);
    else  // a hash collision: let the plain search decide
      sizes[t] = LookUpSize(region, rawTitles[t]);
  }
  return sizes;
}
