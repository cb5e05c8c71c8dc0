// Scraping cost against page size, and a whole search of 18 pages from a
// loopback site as the user sees it: time from click to result status and
// the longest stall of the user-interface thread.
#include <benchmark/benchmark.h>

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

}  // namespace

BENCHMARK_MAIN();
