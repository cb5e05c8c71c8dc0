// Scraping cost against page size, and a whole search of 18 pages from a
// loopback site as the user sees it: time from click to result status and
// the longest stall of the user-interface thread.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <map>

#include "app/main_window.h"
#include "net/sites.h"
#include "platform/ui.h"
#include "search/scrape_rules.h"
#include "tests/support/result_site.h"

namespace {

using testsupport::ResultEntry;

// Titles of varied length, CJK and ASCII mixed, some repeated, so that the
// lookup meets the shapes of a real index page.
std::vector<ResultEntry> VariedEntries(int count, int padding) {
  std::vector<ResultEntry> entries;
  const std::string words[] = {"Movie", "中文字幕", "1080p", "x265", "合集", "BluRay"};
  for (int i = 0; i < count; ++i) {
    std::string title = "[" + std::to_string(i % 997) + "] ";
    for (int w = 0; w < 3 + i % 7; ++w) title += words[(i + w) % 6] + " ";
    title += std::string(static_cast<size_t>(padding + i % 50), 'a' + i % 26);
    entries.push_back({title, "xt=urn:btih:" + std::to_string(i) + std::string(32, 'F'),
                       std::to_string(i % 4000) + ".5 MB"});
  }
  return entries;
}

void ScrapeWithSizes(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string page = testsupport::ResultPage(VariedEntries(count, 250), {2, 3});
  for (auto _ : state) {
    ScrapedPage scraped = ScrapePage(page);
    TextArray sizes = LookUpSizes(scraped.region, scraped.titles);
    benchmark::DoNotOptimize(sizes);
  }
  state.counters["page_MB"] = static_cast<double>(page.size()) / 1e6;
  state.counters["entries"] = count;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(ScrapeWithSizes)->Arg(1250)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

// 18 pages of 50 entries: the probe reads pages 1, 5, 9 and 13, finds 17
// linked pages and the collection fetches pages 2 to 18.
void SetUpEighteenPages(testsupport::ResultSite& site) {
  const std::map<int, std::vector<int>> links = {
      {1, {2, 3, 4, 5}}, {5, {6, 7, 8, 9}}, {9, {10, 11, 12, 13}}, {13, {14, 15, 16, 17}}};
  for (int page = 1; page <= 18; ++page) {
    auto found = links.find(page);
    std::vector<ResultEntry> entries = VariedEntries(50, 20);
    for (ResultEntry& e : entries) e.title += " p" + std::to_string(page);
    site.SetPage(page, testsupport::ResultPage(entries, found == links.end() ? std::vector<int>{}
                                                                              : found->second));
  }
}

void SearchEighteenPages(benchmark::State& state) {
  static int argc = 1;
  static char name[] = "search_bench";
  static char* argv[] = {name, nullptr};
  static bool ready = [] {
    ui::InitApplication(argc, argv);
    ui::SetShellOpenObserver([](const Text&) {});
    CreateAppWindow();
    return true;
  }();
  (void)ready;
  testsupport::ResultSite site;
  SetUpEighteenPages(site);
  SetSearchSite(site.base());

  double longestStall = 0, clickToStatus = 0;
  int rows = 0;
  for (auto _ : state) {
    // A 1 ms timer on the user-interface thread: the longest gap between two
    // of its ticks is the longest time the window could not answer.
    QElapsedTimer sinceTick;
    double stall = 0;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      stall = std::max(stall, sinceTick.nsecsElapsed() / 1e6);
      sinceTick.restart();
    });
    ui::SetText(编辑框1, "movie");
    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    ticker.start();
    ui::Click(按钮1);
    while (ui::IsDisabled(按钮1))
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    clickToStatus = clock.nsecsElapsed() / 1e6;
    ticker.stop();
    longestStall = std::max(longestStall, stall);
    rows = ui::RowCount(超级列表框1);
    state.SetIterationTime(clickToStatus / 1e3);
  }
  state.counters["rows"] = rows;
  state.counters["last_click_to_status_ms"] = clickToStatus;
  state.counters["longest_stall_ms"] = longestStall;
}
BENCHMARK(SearchEighteenPages)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
