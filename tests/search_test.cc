// The search as the user runs it: the real window offscreen, a result site
// on 127.0.0.1, the list read back through the control operations.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>

#include "app/main_window.h"
#include "net/sites.h"
#include "platform/codepage.h"
#include "platform/ui.h"
#include "search/parked_entries.h"
#include "search/search_address.h"
#include "tests/support/result_site.h"
#include "tests/support/support.h"
#include "tests/support/ui_support.h"
#include "text/codecs.h"

namespace {

using testsupport::NumberedEntries;
using testsupport::ResultEntry;
using testsupport::ResultPage;
using testsupport::ResultSite;
using Row = std::array<Text, 4>;

class SearchTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testsupport::StartTestWindow(false);
    site = new ResultSite;
  }
  static void TearDownTestSuite() {
    delete site;
    site = nullptr;
  }
  void SetUp() override {
    site->Clear();
    ASSERT_TRUE(SetSearchSite(site->base()));
  }

  // Types the keyword, clicks the button and waits for the search to end.
  static bool Search(const Text& keyword) {
    ui::SetText(编辑框1, keyword);
    ui::Click(按钮1);
    return testsupport::WaitUntil([] { return !ui::IsDisabled(按钮1); });
  }

  static std::vector<Row> Rows() {
    std::vector<Row> rows;
    for (int r = 0; r < ui::RowCount(超级列表框1); ++r)
      rows.push_back({ui::GetCell(超级列表框1, r, 0), ui::GetCell(超级列表框1, r, 1),
                      ui::GetCell(超级列表框1, r, 2), ui::GetCell(超级列表框1, r, 3)});
    return rows;
  }

  // The row the list should show for an entry of the site.
  static Row Expected(int number, const ResultEntry& e) {
    return {IntegerToText(number), codepage::Utf8ToAnsi(e.title), e.size, "magnet:?" + e.hash};
  }

  static ResultSite* site;
};

ResultSite* SearchTest::site = nullptr;

std::vector<std::string> Pages(std::initializer_list<int> first, int from, int to) {
  std::vector<std::string> pages;
  for (int p : first) pages.push_back(std::to_string(p));
  for (int p = from; p <= to; ++p) pages.push_back(std::to_string(p));
  return pages;
}

TEST_F(SearchTest, OnePageFillsTheListDirectly) {
  std::vector<ResultEntry> entries = {{"Alpha 1080p", "xt=urn:btih:A1", "1.2 GB"},
                                      {"中文 片名", "xt=urn:btih:B2&dn=b", "700 MB"},
                                      {"<b>Gamma</b> x265", "xt=urn:btih:C3", "3 GB"}};
  site->SetPage(1, ResultPage(entries, {}));
  ASSERT_TRUE(Search("abc"));

  std::vector<Row> rows = Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], Expected(1, entries[0]));
  EXPECT_EQ(rows[1], Expected(2, entries[1]));
  EXPECT_EQ(rows[2], (Row{"3", "b>Gamma/b> x265", "3 GB", "magnet:?xt=urn:btih:C3"}));
  EXPECT_EQ(ui::GetCaption(标签1), ResultStatus("abc", 3));
  EXPECT_EQ(site->requestedPages(), (std::vector<std::string>{"1"}));
  EXPECT_EQ(site->keywords(), (std::vector<std::string>{"abc"}));
}

