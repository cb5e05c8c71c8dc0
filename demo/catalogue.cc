#include "demo/catalogue.h"

#include <array>
#include <cstdio>
#include <string>

#include "net/bencode.h"
#include "net/sha1.h"

namespace {

// splitmix64: a fixed sequence from a fixed seed, the same on every machine.
uint64_t NextRandom(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

Text FoldAscii(Text t) {
  for (char& c : t)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return t;
}

Text UpperHex(Text t) {
  for (char& c : t)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return t;
}

template <size_t N>
const char* Pick(const std::array<const char*, N>& words, uint64_t& state) {
  return words[NextRandom(state) % N];
}

constexpr std::array<const char*, 16> kAdjectives = {
    "Quiet",  "Silver", "Northern", "Hidden",   "Golden",  "Electric", "Distant", "Crimson",
    "Frozen", "Wild",   "Lost",     "Midnight", "Ancient", "Bright",   "Hollow",  "Velvet"};
constexpr std::array<const char*, 16> kNouns = {
    "Harbour", "River",   "Garden",  "Voyage", "Signal", "Mountain", "Archive", "Orchestra",
    "Lantern", "Horizon", "Circuit", "Meadow", "Island", "Citadel",  "Comet",   "Kingdom"};
constexpr std::array<const char*, 3> kResolutions = {"720p", "1080p", "2160p"};
constexpr std::array<const char*, 4> kSources = {"WEB-DL", "BluRay", "HDTV", "DVDRip"};
constexpr std::array<const char*, 16> kChineseWords = {
    "海洋", "星空", "城市", "山川", "故事", "旅行", "美食", "历史",
    "科学", "自然", "森林", "长河", "明月", "江湖", "时光", "家园"};
constexpr std::array<const char*, 8> kChineseTails = {"纪录片", "合集", "高清", "中字",
                                                      "国语",   "粤语", "全集", "精选"};

Text Tag(int number) {
  char tag[16];
  std::snprintf(tag, sizeof tag, "[%04d] ", number);
  return tag;
}

Text EnglishName(uint64_t& state) {
  return Text(Pick(kAdjectives, state)) + " " + Pick(kNouns, state) + " " +
         std::to_string(1998 + NextRandom(state) % 27);
}

Text ChineseName(uint64_t& state) {
  return Text(Pick(kChineseWords, state)) + Pick(kChineseWords, state);
}

Text EscapeBytes(const Text& t, bool (*escaped)(unsigned char)) {
  static const char hex[] = "0123456789ABCDEF";
  Text out;
  for (unsigned char c : t) {
    if (escaped(c)) {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// The kinds of title the site shows: plain English, escaped spaces, escaped
// Chinese, plain Chinese, titles ending in a Chinese character, and "qq".
void MakeTitles(int number, uint64_t& state, Text& title, Text& pageTitle) {
  const Text tag = Tag(number);
  Text name;
  switch (number % 8) {
    case 3:
      title = tag + EnglishName(state) + " " + Pick(kResolutions, state);
      pageTitle = EscapeBytes(title, [](unsigned char c) { return c == ' '; });
      return;
    case 4:
      name = ChineseName(state) + Pick(kChineseTails, state);
      title = tag + name;
      pageTitle = tag + EscapeBytes(name, [](unsigned char c) { return c >= 0x80; });
      return;
    case 5:
      title = tag + ChineseName(state) + " 第" + std::to_string(1 + NextRandom(state) % 9) + "季 " +
              Pick(kResolutions, state);
      break;
    case 6:
      title = tag + EnglishName(state) + " " + Pick(kResolutions, state) + " " +
              Pick(kChineseTails, state);
      break;
    case 7:
      title = tag + (NextRandom(state) % 2 ? "qq音乐 " : "QQ Music ") + ChineseName(state) +
              Pick(kChineseTails, state);
      break;
    default:
      title =
          tag + EnglishName(state) + " " + Pick(kResolutions, state) + " " + Pick(kSources, state);
  }
  pageTitle = title;
}

Bytes RandomBytes(uint64_t& state, size_t n) {
  Bytes out;
  out.reserve(n + 8);
  while (out.size() < n) {
    uint64_t r = NextRandom(state);
    for (int i = 0; i < 8; ++i) out += static_cast<char>(r >> (8 * i));
  }
  out.resize(n);
  return out;
}

// The pieces stand for content nobody has; readers only check their shape.
Bytes TorrentFile(const Text& title, int64_t length, int number, uint64_t& state, Text& btih) {
  int64_t pieceLength = 256 * 1024;
  while ((length + pieceLength - 1) / pieceLength > 1000) pieceLength *= 2;
  const int64_t pieces = (length + pieceLength - 1) / pieceLength;
  const Bytes info = BencodeDictionary({
      {"length", BencodeInteger(length)},
      {"name", BencodeString(title)},
      {"piece length", BencodeInteger(pieceLength)},
      {"pieces", BencodeString(RandomBytes(state, static_cast<size_t>(pieces) * 20))},
  });
  btih = UpperHex(HexOfBytes(Sha1(info)));
  return BencodeDictionary({
      {"announce", BencodeString("http://tracker.zendrel.example/announce")},
      {"comment", BencodeString("Zendrel demo index")},
      {"created by", BencodeString("zendrel-demo-site")},
      {"creation date", BencodeInteger(1700000000 + 3600 * int64_t{number})},
      {"info", info},
  });
}

std::vector<CatalogueEntry> Generate() {
  std::vector<CatalogueEntry> entries;
  entries.reserve(kCatalogueSize);
  for (int number = 1; number <= kCatalogueSize; ++number) {
    uint64_t state = 0x5EED0000ull + number;
    CatalogueEntry e;
    e.number = number;
    MakeTitles(number, state, e.title, e.pageTitle);
    // Between 64 MiB and 32 GiB, spread evenly on a log scale.
    e.sizeBytes = int64_t{64} << 20 << (NextRandom(state) % 9);
    e.sizeBytes += static_cast<int64_t>(NextRandom(state) % static_cast<uint64_t>(e.sizeBytes));
    e.size = SizeText(e.sizeBytes);
    e.torrent = TorrentFile(e.title, e.sizeBytes, number, state, e.btih);
    entries.push_back(std::move(e));
  }
  return entries;
}

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits at ASCII blanks and at the ideographic space U+3000, which Chinese
// input methods type between words.
TextArray KeywordWords(Text keyword) {
  const Text ideographicSpace = "\xE3\x80\x80";
  for (size_t at; (at = keyword.find(ideographicSpace)) != Text::npos;)
    keyword.replace(at, ideographicSpace.size(), " ");
  TextArray words;
  Text word;
  for (unsigned char c : keyword) {
    if (IsBlank(c)) {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += static_cast<char>(c);
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

}  // namespace

const std::vector<CatalogueEntry>& Catalogue() {
  static const std::vector<CatalogueEntry> entries = Generate();
  return entries;
}

std::vector<const CatalogueEntry*> MatchingEntries(const Text& keyword) {
  TextArray words = KeywordWords(keyword);
  for (Text& w : words) w = FoldAscii(w);
  std::vector<const CatalogueEntry*> found;
  for (const CatalogueEntry& e : Catalogue()) {
    const Text title = FoldAscii(e.title);
    bool all = true;
    for (const Text& w : words) all = all && title.find(w) != Text::npos;
    if (all) found.push_back(&e);
  }
  return found;
}

const CatalogueEntry* EntryByHash(const Text& hexHash) {
  const Text sought = UpperHex(hexHash);
  for (const CatalogueEntry& e : Catalogue())
    if (e.btih == sought) return &e;
  return nullptr;
}

Text SizeText(int64_t bytes) {
  char text[32];
  const double mib = static_cast<double>(bytes) / (1 << 20);
  if (mib < 1024)
    std::snprintf(text, sizeof text, "%.1f MB", mib);
  else
    std::snprintf(text, sizeof text, "%.2f GB", mib / 1024);
  return text;
}
