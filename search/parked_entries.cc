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

namespace {

// The values of a box of "qq" lines, one per line.
TextArray ReadPrefixedValues(ui::Control box) {
  TextArray values = ParkedLines(ui::GetText(box));
  for (Text& line : values) line = TitleLineValue(line);
  return values;
}

}  // namespace

ParkedEntries ReadParkedEntries() {
  ParkedEntries parked;
  parked.titles = ReadPrefixedValues(编辑框2);
  parked.hashes = ReadPrefixedValues(编辑框5);
  parked.sizes = ReadParkedSizes();
  return parked;
}
