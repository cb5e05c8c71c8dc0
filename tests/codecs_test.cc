#include "text/codecs.h"

#include <gtest/gtest.h>

namespace {

TEST(EncodeKeyword, TableOfCases) {
  struct Case { Text keyword, want; } cases[] = {
      {"", ""},
      {"abc 123", "abc 123"},
      {"a+b", "a%2Bb"},
      {"100%", "100%25"},
      {"\"", "%22"},
      {"\\", "%5C"},
      {"\t", "%09"},
      {"\r\n", "%0D%0A"},
      {"\x01\x08\x0B\x0C\x0E\x1F\x7F", "\x01\x08\x0B\x0C\x0E\x1F\x7F"},
      {"`~!@#$%^&*()-_=+[{]};:'\\|,<.>/?\"",
       "%60%7E%21%40%23%24%25%5E%26%2A%28%29%2D%5F%3D%2B%5B%7B%5D%7D%3B%3A%27%5C%7C%2C%3C%2E%3E%2F%3F%22"},
      {"\xD6\xD0", "%E4%B8%AD"},
      {"\xD6\xD0\xCE\xC4", "%E4%B8%AD%E6%96%87"},
      {"a\xD6\xD0" "b", "a%E4%B8%ADb"},
      {"\x80" "a", "%E2%82%AC%61"},   // the euro byte stands alone; its partner is escaped too
      {"x\xD6", "x%EF%BF%BD"},        // cut off: the replacement character
      {"\xAA\xA1", "%EF%BF%BD"},      // no character in the code page
      {std::string("a\0b", 3), "ab"}, // a zero byte never reaches the query
  };
  for (const auto& c : cases) {
    Text got = EncodeKeyword(c.keyword);
    EXPECT_EQ(got, c.want) << c.keyword;
    for (char b : got) EXPECT_LT(static_cast<unsigned char>(b), 0x80);
  }
}

TEST(PercentDecode, OddEscapes) {
  struct Case { Text name; Bytes want; } cases[] = {
      {"%41%42", "AB"},
      {"%e4%B8%ad", "\xE4\xB8\xAD"},
      {"a+b", "a+b"},
      {"100%", "100"},
      {"%4", "@"},
      {"%00", ""},
      {"%G1", "\xE1"},
      {"%%41", "\xE4" "1"},
      {"\xE4\xB8\xAD%", "\xE4\xB8\xAD"},
      {"%zz", "\xDE"},  // -2 * 16 - 2
  };
  for (const auto& c : cases) EXPECT_EQ(PercentDecode(c.name), c.want) << c.name;
}

TEST(DecodeName, TableOfCases) {
  struct Case { Text name, want; } cases[] = {
      {"", ""},
      {"\xE4\xB8\xAD", "\xD6\xD0"},
      {"%E4%B8%AD", "\xD6\xD0"},
      {"%e4%b8%ad", "\xD6\xD0"},
      {"%41%42", "AB"},
      {"a+b", "a+b"},
      {"100%", "100"},
      {"%4", "@"},
      {"%00x", "x"},
      {"%G4%B8%AD", "\xD6\xD0"},          // -2 * 16 + 4 gives E4
      {"%%4%B8%AD", "\xD6\xD0"},
      {"\xE2\x82\xAC", "\x80"},
      {"a\xE0\xB8\x81" "b", "a?b"},        // Thai: not in the code page
      {"\xF0\x9F\x98\x80", "?"},
      {"a\xE1", "a?"},                     // cut off
      {"\xE1" "a", "?a"},
      {"[%E4%B8%AD%E6%96%87]abc.mkv", "[\xD6\xD0\xCE\xC4]abc.mkv"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeName(c.name), c.want) << c.name;
}

}  // namespace
