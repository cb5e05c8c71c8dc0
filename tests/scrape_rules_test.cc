// The rules that cut a result page into entries, the page-link test, the
// size lookup, and the texts built from the keyword.
#include <gtest/gtest.h>

#include <random>

#include "search/parked_lines.h"
#include "search/scrape_rules.h"
#include "tests/support/result_site.h"
#include "text/markers.h"

namespace {

using testsupport::ResultEntry;
using testsupport::ResultPage;

const std::string kStart = "搜索到与";
const std::string kEnd = "Copyright  ©";

TEST(ScrapePage, CutsTitlesHashesAndRegionOfATemplatePage) {
  std::vector<ResultEntry> entries = {{"Alpha 1080p", "xt=urn:btih:AAA&dn=alpha", "1.2 GB"},
                                      {"中文 片名", "xt=urn:btih:BBB", "700 MB"}};
  ScrapedPage page = ScrapePage(ResultPage(entries, {2, 3}));
  EXPECT_EQ(page.titles, (TextArray{"Alpha 1080p<", "中文 片名<"}));
  EXPECT_EQ(page.hashes, (TextArray{"xt=urn:btih:AAA&dn=alpha", "xt=urn:btih:BBB"}));
  EXPECT_EQ(page.region.find('"'), Text::npos);
  EXPECT_EQ(page.region.find("Copyright"), Text::npos);
  EXPECT_EQ(LookUpSizes(page.region, page.titles), (TextArray{"\n<td>1.2 GB", "\n<td>700 MB"}));
}

TEST(ScrapePage, RegionNeedsBothMarkersInOrder) {
  const Text row = "<a href=magnet:?h1>m</a><a target=_blank>T</a></td><td>1</td>";
  struct Case {
    const char* name;
    Text page;
    size_t titles;
  } cases[] = {
      {"both markers", "x" + kStart + row + kEnd + "y", 1},
      {"end marker in any letter case", kStart + row + "COPYright  ©", 1},
      {"no start marker", row + kEnd, 0},
      {"no end marker", kStart + row, 0},
      {"end marker only before the start", kEnd + kStart + row, 0},
      {"empty page", "", 0},
  };
  for (const Case& c : cases) {
    ScrapedPage page = ScrapePage(c.page);
    EXPECT_EQ(page.titles.size(), c.titles) << c.name;
    EXPECT_EQ(page.hashes.size(), c.titles) << c.name;
  }
}

TEST(HasPageLink, IsAPlainCaseSensitiveTestOverTheWholePage) {
  const Text outside = "<a href=\"?keyword=k&page=7\">7</a>";  // no results region at all
  struct Case {
    Text page;
    int n;
    bool found;
  } cases[] = {
      {outside, 7, true},     {outside, 2, false},
      {"&page=21", 2, true},  {"&page=21", 12, false},
      {"&PAGE=2", 2, false},  {"?page=2", 2, false},
      {"&page=17", 17, true}, {"", 2, false},
  };
  for (const Case& c : cases) EXPECT_EQ(HasPageLink(c.page, c.n), c.found) << c.page << " " << c.n;
}

TEST(LookUpSize, TakesTheFirstMatchOnTheTwoByteWalk) {
  const Text cjk = "\xE4\xB8\xAD";  // three UTF-8 bytes: the walk pairs the last with what follows
  struct Case {
    const char* name;
    Text region;
    Text title;
    Text size;
  } cases[] = {
      {"plain", "x>T</a></td><td>1 MB</td>", "T<", "<td>1 MB"},
      {"twice: first wins", "T</a></td><td>1</td>T</a></td><td>2</td>", "T<", "<td>1"},
      {"letter case", "abc</a></td><td>1</td>ABC</a></td><td>2</td>", "ABC<", "<td>1"},
      {"suffix of an earlier title", "xabc</a></td><td>1</td>bc</a></td><td>2</td>", "bc<", "<td>1"},
      {"match at a second byte is skipped", cjk + "T/a></td><td>1</td> T/a></td><td>2</td>", "T",
       "<td>2"},
      {"cell end at a second byte is skipped", "T/a></td>" + cjk + "</td>x</td>", "T",
       cjk + "</td>x"},
      {"no cell end", "T/a></td><td>1", "T", ""},
      {"title absent", "T/a></td><td>1</td>", "U", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LookUpSize(c.region, c.title), c.size) << c.name;
    EXPECT_EQ(LookUpSizes(c.region, {c.title}), TextArray{c.size}) << c.name;
  }
}

// Regions full of what makes the lookup hard: repeated titles, case
// variants, titles that end other titles, CJK bytes that shift the two-byte
// walk, lone high bytes and cells without an end.
Text RandomPiece(std::mt19937& rng, const std::vector<Text>& words) {
  const char* fillers[] = {"/a></td>", "</td>", "</TD>", "<td>", "\xE4\xB8\xAD", "\xC2", "a",
                           "B",        " ",     "_blank>", "/A></TD>", "\xE6\x96\x87"};
  std::uniform_int_distribution<size_t> pick(0, 99);
  Text piece;
  if (pick(rng) < 60) {
    piece = words[pick(rng) % words.size()];
    if (pick(rng) < 30)
      for (char& c : piece)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    piece += pick(rng) < 80 ? "/a></td><td>" : "/a></td>";
    piece += std::to_string(pick(rng)) + (pick(rng) < 25 ? "\xE4\xB8\xAD" : "");
    if (pick(rng) < 85) piece += "</td>";
  }
  piece += fillers[pick(rng) % std::size(fillers)];
  return piece;
}

TEST(LookUpSizes, GivesWhatLookUpSizeGivesForEveryTitle) {
  std::mt19937 rng(20240611);
  const std::vector<Text> words = {"abc", "bc",  "c",  "ABC", "x\xE4\xB8\xAD", "\xE4\xB8\xAD",
                                   "qq",  "a<",  "",   "bca", "\xE6\x96\x87" "bc", "T"};
  for (int round = 0; round < 400; ++round) {
    Text region;
    int pieces = 1 + static_cast<int>(rng() % 40);
    for (int i = 0; i < pieces; ++i) region += RandomPiece(rng, words);
    TextArray titles;
    AllBetween(region, "_blank>", "/a></td>", titles);
    titles.insert(titles.end(), words.begin(), words.end());
    TextArray fast = LookUpSizes(region, titles);
    ASSERT_EQ(fast.size(), titles.size());
    for (size_t i = 0; i < titles.size(); ++i)
      ASSERT_EQ(fast[i], LookUpSize(region, titles[i])) << "round " << round << " title " << titles[i];
  }
}

TEST(RemoveAngles, TakesEveryAngleOutOfTheUtf8Bytes) {
  // "中<" in UTF-8: the two-byte walk pairs AD with "<" and so would keep it.
  const Text title = "A<b>\xE4\xB8\xAD<";
  EXPECT_EQ(ReplaceAll(title, "<", Text(), 1, 99999, true), "Ab>\xE4\xB8\xAD<");
  EXPECT_EQ(RemoveAngles(title), "Ab>\xE4\xB8\xAD");
}

TEST(ParkedLines, ReadBackOneEntryPerLine) {
  struct Case {
    const char* name;
    Text value;
    Text parked;  // what reads back
  } cases[] = {
      {"plain", "abc", "abc"},
      {"qq inside", "aqqbqq", "aqqbqq"},
      {"starts with qq", "qqx", "qqx"},
      {"line breaks", "a\r\nb\nc\r", "a  b c "},
      {"ends in a high byte", "ab\xE4", "ab\xE4"},
      {"empty", "", ""},
  };
  Text box;
  for (const Case& c : cases) box += TitleLine(c.value);
  TextArray lines = ParkedLines(box);
  ASSERT_EQ(lines.size(), std::size(cases));
  for (size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(TitleLineValue(lines[i]), cases[i].parked) << cases[i].name;

  const TextArray cells = {"\n<td>1 GB", "", "<td>", "x<td>2<td>", "no cell", "<td>\xE4"};
  const TextArray sizes = {"1 GB", "", "", "2<td>", "", "\xE4"};
  box.clear();
  for (const Text& cell : cells) box += SizeLine(cell);
  lines = ParkedLines(box + "<td>unterminated");
  ASSERT_EQ(lines.size(), cells.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(SizeLineValue(lines[i]), sizes[i]) << i;
}

}  // namespace