TEST_F(SearchTest, ProbeAndCollectionAskForTheRightPages) {
  struct Case {
    const char* name;
    std::map<int, std::vector<int>> links;  // page -> pages it links to
    std::set<int> failing;                  // pages the site answers with 500
    std::vector<std::string> requests;
    Text pageCount, nextPage;
    std::vector<int> rowPages;  // whose entries the list shows, in order
  } cases[] = {
      {"2 and 4 linked, not 3", {{1, {2, 4}}}, {}, Pages({1}, 2, 5), "4", "6", {1, 2, 3, 4, 5}},
      {"chain through page 5",
       {{1, {2, 3, 5}}, {5, {6, 7}}},
       {},
       Pages({1, 5}, 2, 8),
       "7",
       "9",
       {1, 2, 3, 4, 5, 6, 7, 8}},
      {"17 and more pages",
       {{1, {2, 3, 4, 5}}, {5, {6, 7, 8, 9}}, {9, {10, 11, 12, 13}}, {13, {14, 15, 16, 17, 18, 19}}},
       {},
       Pages({1, 5, 9, 13}, 2, 18),
       "17",
       "19",
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}},
      {"page 21 but not 2", {{1, {21}}}, {}, Pages({1}, 2, 3), "2", "4", {1, 2, 3}},
      {"probe fetch fails", {{1, {2, 5}}}, {5}, Pages({1, 5}, 2, 6), "5", "7", {1, 2, 3, 4, 6}},
      {"every collection fetch fails",
       {{1, {2, 3}}},
       {2, 3, 4},
       Pages({1}, 2, 4),
       "3",
       "5",
       {1}},
  };
  for (const Case& c : cases) {
    site->Clear();
    std::vector<ResultEntry> shown;
    for (int page = 1; page <= 20; ++page) {
      auto entries = NumberedEntries("p" + std::to_string(page), 2);
      auto links = c.links.count(page) ? c.links.at(page) : std::vector<int>{};
      if (c.failing.count(page))
        site->SetPage(page, "", 500);
      else
        site->SetPage(page, ResultPage(entries, links));
    }
    for (int page : c.rowPages)
      for (const ResultEntry& e : NumberedEntries("p" + std::to_string(page), 2)) shown.push_back(e);

    ASSERT_TRUE(Search("key")) << c.name;
    EXPECT_EQ(site->requestedPages(), c.requests) << c.name;
    EXPECT_EQ(ui::GetText(编辑框3), c.pageCount) << c.name;
    EXPECT_EQ(ui::GetText(编辑框4), c.nextPage) << c.name;
    std::vector<Row> rows = Rows();
    ASSERT_EQ(rows.size(), shown.size()) << c.name;
    for (size_t i = 0; i < rows.size(); ++i)
      EXPECT_EQ(rows[i], Expected(static_cast<int>(i + 1), shown[i])) << c.name << " row " << i;
    EXPECT_EQ(ui::GetCaption(标签1), ResultStatus("key", static_cast<int>(shown.size()))) << c.name;
  }
}

// What the page can do to the pairing of titles, hashes and sizes: an empty
// size cell, "qq" in values, a line break inside a title, a title ending in
// a CJK character before the link's "<", surplus and missing hashes.
TEST_F(SearchTest, EntriesStayPairedOnOnePageAndAcrossPages) {
  std::vector<ResultEntry> hard = {
      {"first", "xt=urn:btih:1", "1 GB"},
      {"no size cell", "xt=urn:btih:2", "", true, false},
      {"empty size", "xt=urn:btih:2e", ""},
      {"qq in qqtitle", "xt=urn:btih:qq3", "3 GB"},
      {"two\r\nlines", "xt=urn:btih:4", "4 GB"},
      {"ends in 中", "xt=urn:btih:5", "5 GB"},
  };
  std::vector<Row> hardRows;
  for (size_t i = 0; i < hard.size(); ++i) hardRows.push_back(Expected(0, hard[i]));

  struct Case {
    const char* name;
    bool severalPages;
    int extraHashes;
  } cases[] = {{"one page", false, 0}, {"one page, surplus hashes", false, 3},
               {"page 3 of 3", true, 0}, {"page 3 of 3, surplus hashes", true, 2}};
  for (const Case& c : cases) {
    site->Clear();
    std::vector<Row> want;
    if (c.severalPages) {
      auto p1 = NumberedEntries("p1", 2), p2 = NumberedEntries("p2", 2);
      site->SetPage(1, ResultPage(p1, {2}));
      site->SetPage(2, ResultPage(p2, {1, 3}));
      site->SetPage(3, ResultPage(hard, {1, 2}, c.extraHashes));
      for (auto* page : {&p1, &p2})
        for (const ResultEntry& e : *page) want.push_back(Expected(0, e));
    } else {
      site->SetPage(1, ResultPage(hard, {}, c.extraHashes));
    }
    want.insert(want.end(), hardRows.begin(), hardRows.end());
    // Parked titles had their line break turned into spaces.
    if (c.severalPages) want[want.size() - 2][1] = "two  lines";
    for (size_t i = 0; i < want.size(); ++i) want[i][0] = IntegerToText(static_cast<int>(i + 1));

    ASSERT_TRUE(Search("k")) << c.name;
    EXPECT_EQ(Rows(), want) << c.name;
    EXPECT_EQ(ui::GetCaption(标签1), ResultStatus("k", static_cast<int>(want.size()))) << c.name;
  }
}

TEST_F(SearchTest, MissingHashesLeaveNoRowWithoutOne) {
  std::vector<ResultEntry> entries = NumberedEntries("m", 3);
  entries[2].magnet = false;
  for (bool severalPages : {false, true}) {
    site->Clear();
    site->SetPage(1, ResultPage(entries, severalPages ? std::vector<int>{2} : std::vector<int>{}));
    site->SetPage(2, ResultPage({}, {}));
    ASSERT_TRUE(Search("k"));
    std::vector<Row> rows = Rows();
    ASSERT_EQ(rows.size(), 2u) << severalPages;
    EXPECT_EQ(rows[1], Expected(2, entries[1])) << severalPages;
    EXPECT_EQ(ui::GetCaption(标签1), ResultStatus("k", 2)) << severalPages;
  }
}

