#include "search/first_page_search.h"

#include <iterator>

#include "app/main_window.h"
#include "net/fetch.h"
#include "platform/ui.h"
#include "search/collect_pages.h"
#include "search/parked_entries.h"
#include "search/result_row.h"
#include "search/scrape_rules.h"
#include "search/search_address.h"

namespace {

// The probe reads the page links of pages 1, 5, 9 and 13; the last
// candidate of each stage decides whether the next stage runs.
struct ProbeStage {
  int firstCandidate;
  int gate;
};
constexpr ProbeStage kStages[] = {{3, 5}, {6, 9}, {10, 13}, {14, 17}};

void FillOnePage(const ScrapedPage& page) {
  TextArray cells = LookUpSizes(page.region, page.titles);
  for (const Text& cell : cells) {
    ui::ProcessPendingMessages();
    ui::AppendText(编辑框6, SizeLine(cell));
  }
  TextArray titles;
  for (const Text& title : page.titles) titles.push_back(RemoveAngles(title));
  int rows = AddResultRows(titles, page.hashes, ReadParkedSizes());
  ui::SetCaption(标签1, ResultStatus(ui::GetText(编辑框1), rows));
  ui::SetDisabled(按钮1, false);
}

void ProbePageCount(Text page) {
  for (const ProbeStage& stage : kStages) {
    for (int candidate = stage.firstCandidate; candidate < stage.gate; ++candidate)
      if (HasPageLink(page, candidate)) ui::SetText(编辑框3, IntegerToText(candidate));
    if (!HasPageLink(page, stage.gate)) return;
    ui::SetText(编辑框3, IntegerToText(stage.gate));
    if (&stage == std::end(kStages) - 1) return;
    page = FetchPageText(SearchAddress(ui::GetText(编辑框1), IntegerToText(stage.gate)));
  }
}

}  // namespace

void StartSearch() {
  // Disabled here, before the worker exists, so a quick second click cannot
  // start a second search over the same scratch boxes.
  ui::SetDisabled(按钮1, true);
  if (!ui::StartWorker(FirstPageSearch)) ui::SetDisabled(按钮1, false);
}

void FirstPageSearch() {
  ui::DeleteAllRows(超级列表框1);
  ui::SetCaption(标签1, SearchingStatus());
  ui::SetText(编辑框3, Text());
  ui::SetText(编辑框2, Text());
  ui::SetText(编辑框5, Text());
  ui::SetText(编辑框6, Text());
  ui::SetDisabled(按钮1, true);

  FetchOutcome outcome;
  Text page = FetchPageText(SearchAddress(ui::GetText(编辑框1)), {}, &outcome);
  if (!outcome.ok) {
    ui::SetCaption(标签1, FailedStatus());
    ui::SetDisabled(按钮1, false);
    return;
  }
  ScrapedPage scraped = ScrapePage(page);
  if (!HasPageLink(page, 2)) {
    FillOnePage(scraped);
    return;
  }
  ParkEntries(scraped.region, scraped.titles, scraped.hashes);
  ui::SetText(编辑框4, "2");
  ui::SetText(编辑框3, "2");
  ProbePageCount(page);
  // Already on a worker: when no second one can be had, collect right here
  // rather than leave the button disabled for good.
  if (!ui::StartWorker(CollectPages)) CollectPages();
}
