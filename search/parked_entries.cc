#include "search/parked_entries.h"

#include <algorithm>

#include "app/main_window.h"
#include "platform/ui.h"
#include "search/scrape_rules.h"

void ParkEntries(const Text& region, const TextArray& titles, const TextArray& hashes) {
  size_t count = std::min(titles.size(), hashes.size());
  TextArray sizes = LookUpSizes(region, TextArray(titles.begin(), titles.begin() + count));
  for (size_t i = 0; i < count; ++i) {
    ui::AppendText(编辑框2, TitleLine(titles[i]));
    ui::AppendText(编辑框5, TitleLine(hashes[i]));
    ui::AppendText(编辑框6, SizeLine(sizes[i]));
  }
}

TextArray ReadParkedSizes() {
  TextArray sizes = ParkedLines(ui::GetText(编辑框6));
  for (Text& line : sizes) line = SizeLineValue(line);
  return sizes;
}

ParkedEntries ReadParkedEntries() {
  ParkedEntries parked;
  parked.titles = ParkedLines(ui::GetText(编辑框2));
  for (Text& line : parked.titles) line = TitleLineValue(line);
  parked.hashes = ParkedLines(ui::GetText(编辑框5));
  for (Text& line : parked.hashes) line = TitleLineValue(line);
  parked.sizes = ReadParkedSizes();
  return parked;
}
