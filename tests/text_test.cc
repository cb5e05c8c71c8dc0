#include "text/text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <random>

namespace {

// Bytes from "E4 B8 AD 3C"; handier than escapes for high bytes.
Text H(const char* hex) {
  Text out;
  for (const char* p = hex; *p;) {
    if (*p == ' ') { ++p; continue; }
    out += static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16));
    p += 2;
  }
  return out;
}

TEST(TextCuts, ClampPositionsAndLengths) {
  struct Case { Text got, want; } cases[] = {
      {TextLeft("abc", 2), "ab"},      {TextLeft("abc", -1), ""},     {TextLeft("abc", 9), "abc"},
      {TextRight("abc", 2), "bc"},     {TextRight("abc", 0), ""},     {TextRight("abc", 9), "abc"},
      {TextMid("abc", 0, 2), ""},      {TextMid("abc", 2, 5), "bc"},  {TextMid("abc", 4, 1), ""},
      {TextMid("abc", 1, 0), ""},      {TextMid("abc", 3, INT32_MAX), "c"},
      {TextMid(H("D6 D0"), 2, 1), H("D0")},  // bytes, not characters
      {BlankText(3), "   "},           {BlankText(-2), ""},
      {ReplaceAt("http://host", 1, 7), "host"},
      {ReplaceAt("abc", 2, 1, "XY"), "aXYc"},
      {ReplaceAt("abc", -5, 1, "X"), "Xbc"},
      {ReplaceAt("abc", 9, 1, "X"), "abcX"},
      {ReplaceAt("abc", 2, -1, "X"), "aXbc"},
      {ReplaceAt("abc", 2, 99), "a"},
      {ReplaceAt("abc", INT32_MIN, INT32_MAX), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
  EXPECT_EQ(TextLength(H("D6 D0 61")), 3);
}

TEST(TextCuts, SingleBytes) {
  EXPECT_EQ(CharCodeAt(H("61 D6"), 2), -42);
  EXPECT_EQ(CharCodeAt("a", 1), 97);
  EXPECT_EQ(CharCodeAt("a", 0), 0);
  EXPECT_EQ(CharCodeAt("a", 2), 0);
  EXPECT_EQ(CharFromCode(-31), H("E1"));
  EXPECT_EQ(CharFromCode(0x141), "A");
  EXPECT_EQ(CharFromCode(0), "");
  EXPECT_EQ(CharFromCode(256), "");
}

TEST(FindText, TableOfCases) {
  struct Case { Text t, sought; int start; bool ignoreCase; int want; } cases[] = {
      {"abc", "", 1, false, 1},
      {"", "", 1, false, -1},
      {"abc", "", 2, false, 1},
      {"abc", "", 4, false, -1},
      {"abc", "c", 3, false, 3},
      {"abc", "c", 4, false, -1},
      {"abc", "a", -7, false, 1},
      {"", "a", 1, false, -1},
      {"ab", "abc", 1, false, -1},
      {H("E4 B8 AD 3C"), "<", 1, false, -1},
      {H("61 E4 B8 3C"), "<", 1, false, 4},
      {H("D6 D0 3C"), "<", 1, false, 3},
      {H("E4 B8 AD 3C 3C"), "<", 1, false, 5},
      {H("E4 B8 AD E4 B8 AD"), H("E4 B8"), 1, false, 1},
      {H("E4 B8 AD E4 B8 AD"), H("E4 B8"), 2, false, 4},   // the walk from 2 pairs B8 AD, E4 B8
      {H("E4 B8 AD E4 B8 AD"), H("B8 AD"), 1, false, 5},
      {H("E4 B8 AD E4 B8 AD"), H("AD E4"), 1, false, 3},   // UTF-8 misread as pairs
      {"xAbc", "ab", 1, false, -1},
      {"xAbc", "ab", 1, true, 2},
      {"xABC", "abc", 1, true, 2},
      {"a<b<c", "<", 3, false, 4},
      {H("61 C1"), H("E1"), 1, true, -1},  // high bytes never fold
      {H("B0 61 41"), "a", 1, true, 3},     // 61 is the partner of B0
      {"MAGNET:?xt", "magnet:?", 1, true, 1},
      {"zzz", H("80"), 1, false, -1},
      {H("61 80"), H("80"), 1, false, 2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FindText(c.t, c.sought, c.start, c.ignoreCase), c.want)
        << "t=" << c.t << " sought=" << c.sought << " start=" << c.start;
}

TEST(TextCase, AsciiOnlyAndByCharacter) {
  EXPECT_EQ(UpperText(H("B0 61")), H("B0 61"));
  EXPECT_EQ(UpperText(H("62 B0")), H("42 B0"));
  EXPECT_EQ(UpperText("aZ9 \xE1"), "AZ9 \xE1");
  EXPECT_EQ(LowerText(H("41 C1 41 5A")), H("61 C1 41 7A"));
  // A locale with its own idea of letters must not matter.
  const char* old = std::setlocale(LC_ALL, "C.UTF-8");
  EXPECT_EQ(UpperText("i"), "I");
  std::setlocale(LC_ALL, old ? old : "C");
}

TEST(CompareText, EqualityAndFolding) {
  struct Case { Text a, b; bool caseSensitive; bool equal; } cases[] = {
      {"HTTP://", "http://", false, true},
      {"HTTP://", "http://", true, false},
      {"abc", "abc", true, true},
      {"abc", "abd", false, false},
      {"", "", false, true},
      {"a", "", false, false},
      {H("A3 C1"), H("A3 E1"), false, true},   // full-width A / a
      {H("A3 C1"), H("A3 E1"), true, false},
      {H("A6 A1"), H("A6 C1"), false, true},   // Greek
      {H("A7 A1"), H("A7 D1"), false, true},   // Cyrillic
      {H("B0 41"), H("B0 61"), false, false},  // a partner byte is no letter
      {H("D6 D0"), H("D6 D1"), false, false},
  };
  for (const auto& c : cases) EXPECT_EQ(CompareText(c.a, c.b, c.caseSensitive) == 0, c.equal) << c.a << " | " << c.b;
}

TEST(ReplaceAll, TableOfCases) {
  struct Case { Text t, sought, replacement; int start, maxCount; bool caseSensitive; Text want; } cases[] = {
      {"a<b", "<", "", 1, 99999, true, "ab"},
      {H("E4 B8 AD 3C"), "<", "", 1, 99999, true, H("E4 B8 AD 3C")},
      {"<<<", "<", "", 1, 2, true, "<"},
      {"<<<", "<", "", 1, 0, true, "<<<"},
      {"<<<", "<", "", 1, kNoLimit, true, ""},
      {"<<<", "<", "", 1, -5, true, ""},
      {"a<b<c", "<", "-", 3, kNoLimit, true, "a<b-c"},
      {"a<b", "<", "", 9, kNoLimit, true, "a<b"},
      {"a<b", "", "x", 1, kNoLimit, true, "a<b"},
      {"", "<", "x", 1, kNoLimit, true, ""},
      {"aAbB", "a", "x", 1, kNoLimit, false, "xxbB"},
      {"aAbB", "a", "x", 1, kNoLimit, true, "xAbB"},
      {"aaaa", "aa", "a", 1, kNoLimit, true, "aa"},     // no re-scan of inserted text
      {"abab", "ab", "abab", 1, kNoLimit, true, "abababab"},
      {H("61 3C 80"), "<", "", 1, kNoLimit, true, H("61 80")},
      {H("61 80"), "x", "", 1, kNoLimit, true, H("61 80")},  // a lone last high byte is kept
      {H("61 80"), H("61"), "", 1, kNoLimit, true, H("80")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReplaceAll(c.t, c.sought, c.replacement, c.start, c.maxCount, c.caseSensitive), c.want)
        << "t=" << c.t << " sought=" << c.sought;
}

TEST(SplitText, KeepsInnerEmptyPiecesDropsEmptyTail) {
  struct Case { Text t, delimiter; TextArray want; } cases[] = {
      {"a,,b", ",", {"a", "", "b"}},
      {",a", ",", {"", "a"}},
      {"a,", ",", {"a"}},
      {",", ",", {""}},
      {"abc", ",", {"abc"}},
      {"", ",", {}},
      {"abc", "", {"abc"}},
      {"a--b--", "--", {"a", "b"}},
      {H("E4 B8 AD 2C 61 2C 62"), ",", {H("E4 B8 AD 2C 61"), "b"}},
      {H("61 2C 80"), ",", {"a", H("80")}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitText(c.t, c.delimiter), c.want) << c.t;
}

TEST(Numbers, Conversions) {
  struct IntCase { Text t; int32_t want; } ints[] = {
      {"  12abc", 12}, {"", 0}, {H("A3 B1 A3 B2"), 12}, {"-5", -5}, {"+7", 7}, {"\t\n\v\f\r 3", 3},
      {"abc", 0}, {"- 5", 0}, {"4294967297", 1}, {"2147483648", INT32_MIN}, {"-2147483648", INT32_MIN},
      {H("A1 A1 A3 AD A3 B9"), -9},  // ideographic space and full-width minus
      {H("A3 B1 B0"), 1},            // lone final high byte dropped
      {H("B0 B1 32"), 0},            // an ordinary two-byte character stops the digits
      {"99999999999999999999999", -159383553},
  };
  for (const auto& c : ints) EXPECT_EQ(TextToInteger(c.t), c.want) << c.t;

  struct NumberCase { Text t; double want; } numbers[] = {
      {"80", 80}, {" -2.5e2x", -250}, {".5", 0.5}, {"5.", 5}, {"1e", 1}, {"1e+", 1}, {"", 0},
      {".", 0}, {"-", 0}, {"0x10", 0}, {"inf", 0}, {"nan", 0}, {H("A3 B2 A3 AE A3 B5"), 2.5},
      {"1e999", HUGE_VAL},
  };
  for (const auto& c : numbers) EXPECT_EQ(TextToNumber(c.t), c.want) << c.t;
}

TEST(Numbers, ToTextIgnoresTheUserLocale) {
  const char* old = std::setlocale(LC_ALL, "de_DE.UTF-8");  // may be missing; then C stays
  EXPECT_EQ(NumberToText(3.0), "3");
  EXPECT_EQ(NumberToText(2.5), "2.5");
  EXPECT_EQ(NumberToText(1.0 / 3), "0.3333333333333");
  EXPECT_EQ(NumberToText(1e20), "1e+20");
  EXPECT_EQ(NumberToText(-0.001), "-0.001");
  EXPECT_EQ(TextToNumber("2.5"), 2.5);
  EXPECT_EQ(IntegerToText(-5), "-5");
  EXPECT_EQ(IntegerToText(INT32_MIN), "-2147483648");
  std::setlocale(LC_ALL, old ? old : "C");
}

TEST(BytesAndArrays, Rules) {
  Bytes zeroInside("a\0b", 3);
  EXPECT_EQ(BytesToText(zeroInside), "a");
  EXPECT_EQ(BytesToText("ab"), "ab");
  EXPECT_EQ(TextToBytes("ab"), "ab");
  EXPECT_EQ(BytesLength(zeroInside), 3);
  EXPECT_EQ(BytesLeft(zeroInside, 2), Bytes("a\0", 2));
  EXPECT_EQ(BytesLeft(zeroInside, -1), "");
  EXPECT_EQ(BytesRight(zeroInside, 2), Bytes("\0b", 2));
  EXPECT_EQ(BytesRight(zeroInside, 9), zeroInside);
  EXPECT_EQ(FindBytes(zeroInside, Bytes("\0", 1)), 2);
  EXPECT_EQ(FindBytes(H("E4 B8 AD 3C"), "<"), 4);  // no character rule here
  EXPECT_EQ(FindBytes("abc", ""), -1);
  EXPECT_EQ(FindBytes("abc", "x"), -1);
  EXPECT_EQ(BlankBytes(2), Bytes(2, '\0'));
  EXPECT_EQ(BlankBytes(-1), "");
  EXPECT_EQ(ReadInteger(H("F0")), 240);
  EXPECT_EQ(ReadInteger(""), 0);
  EXPECT_EQ(ReadInteger(H("01 02 03 04 05")), 0x04030201);
  EXPECT_EQ(ReadInteger(H("FF FF FF FF")), -1);

  TextArray a = {"x", "y"};
  EXPECT_EQ(ArraySize(a), 2);
  EXPECT_EQ(ArrayItem(a, 1), "x");
  EXPECT_EQ(ArrayItem(a, 2), "y");
  EXPECT_EQ(ArrayItem(a, 0), "");
  EXPECT_EQ(ArrayItem(a, 3), "");
  EXPECT_EQ(ArrayItem({}, 1), "");
}

// The walks written out byte by byte, as plainly as the rule reads, to hold
// the fast walks to.
char RefLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool RefMatch(const Text& t, size_t at, const Text& s, bool fold) {
  for (size_t k = 0; k < s.size(); ++k)
    if (fold ? RefLower(t[at + k]) != RefLower(s[k]) : t[at + k] != s[k]) return false;
  return true;
}

int RefFind(const Text& t, const Text& s, int start, bool fold) {
  size_t L = t.size(), at = start > 1 ? static_cast<size_t>(start) - 1 : 0;
  if (at > L) at = L;
  if (s.empty()) return at < L ? 1 : -1;
  auto eq = [&](size_t i) { return RefMatch(t, i, s, fold); };
  while (L - at >= s.size()) {
    if (eq(at)) return static_cast<int>(at) + 1;
    if (static_cast<unsigned char>(t[at]) >= 0x80) {
      if (at + 1 == L) return -1;
      at += 2;
    } else {
      at += 1;
    }
  }
  return -1;
}

Text RefReplace(const Text& t, const Text& s, const Text& r, int start, int maxCount, bool fold) {
  size_t at = start > 1 ? static_cast<size_t>(start) - 1 : 0;
  if (t.empty() || s.empty() || at >= t.size() || maxCount == 0) return t;
  Text out = t.substr(0, at);
  int count = 0;
  while (t.size() - at >= s.size()) {
    if (RefMatch(t, at, s, fold)) {
      out += r;
      at += s.size();
      if (++count == maxCount) break;
    } else {
      size_t step = static_cast<unsigned char>(t[at]) >= 0x80 ? 2 : 1;
      out += t.substr(at, step);  // a lone last high byte is kept
      at = std::min(at + step, t.size());
    }
  }
  if (at < t.size()) out += t.substr(at);
  return out;
}

TextArray RefSplit(const Text& t, const Text& d) {
  if (t.empty()) return {};
  if (d.empty()) return {t};
  TextArray out;
  size_t at = 0, piece = 0;
  while (t.size() - at >= d.size()) {
    if (t.compare(at, d.size(), d) == 0) {
      out.push_back(t.substr(piece, at - piece));
      at += d.size();
      piece = at;
    } else if (static_cast<unsigned char>(t[at]) >= 0x80) {
      if (at + 1 == t.size()) break;
      at += 2;
    } else {
      at += 1;
    }
  }
  if (piece < t.size()) out.push_back(t.substr(piece));
  return out;
}

TEST(FastWalks, AgreeWithTheByteByByteWalk) {
  // Few distinct bytes, so matches, near-misses, high-byte runs of odd and
  // even length and letters of both cases all turn up often. Every other
  // round is mostly high bytes, in long runs as in Chinese text.
  const char alphabet[] = {'a', 'A', '<', ',', '\x80', '\xB8', '\xE4', '\xAD'};
  std::mt19937 rng(12345);
  auto randomText = [&](size_t maxLen, bool mostlyHigh) {
    Text t(rng() % (maxLen + 1), 'a');
    for (char& c : t) c = alphabet[mostlyHigh && rng() % 16 ? 4 + rng() % 4 : rng() % sizeof alphabet];
    return t;
  };
  for (int round = 0; round < 20000; ++round) {
    bool mostlyHigh = round % 2;
    Text t = randomText(mostlyHigh ? 80 : 40, mostlyHigh), s = randomText(3, false);
    int start = static_cast<int>(rng() % (t.size() + 5)) - 2;
    bool fold = rng() % 2;
    ASSERT_EQ(FindText(t, s, start, fold), RefFind(t, s, start, fold)) << round;
    int maxCount = static_cast<int>(rng() % 5) - 1;
    ASSERT_EQ(ReplaceAll(t, s, "#", start, maxCount, !fold), RefReplace(t, s, "#", start, maxCount, fold)) << round;
    ASSERT_EQ(SplitText(t, s), RefSplit(t, s)) << round;
  }
}

}  // namespace