TEST_F(SearchTest, AFailedFirstPageIsReportedAsAFailure) {
  Text closedSite;
  {
    ResultSite gone;
    closedSite = gone.base();
  }
  struct Case {
    const char* name;
    Text base;
    int status;
  } cases[] = {{"not found", site->base(), 404},
               {"server error", site->base(), 503},
               {"no response", closedSite, 0}};
  for (const Case& c : cases) {
    site->Clear();
    ASSERT_TRUE(SetSearchSite(c.base));
    site->SetPage(1, ResultPage(NumberedEntries("x", 2), {2, 5}), c.status);
    ASSERT_TRUE(Search("k")) << c.name;
    EXPECT_EQ(ui::GetCaption(标签1), FailedStatus()) << c.name;
    EXPECT_EQ(ui::RowCount(超级列表框1), 0) << c.name;
    EXPECT_EQ(site->requestedPages().size(), c.status ? 1u : 0u) << c.name;
  }
}

TEST_F(SearchTest, ASecondClickDuringASearchStartsNothing) {
  site->SetPage(1, ResultPage(NumberedEntries("a", 2), {}));
  site->Hold(1);
  ui::SetText(编辑框1, "k");
  ui::Click(按钮1);
  EXPECT_TRUE(ui::IsDisabled(按钮1));
  ui::Click(按钮1);
  ASSERT_TRUE(testsupport::WaitUntil([] { return site->IsWaiting(1); }));
  ui::Click(按钮1);
  site->Release(1);
  ASSERT_TRUE(testsupport::WaitUntil([] { return !ui::IsDisabled(按钮1); }));
  EXPECT_EQ(site->requestedPages(), (std::vector<std::string>{"1"}));
  EXPECT_EQ(ui::RowCount(超级列表框1), 2);
}

TEST_F(SearchTest, KeywordReachesTheSiteEncoded) {
  const std::string keyword = "a b 中文+&?=/%#\"";
  site->SetPage(1, ResultPage(NumberedEntries("e", 1), {}));
  ASSERT_TRUE(Search(codepage::Ansi(keyword)));
  EXPECT_EQ(site->keywords(), (std::vector<std::string>{keyword}));
  ASSERT_EQ(site->targets().size(), 1u);
  EXPECT_NE(site->targets()[0].find("%E4%B8%AD%E6%96%87%2B%26%3F%3D%2F%25%23%22"), std::string::npos)
      << site->targets()[0];
  EXPECT_EQ(ui::GetCaption(标签1), ResultStatus(codepage::Ansi(keyword), 1));
}

TEST_F(SearchTest, ASecondSearchStartsFromNothing) {
  site->SetPage(1, ResultPage(NumberedEntries("first", 3), {2}));
  site->SetPage(2, ResultPage(NumberedEntries("second", 3), {}));
  ASSERT_TRUE(Search("one"));
  ASSERT_EQ(ui::RowCount(超级列表框1), 6);

  site->Clear();
  auto entries = NumberedEntries("new", 2);
  site->SetPage(1, ResultPage(entries, {}));
  ASSERT_TRUE(Search("two"));
  EXPECT_EQ(Rows(), (std::vector<Row>{Expected(1, entries[0]), Expected(2, entries[1])}));
  EXPECT_EQ(ui::GetText(编辑框2), "");
  EXPECT_EQ(ui::GetText(编辑框5), "");
  EXPECT_EQ(ui::GetText(编辑框3), "");
  EXPECT_EQ(ui::GetText(编辑框6), SizeLine("\n<td>" + entries[0].size) + SizeLine("\n<td>" + entries[1].size));
}

TEST_F(SearchTest, AnEditedKeywordIsUsedFromTheNextRequestOn) {
  site->SetPage(1, ResultPage(NumberedEntries("a", 1), {2, 5}));
  site->SetPage(5, ResultPage(NumberedEntries("b", 1), {6}));
  site->Hold(1);
  ui::SetText(编辑框1, "old");
  ui::Click(按钮1);
  ASSERT_TRUE(testsupport::WaitUntil([] { return site->IsWaiting(1); }));
  ui::SetText(编辑框1, codepage::Ansi("新的"));
  site->Release(1);
  ASSERT_TRUE(testsupport::WaitUntil([] { return !ui::IsDisabled(按钮1); }));

  EXPECT_EQ(site->requestedPages(), Pages({1, 5}, 2, 7));
  std::vector<std::string> keywords = site->keywords();
  ASSERT_EQ(keywords.size(), 8u);
  EXPECT_EQ(keywords[0], "old");
  for (size_t i = 1; i < keywords.size(); ++i) EXPECT_EQ(keywords[i], "新的") << i;
  EXPECT_EQ(ui::GetCaption(标签1), ResultStatus(codepage::Ansi("新的"), 2));
}

}  // namespace
