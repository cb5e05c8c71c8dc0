// Peak memory of a search against the bytes it fetched. Under ctest every
// test runs in a process of its own, so the peak is this search's alone.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>

#include "app/main_window.h"
#include "net/sites.h"
#include "platform/ui.h"
#include "search/search_address.h"
#include "tests/support/raw_http_server.h"
#include "tests/support/result_site.h"
#include "tests/support/support.h"
#include "tests/support/ui_support.h"

namespace {

using testsupport::NumberedEntries;
using testsupport::ResultPage;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

long PeakBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024L;
}

class SearchMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::StartTestWindow(false);
  }

  // The growth of the peak over the search, reported against `fetched`.
  void SearchAndWeigh(const std::string& keyword, double fetched, int rows) {
    long before = PeakBytes();
    ui::SetText(编辑框1, keyword);
    ui::Click(按钮1);
    ASSERT_TRUE(testsupport::WaitUntil([] { return !ui::IsDisabled(按钮1); }, std::chrono::seconds(120)));
    ASSERT_EQ(ui::GetCaption(标签1), ResultStatus(keyword, rows));
    double grown = double(PeakBytes() - before);
    std::printf("fetched %.1f MB, peak grew by %.1f MB: %.2f times\n", fetched / 1e6, grown / 1e6,
                grown / fetched);
    RecordProperty("peak_growth_ratio", std::to_string(grown / fetched));
    // Sanitizers keep freed memory aside on purpose; only a plain build says
    // what the program itself needs.
    if (!kSanitized) {
      EXPECT_LT(grown, 4 * fetched);
    }
  }
};

// Pages shaped like an index's: 60 entries and some 100 KB of scripts and
// styles around them. (Every row also costs the list and the scratch boxes
// about 2 KB whatever the page weighs, so pages of bare rows show a higher
// ratio.)
TEST_F(SearchMemory, SeventeenPageSearch) {
  testsupport::ResultSite site;
  std::vector<int> links;
  for (int n = 2; n <= 17; ++n) links.push_back(n);
  std::string chrome = "<script>";
  while (chrome.size() < 100000) chrome += "var x = document.getElementById('row'); x.style.display = 'none';\n";
  chrome += "</script>";
  double fetched = 0;
  for (int page = 1; page <= 18; ++page) {
    std::string body = ResultPage(NumberedEntries("p" + std::to_string(page), 60), links);
    body.insert(body.find("<body>"), chrome);
    fetched += double(body.size());
    site.SetPage(page, body);
  }
  // The probe fetches pages 5, 9 and 13 once more.
  fetched += 3 * fetched / 18;
  ASSERT_TRUE(SetSearchSite(site.base()));
  SearchAndWeigh("seventeen", fetched, 18 * 60);
}

TEST_F(SearchMemory, FiftyMegabytePage) {
  std::string start = ResultPage(NumberedEntries("big", 5), {});
  size_t cut = start.find("</table>");
  std::string end = start.substr(cut);
  start.resize(cut);
  const int64_t filler = int64_t(50) << 20;
  testsupport::RawReply reply;
  reply.bytes = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(start.size() + filler + end.size()) +
                "\r\n\r\n" + start;
  reply.filler = "<tr><td class=\"x\">filler</td></tr>\n";
  reply.fillerBytes = filler;
  reply.tail = end;
  testsupport::RawHttpServer server({reply});
  ASSERT_TRUE(SetSearchSite(server.Url("")));
  SearchAndWeigh("big", double(start.size() + filler + end.size()), 5);
}

}  // namespace
