// LookUpSize searches the region from its start for every title, which makes
// a page of many entries quadratic. Here the region is indexed once: every
// "/a></td>" is located, and the text in front of it is compared with the
// titles by a rolling hash, for every title length. The answer is the same as
// LookUpSize's: the first case-insensitive match that begins where the
// two-byte walk from the region's start lands, then up to the next "</td>".
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "search/scrape_rules.h"

namespace {

constexpr std::string_view kTitleEnd = "/a></td>";
constexpr std::string_view kCellEnd = "</td>";
constexpr size_t kNone = std::string_view::npos;
// Polynomial hash with wrapping arithmetic: cheap, and every hit is
// compared byte for byte, so a collision costs time, never a wrong size.
constexpr uint64_t kBase = 0x100000001B3ULL;
constexpr size_t kStride = 64;

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool IsHigh(char c) { return static_cast<unsigned char>(c) >= 0x80; }

std::string FoldAscii(std::string_view t) {
  std::string out(t);
  for (char& c : out) c = Fold(c);
  return out;
}

struct RegionIndex {
  std::string folded;
  std::vector<uint64_t> boundary;  // bit i: the two-byte walk from the start lands on i
  std::vector<size_t> titleEnds;   // every "/a></td>", at any byte
  std::vector<size_t> cellEnds;    // every "</td>" the walk from the start meets
  // The rolling hash of folded[0, i) is kept only at every kStride-th i:
  // a hash per byte would cost eight times the region, far more than the
  // page itself.
  std::vector<uint64_t> checkpoints;
  std::vector<uint64_t> powers;
};

bool OnWalk(const RegionIndex& ix, size_t i) { return ix.boundary[i / 64] >> (i % 64) & 1; }

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
  ix.boundary.assign(n / 64 + 1, 0);
  for (size_t i = 0; i < n; i += IsHigh(ix.folded[i]) ? 2 : 1)
    ix.boundary[i / 64] |= uint64_t{1} << (i % 64);
  ix.titleEnds = Occurrences(ix.folded, kTitleEnd);
  for (size_t at = ix.folded.find(kCellEnd); at != kNone; at = ix.folded.find(kCellEnd, at + 1))
    if (OnWalk(ix, at)) ix.cellEnds.push_back(at);
  ix.checkpoints.reserve(n / kStride + 1);
  uint64_t h = 0;
  for (size_t i = 0; i < n; ++i) {
    if (i % kStride == 0) ix.checkpoints.push_back(h);
    h = h * kBase + static_cast<unsigned char>(ix.folded[i]) + 1;
  }
  if (n % kStride == 0) ix.checkpoints.push_back(h);
  ix.powers.resize(longestTitle + 1);
  ix.powers[0] = 1;
  for (size_t i = 1; i <= longestTitle; ++i) ix.powers[i] = ix.powers[i - 1] * kBase;
  return ix;
}

uint64_t PrefixHash(const RegionIndex& ix, size_t i) {
  uint64_t h = ix.checkpoints[i / kStride];
  for (size_t k = i - i % kStride; k < i; ++k) h = h * kBase + static_cast<unsigned char>(ix.folded[k]) + 1;
  return h;
}

uint64_t SliceHash(const RegionIndex& ix, size_t from, size_t length, uint64_t prefixAtEnd) {
  return prefixAtEnd - PrefixHash(ix, from) * ix.powers[length];
}

uint64_t TextHash(std::string_view folded) {
  uint64_t h = 0;
  for (char c : folded) h = h * kBase + static_cast<unsigned char>(c) + 1;
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

uint64_t SlotKey(uint64_t hash, size_t length) {
  return hash ^ (static_cast<uint64_t>(length) * 0x9E3779B97F4A7C15ULL);
}

// A bit per key hash, small enough to stay in cache: nearly every probe
// misses, and a miss then costs no lookup in the table.
constexpr int kFilterBits = 20;

size_t FilterBit(uint64_t key) {
  return static_cast<size_t>((key * 0xD6E8FEB86659FD93ULL) >> (64 - kFilterBits));
}

struct Slot {
  size_t title;        // the first title with this key
  size_t end = kNone;  // where its first match ends
};

// Walks the "/a></td>" in region order and, at each, tries every title
// length in front of it, so the first verified match of a title is the one
// LookUpSize finds. Occurrence-major order keeps the prefix reads local.
void FindTitleEnds(const RegionIndex& ix, const std::vector<std::string>& folded,
                   const std::vector<size_t>& lengths, std::unordered_map<uint64_t, Slot>& slots) {
  std::vector<uint64_t> filter((size_t{1} << kFilterBits) / 64, 0);
  for (const auto& entry : slots)
    filter[FilterBit(entry.first) / 64] |= uint64_t{1} << (FilterBit(entry.first) % 64);
  size_t open = slots.size();
  for (size_t at : ix.titleEnds) {
    const uint64_t prefixAtEnd = PrefixHash(ix, at);
    for (size_t length : lengths) {
      if (length > at) break;
      size_t from = at - length;
      if (!OnWalk(ix, from)) continue;
      uint64_t key = SlotKey(SliceHash(ix, from, length, prefixAtEnd), length);
      if (!(filter[FilterBit(key) / 64] >> (FilterBit(key) % 64) & 1)) continue;
      auto slot = slots.find(key);
      if (slot == slots.end() || slot->second.end != kNone) continue;
      if (ix.folded.compare(from, length, folded[slot->second.title]) != 0) continue;
      slot->second.end = at;
      if (--open == 0) return;
    }
  }
}

}  // namespace

TextArray LookUpSizes(const Text& region, const TextArray& rawTitles) {
  TextArray sizes(rawTitles.size());
  std::vector<std::string> folded(rawTitles.size());
  std::vector<uint64_t> keys(rawTitles.size());
  std::unordered_map<uint64_t, Slot> slots;
  std::vector<size_t> lengths;
  for (size_t t = 0; t < rawTitles.size(); ++t) {
    folded[t] = FoldAscii(rawTitles[t]);
    if (folded[t].size() > region.size()) continue;  // cannot occur in the region
    keys[t] = SlotKey(TextHash(folded[t]), folded[t].size());
    slots.emplace(keys[t], Slot{t});
    lengths.push_back(folded[t].size());
  }
  if (slots.empty()) return sizes;
  std::sort(lengths.begin(), lengths.end());
  lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
  RegionIndex ix = IndexRegion(region, lengths.back());
  FindTitleEnds(ix, folded, lengths, slots);
  for (size_t t = 0; t < rawTitles.size(); ++t) {
    if (folded[t].size() > region.size()) continue;
    const Slot& slot = slots.at(keys[t]);
    if (folded[slot.title] != folded[t])  // two titles share a key: the plain search decides
      sizes[t] = LookUpSize(region, rawTitles[t]);
    else if (slot.end != kNone)
      sizes[t] = CellAfter(region, ix, slot.end);
  }
  return sizes;
}
