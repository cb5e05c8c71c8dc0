#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using codepage::AnsiToUtf16;
using codepage::Utf16ToAnsi;
using codepage::Utf16ToUtf8;
using codepage::Utf8ToUtf16;

TEST(Codepage, AnsiToUtf16) {
  struct Case { std::string ansi; std::u16string want; } cases[] = {
      {"", u""},
      {"abc 123\r\n", u"abc 123\r\n"},
      {"\x80", u"\u20AC"},                       // the euro sign sits on a single byte
      {"\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
      {"\xA3\xC1", u"\uFF21"},
      {"a\xD6", u"a\uFFFD"},                     // cut off at the end
      {"\xFF" "a", u"\uFFFDa"},                  // never a lead byte
      {"\xAA\xA1" "b", u"\uFFFDb"},              // user-defined area: no character
      {"\x81\x30", u"\uFFFD0"},                  // a bad partner is not swallowed
      {"\x80\x61", u"\u20AC" "a"},
  };
  for (const auto& c : cases) EXPECT_EQ(AnsiToUtf16(c.ansi), c.want) << c.ansi;
}

TEST(Codepage, Utf16ToAnsi) {
  struct Case { std::u16string wide; std::string want; } cases[] = {
      {u"", ""},
      {u"\u20AC", "\x80"},
      {u"\u4E2D", "\xD6\xD0"},
      {u"a\u0E01b", "a?b"},                      // Thai: not in the code page
      {u"\U0001F600", "?"},                      // one character, one "?"
      {u"\uFFFD", "?"},
      {std::u16string(1, u'\xD800') + u"x", "?x"},  // unpaired surrogate
      {std::u16string(1, u'\xDC00'), "?"},
      {u"x" + std::u16string(1, u'\xD800'), "x?"},  // cut off at the end
  };
  for (const auto& c : cases) EXPECT_EQ(Utf16ToAnsi(c.wide), c.want) << c.want;
}

TEST(Codepage, Utf8AndUtf16) {
  struct Case { std::string utf8; std::u16string wide; } valid[] = {
      {"", u""}, {"a", u"a"}, {"\xE4\xB8\xAD", u"\u4E2D"}, {"\xC3\xA9", u"\u00E9"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"}, {"\xEF\xBF\xBD", u"\uFFFD"},
  };
  for (const auto& c : valid) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.wide);
    EXPECT_EQ(Utf16ToUtf8(c.wide), c.utf8);
  }
  struct Bad { std::string utf8; std::u16string want; } bad[] = {
      {"\xE1", u"\uFFFD"},
      {"a\xE4\xB8", u"a\uFFFD"},
      {"\xFF" "a", u"\uFFFDa"},
      {"\xC3(", u"\uFFFD("},
      {"\xED\xA0\x80", u"\uFFFD"},               // an encoded surrogate
      {"\xC0\xAF", u"\uFFFD\uFFFD"},             // overlong "/"
  };
  for (const auto& c : bad) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.want) << c.utf8;
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(Codepage, EveryDoubleByteCharacterRoundTrips) {
  int characters = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      std::string ansi{static_cast<char>(lead), static_cast<char>(trail)};
      std::u16string wide = AnsiToUtf16(ansi);
      if (wide == u"\uFFFD") continue;
      ++characters;
      ASSERT_EQ(wide.size(), 1u) << lead << " " << trail;
      ASSERT_EQ(Utf16ToAnsi(wide), ansi) << lead << " " << trail;
      ASSERT_EQ(Utf8ToUtf16(Utf16ToUtf8(wide)), wide);
    }
  }
  EXPECT_GT(characters, 21000);  // GBK holds 21886 double-byte characters
}

TEST(Codepage, LongInputsAndThreads) {
  // Longer than one conversion buffer, with bad bytes on either side of the seam.
  std::string ansi, back;
  for (int i = 0; i < 5000; ++i) {
    ansi += i % 97 ? "\xD6\xD0" : "\xFF";
    back += i % 97 ? "\xD6\xD0" : "?";
  }
  std::u16string wide = AnsiToUtf16(ansi);
  ASSERT_EQ(wide.size(), 5000u);
  EXPECT_EQ(Utf16ToAnsi(wide), back);
  std::string utf8 = Utf16ToUtf8(wide);
  EXPECT_EQ(Utf8ToUtf16(utf8), wide);

  std::u16string results[4];
  std::thread workers[4];
  for (int i = 0; i < 4; ++i) workers[i] = std::thread([&, i] { results[i] = AnsiToUtf16(ansi); });
  for (auto& w : workers) w.join();
  for (const auto& r : results) EXPECT_EQ(r, wide);
}

}  // namespace
