#include "text/markers.h"

#include <gtest/gtest.h>

namespace {

TEST(TextBetween, TableOfCases) {
  struct Case { Text t, start, end; bool whole; Text want; } cases[] = {
      {"x[A]y[B]", "[", "]", false, "A"},
      {"xABC-y", "abc", "Y", false, "-"},
      {"no markers", "[", "]", false, ""},
      {"no markers", "[", "]", true, "no markers"},
      {"x[A", "[", "]", false, ""},
      {"x[A", "[", "]", true, "x[A"},
      {"x[A[B]", "[", "]", false, "A[B"},
      {"]x[A", "[", "]", false, ""},  // end marker only in front
      {"x[]", "[", "]", false, ""},
      {"ab]c", "", "]", false, "ab"},
      {"a[b]", "[", "", false, ""},
      {"", "[", "]", true, ""},
      {"x[A", "[", "", false, ""},
      {"\xD6\xD0[\xB0\xA1]", "[", "]", false, "\xB0\xA1"},
      {"\xE4\xB8\xAD<b>", "<", ">", false, ""},  // '<' is the partner of AD
  };
  for (const auto& c : cases) EXPECT_EQ(TextBetween(c.t, c.start, c.end, c.whole), c.want) << c.t;
}

TEST(AllBetween, TableOfCases) {
  struct Case { Text t, start, end; TextArray want; } cases[] = {
      {"x[A]y[B]z", "[", "]", {"A", "B"}},
      {"x[A][B", "[", "]", {"A"}},
      {"no markers", "[", "]", {}},
      {"x[A]y[", "[", "]", {"A"}},
      {"x[]y", "[", "]", {""}},
      {"x[[A]", "[", "]", {"A"}},
      {"x[A]", "", "]", {}},
      {"[A[[B", "[", "", {"", ""}},
      {"", "[", "]", {}},
      {"qqa\r\nqqb\r\n", "qq", "\r\n", {"a", "b"}},
      {"qqxqqy\r\n", "qq", "\r\n", {"y"}},
      {"[a]b]", "[", "]", {"a"}},
      {"[a]]", "[", "]", {"a"}},
      {"x[A]Y", "[", "]y", {}},  // the end search is exact unless asked
      // '>' right behind a three-byte character is passed over; the piece
      // then runs on to the next '>'.
      {"magnet:?\xE4\xB8\xAD>x>", "magnet:?", ">", {"\xE4\xB8\xAD>x"}},
  };
  for (const auto& c : cases) {
    TextArray got = {"stale"};
    EXPECT_EQ(AllBetween(c.t, c.start, c.end, got), static_cast<int>(c.want.size())) << c.t;
    EXPECT_EQ(got, c.want) << c.t;
  }
}

TEST(AllBetween, Options) {
  const Text t = "<a>1</A><a>22</a><a>333</a>";
  auto with = [](auto set) {
    AllBetweenOptions o;
    set(o);
    return o;
  };
  struct Case { AllBetweenOptions o; TextArray want; } cases[] = {
      {{}, {"22", "333"}},
      {with([](auto& o) { o.ignoreCase = true; }), {"1", "22", "333"}},
      {with([](auto& o) { o.lengthLimit = 2; }), {"22"}},
      {with([](auto& o) { o.prefix = "("; o.suffix = ")"; }), {"(22)", "(333)"}},
      {with([](auto& o) { o.withStartMarker = true; }), {"<a>22", "<a>333"}},
      {with([](auto& o) { o.withEndMarker = true; }), {"22</a>", "333</a>"}},
      {with([](auto& o) {
         o.lengthLimit = 2;
         o.prefix = "(";
         o.withStartMarker = o.withEndMarker = true;
       }),
       {"<a>(22</a>"}},
  };
  for (const auto& c : cases) {
    TextArray got;
    EXPECT_EQ(AllBetween(t, "<a>", "</a>", got, c.o), static_cast<int>(c.want.size()));
    EXPECT_EQ(got, c.want);
  }
}

}  // namespace
