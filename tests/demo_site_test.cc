#include "demo/demo_site.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "demo/catalogue.h"
#include "demo/result_pages.h"
#include "net/torrent_check.h"
#include "tests/support/http_get.h"
#include "text/markers.h"

namespace {

using testsupport::HeaderValue;
using testsupport::HttpExchange;
using testsupport::HttpGet;

const Text kStart = "搜索到与";
const Text kEnd = "Copyright  ©";

// The page cut as the program cuts it: the region without quotes, then the
// titles and magnet queries found in it.
struct CutPage {
  Text region;
  TextArray titles;
  TextArray hashes;
};

CutPage Cut(const Text& page) {
  CutPage cut;
  cut.region = ReplaceAll(TextBetween(page, kStart, kEnd), "\"", "");
  AllBetween(cut.region, "_blank>", "/a></td>", cut.titles);
  AllBetween(cut.region, "magnet:?", ">", cut.hashes);
  return cut;
}

std::set<int> LinkedPages(const Text& page) {
  std::set<int> linked;
  for (int n = 1; n <= 40; ++n)
    if (FindText(page, "&page=" + std::to_string(n) + "\"") != -1) linked.insert(n);
  return linked;
}

class DemoSiteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    site = StartDemoSite();
    ASSERT_TRUE(site);
    port = DemoSitePort(*site);
  }

  // The query as the program sends it: keyword already percent-escaped.
  Text Page(const Text& encodedKeyword, int page = 1) {
    Text path = "/?keyword=" + encodedKeyword;
    if (page > 1) path += "&page=" + std::to_string(page);
    auto reply = HttpGet(port, path);
    EXPECT_EQ(reply.status, 200) << path;
    return reply.body;
  }

  DemoSiteHandle site;
  int port = 0;
};

TEST(DemoCatalogueTest, EveryTorrentIsTheOneItsMagnetNames) {
  const auto& entries = Catalogue();
  ASSERT_EQ(static_cast<int>(entries.size()), kCatalogueSize);
  std::set<Text> hashes, titles;
  int escaped = 0, withQq = 0, endingInChinese = 0;
  for (const CatalogueEntry& e : entries) {
    SCOPED_TRACE(e.title);
    EXPECT_TRUE(IsTorrentFor(e.torrent, "magnet:?xt=urn:btih:" + e.btih));
    EXPECT_EQ(EntryByHash(LowerText(e.btih)), &e);
    EXPECT_EQ(e.size, SizeText(e.sizeBytes));
    hashes.insert(e.btih);
    titles.insert(LowerText(e.title));
    escaped += e.pageTitle != e.title;
    withQq += FindText(e.title, "qq") != -1;
    endingInChinese += static_cast<unsigned char>(e.title.back()) >= 0x80;
  }
  EXPECT_EQ(hashes.size(), entries.size());
  EXPECT_EQ(titles.size(), entries.size());
  EXPECT_GT(escaped, 20);
  EXPECT_GT(withQq, 10);
  EXPECT_GT(endingInChinese, 20);
  // The same catalogue on every start: a hash a user saved stays good.
  EXPECT_EQ(entries[0].btih, "B2D6DAA2FE24BE33DA7021D819E95E4DCCBC6F35");
}

TEST(DemoCatalogueTest, SizesInTheSiteStyle) {
  struct Case {
    int64_t bytes;
    const char* text;
  } cases[] = {
      {int64_t{734} << 20, "734.0 MB"},
      {(int64_t{1023} << 20) + (int64_t{1} << 19), "1023.5 MB"},
      {int64_t{1} << 30, "1.00 GB"},
      {(int64_t{4} << 30) + (int64_t{370} << 20), "4.36 GB"},
  };
  for (const Case& c : cases) EXPECT_EQ(SizeText(c.bytes), c.text);
}

