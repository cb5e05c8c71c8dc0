#include "search/collect_pages.h"

#include <algorithm>

#include "app/main_window.h"
#include "net/fetch.h"
#include "platform/ui.h"
#include "search/parked_entries.h"
#include "search/result_row.h"
#include "search/scrape_rules.h"
#include "search/search_address.h"

namespace {

// The probe never writes more than this; a hand-edited box must not turn
// into thousands of requests.
constexpr int kMostPages = 17;

void CollectOnePage() {
  ui::SetCaption(标签1, CollectingStatus());
  Text address = SearchAddress(ui::GetText(编辑框1), ui::GetText(编辑框4));
  ScrapedPage page = ScrapePage(FetchPageText(address));
  ParkEntries(page.region, page.titles, page.hashes);
  ui::SetText(编辑框4, NumberToText(TextToInteger(ui::GetText(编辑框4)) + 1.0));
  ui::SetText(编辑框2, RemoveAngles(ui::GetText(编辑框2)));
}

}  // namespace

void CollectPages() {
  int pages = std::min(TextToInteger(ui::GetText(编辑框3)), kMostPages);
  for (int i = 0; i < pages; ++i) CollectOnePage();

  ParkedEntries parked = ReadParkedEntries();
  int added = AddResultRows(parked.titles, parked.hashes, parked.sizes);
  ui::SetCaption(标签1, ResultStatus(ui::GetText(编辑框1), added));
  ui::SetDisabled(按钮1, false);
}