TEST(DemoCatalogueTest, KeywordMatchesEveryWordInAnyCase) {
  struct Case {
    const char* keyword;
    std::vector<const char*> mustHold;  // every match holds each (ASCII folded)
    bool some;
  } cases[] = {
      {"", {}, true},
      {"wild MOUNTAIN", {"wild", "mountain"}, true},
      {"  1080p\tbluray ", {"1080p", "bluray"}, true},
      {"海洋", {"海洋"}, true},
      {"qq音乐", {"qq音乐"}, true},
      {"星空\xE3\x80\x80第2季", {"星空", "第2季"}, true},
      {"wild nosuchword", {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keyword);
    auto found = MatchingEntries(c.keyword);
    EXPECT_EQ(!found.empty(), c.some);
    size_t expected = 0;
    for (const CatalogueEntry& e : Catalogue()) {
      bool all = true;
      for (const char* w : c.mustHold) all = all && FindText(LowerText(e.title), w) != -1;
      expected += all;
    }
    if (c.some) {
      EXPECT_EQ(found.size(), expected);
    }
  }
  EXPECT_EQ(MatchingEntries("").size(), Catalogue().size());
}

TEST_F(DemoSiteTest, PagesCutIntoTwentyRowsPairedByPosition) {
  const auto everything = MatchingEntries("");
  const int lastPage = (kCatalogueSize + kRowsPerPage - 1) / kRowsPerPage;
  for (int page : {1, 2, lastPage}) {
    SCOPED_TRACE(page);
    CutPage cut = Cut(Page("", page));
    const int begin = (page - 1) * kRowsPerPage;
    const int rows = std::min(kRowsPerPage, kCatalogueSize - begin);
    ASSERT_EQ(ArraySize(cut.titles), rows);
    ASSERT_EQ(ArraySize(cut.hashes), rows);
    for (int i = 1; i <= rows; ++i) {
      const CatalogueEntry& e = *everything[begin + i - 1];
      EXPECT_EQ(ArrayItem(cut.titles, i), e.pageTitle + "<");
      EXPECT_EQ(TextLeft(ArrayItem(cut.hashes, i), 52), "xt=urn:btih:" + e.btih);
      EXPECT_EQ(TextBetween(cut.region, ArrayItem(cut.titles, i) + "/a></td>", "</td>"),
                "<td>" + e.size);
    }
  }
}

TEST_F(DemoSiteTest, PageLinksReachOnlyTheNeighbours) {
  // 17 pages: the page probe must walk 1 -> 5 -> 9 -> 13 to see them all.
  const int lastPage = (kCatalogueSize + kRowsPerPage - 1) / kRowsPerPage;
  ASSERT_EQ(lastPage, 17);
  struct Case {
    int page;
    std::set<int> linked;
  } cases[] = {
      {1, {2, 3, 4, 5}},
      {5, {2, 3, 4, 6, 7, 8, 9}},  // page 1 is linked without "&page="
      {13, {9, 10, 11, 12, 14, 15, 16, 17}},
      {17, {13, 14, 15, 16}},
      {18, {14, 15, 16, 17}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    EXPECT_EQ(LinkedPages(Page("", c.page)), c.linked);
  }
}

TEST_F(DemoSiteTest, BeyondTheLastPageTheRegionIsEmpty) {
  for (const Text& query : {Text("&page=18"), Text("&page=999999999999")}) {
    auto reply = HttpGet(port, "/?keyword=" + query);
    EXPECT_EQ(reply.status, 200);
    EXPECT_NE(FindText(reply.body, kStart), -1);
    EXPECT_NE(FindText(reply.body, kEnd), -1);
    EXPECT_EQ(ArraySize(Cut(reply.body).titles), 0);
  }
  // No match at all: one page, nothing linked.
  const Text none = Page("nosuchword");
  EXPECT_EQ(ArraySize(Cut(none).titles), 0);
  EXPECT_TRUE(LinkedPages(none).empty());
}

TEST_F(DemoSiteTest, KeywordArrivesAsTheProgramEncodesIt) {
  // UTF-8 escapes, spaces sent as %20, "+" as %2B; a single page of results.
  const Text encoded = "%E6%98%9F%E7%A9%BA%20%E7%AC%AC2%E5%AD%A3";
  const CutPage cut = Cut(Page(encoded));
  const auto expected = MatchingEntries("星空 第2季");
  ASSERT_FALSE(expected.empty());
  ASSERT_LE(expected.size(), static_cast<size_t>(kRowsPerPage));
  EXPECT_EQ(ArraySize(cut.titles), static_cast<int>(expected.size()));
  EXPECT_EQ(ArraySize(Cut(Page("a%2Bb")).titles), 0);
}

TEST_F(DemoSiteTest, AnEchoedKeywordCannotMoveTheMarkers) {
  // A keyword holding the markers themselves must not add rows or links.
  const Text encoded =
      "%E6%90%9C%E7%B4%A2%E5%88%B0%E4%B8%8E%20magnet:%3F%20_blank%3E%20%26page%3D2";
  const Text page = Page(encoded);
  EXPECT_EQ(ArraySize(Cut(page).titles), 0);
  EXPECT_EQ(ArraySize(Cut(page).hashes), 0);
  EXPECT_EQ(FindText(page, "&page=2"), -1);
}

TEST_F(DemoSiteTest, TorrentOfAMagnetAsTheProgramSendsIt) {
  const CatalogueEntry& e = Catalogue()[41];
  // Unescaped, exactly as the list shows the magnet address.
  const Text magnet = "magnet:?xt=urn:btih:" + e.btih + "&dn=" + PercentEncode(e.title);
  for (const Text& sent : {magnet, LowerText(magnet)}) {
    auto reply = HttpGet(port, "/magnet-bt/torrent.php?magnet=" + sent);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(HeaderValue(reply, "Content-Type"), "application/x-bittorrent");
    EXPECT_EQ(HeaderValue(reply, "Content-Length"), std::to_string(e.torrent.size()));
    EXPECT_TRUE(IsTorrentFor(reply.body, magnet));
  }
}

TEST_F(DemoSiteTest, UnknownOrMalformedRequestsGetAnErrorPage) {
  const Text known = Catalogue()[0].btih;
  struct Case {
    Text path;
    int status;
  } cases[] = {
      {"/magnet-bt/torrent.php?magnet=magnet:?xt=urn:btih:" + Text(40, 'A'), 404},
      {"/magnet-bt/torrent.php?magnet=magnet:?xt=urn:btih:" + TextLeft(known, 39), 404},
      {"/magnet-bt/torrent.php?magnet=magnet:?xt=urn:btih:" + known + "0", 404},
      {"/magnet-bt/torrent.php?magnet=", 404},
      {"/magnet-bt/torrent.php", 404},
      {"/no/such/page", 404},
      {"/?keyword=a&page=0", 400},
      {"/?keyword=a&page=-3", 400},
      {"/?keyword=a&page=two", 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    auto reply = HttpGet(port, c.path);
    EXPECT_EQ(reply.status, c.status);
    EXPECT_NE(FindText(reply.body, "<html"), -1);
    EXPECT_FALSE(IsTorrentFor(reply.body, "magnet:?xt=urn:btih:" + known));
  }
}

TEST_F(DemoSiteTest, RequestsThatAreNoGetAreTurnedAway) {
  struct Case {
    std::string request;
    int status;
  } cases[] = {
      {"POST / HTTP/1.1\r\nContent-Length: 0\r\n\r\n", 405},
      {"GET /?keyword=\r\n\r\n", 400},
      {"GET noslash HTTP/1.1\r\n\r\n", 400},
      {"GET / HTTP/2.0\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nX-Filler: " + std::string(20000, 'x') + "\r\n\r\n", 431},
      {"GET / HTTP/1.1\r\nHost: cut off", 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.request.substr(0, 40));
    EXPECT_EQ(HttpExchange(port, c.request).status, c.status);
  }
  // HEAD: the head of a GET without its body.
  auto head = HttpExchange(port, "HEAD /?keyword= HTTP/1.0\r\n\r\n");
  EXPECT_EQ(head.status, 200);
  EXPECT_TRUE(head.body.empty());
  EXPECT_EQ(HeaderValue(head, "Content-Length"), std::to_string(Page("").size()));
}

TEST(DemoSiteStartTest, LatencyDelaysEveryAnswerAndTakenPortsFail) {
  DemoSiteHandle slow = StartDemoSite(0, 120);
  ASSERT_TRUE(slow);
  for (const char* path : {"/?keyword=", "/nothing"}) {
    const auto began = std::chrono::steady_clock::now();
    EXPECT_NE(HttpGet(DemoSitePort(*slow), path).status, 0);
    EXPECT_GE(std::chrono::steady_clock::now() - began, std::chrono::milliseconds(120)) << path;
  }
  EXPECT_EQ(DemoSiteAddress(*slow), "http://127.0.0.1:" + std::to_string(DemoSitePort(*slow)));
  EXPECT_FALSE(StartDemoSite(DemoSitePort(*slow)));
}

}  // namespace
