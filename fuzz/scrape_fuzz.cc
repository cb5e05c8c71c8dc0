// Cutting a result page and parking its entries: the page cut against the
// literal marker rules, the one-pass size lookup against the plain one, and
// the scratch lines of up to three pages read back entry for entry, in order,
// after the "<" removal the page collection does between pages.
#include <algorithm>
#include <cstdint>

#include "fuzz/reference.h"
#include "fuzz/support/fuzz_input.h"
#include "search/parked_lines.h"
#include "search/scrape_rules.h"

using fuzzinput::Check;
using fuzzinput::TakeText;

namespace {

const Text kStart = "\xE6\x90\x9C\xE7\xB4\xA2\xE5\x88\xB0\xE4\xB8\x8E";
const Text kEnd = "Copyright  \xC2\xA9";

// Pages are mostly the site's markup with random bytes between; the markers
// are spliced in by index so that the fuzzer reaches the interesting cuts.
Text TakePage(FuzzedDataProvider& in) {
  static const Text kPieces[] = {kStart, kEnd, "magnet:?", ">", "_blank>", "/a></td>", "</td>",
                                 "<td>", "\"", "<", "qq", "\r\n", "&page=2", "\xE4\xB8\xAD"};
  Text page;
  while (in.remaining_bytes() > 0 && page.size() < 8192) {
    if (in.ConsumeBool())
      page += kPieces[in.ConsumeIntegralInRange<size_t>(0, std::size(kPieces) - 1)];
    else
      page += TakeText(in, 24);
  }
  return page;
}

Text OneLine(Text v) {
  std::replace(v.begin(), v.end(), '\r', ' ');
  std::replace(v.begin(), v.end(), '\n', ' ');
  return v;
}

Text WithoutAngles(Text v) {
  v.erase(std::remove(v.begin(), v.end(), '<'), v.end());
  return v;
}

void CheckCut(const Text& pageText, const ScrapedPage& page) {
  Text region = ref::ReplaceAll(ref::Between(pageText, kStart, kEnd, false), "\"", "", 1, -1, true);
  Check(page.region == region, "ScrapePage region");
  Check(page.hashes == ref::All(region, "magnet:?", ">", {}), "ScrapePage hashes");
  Check(page.titles == ref::All(region, "_blank>", "/a></td>", {}), "ScrapePage titles");
  Check(HasPageLink(pageText, 2) == (ref::Find(pageText, "&page=2") != -1), "HasPageLink");
}

void CheckSizes(const ScrapedPage& page, const TextArray& extraTitles) {
  TextArray titles = page.titles;
  titles.insert(titles.end(), extraTitles.begin(), extraTitles.end());
  TextArray sizes = LookUpSizes(page.region, titles);
  Check(sizes.size() == titles.size(), "LookUpSizes count");
  for (size_t i = 0; i < titles.size(); ++i)
    Check(sizes[i] == ref::Between(page.region, titles[i] + "/a></td>", "</td>", false),
          "LookUpSizes against LookUpSize");
}

struct Boxes {
  Text titles, hashes, sizes;
  TextArray wantTitles, wantHashes, wantSizes;
};

// What the first-page search and the page collection do with one page.
void Park(const ScrapedPage& page, Boxes& boxes, bool collecting) {
  size_t count = std::min(page.titles.size(), page.hashes.size());
  TextArray cells = LookUpSizes(page.region, TextArray(page.titles.begin(), page.titles.begin() + count));
  for (size_t i = 0; i < count; ++i) {
    boxes.titles += TitleLine(page.titles[i]);
    boxes.hashes += TitleLine(page.hashes[i]);
    boxes.sizes += SizeLine(cells[i]);
    boxes.wantTitles.push_back(OneLine(page.titles[i]));
    boxes.wantHashes.push_back(OneLine(page.hashes[i]));
    Text cell = OneLine(cells[i]);
    size_t td = cell.find("<td>");
    boxes.wantSizes.push_back(td == Text::npos ? Text() : cell.substr(td + 4));
  }
  if (collecting) {
    boxes.titles = RemoveAngles(boxes.titles);
    for (Text& t : boxes.wantTitles) t = WithoutAngles(t);
  }
}

TextArray ReadBack(const Text& box, Text (*value)(const Text&)) {
  TextArray values = ParkedLines(box);
  for (Text& v : values) v = value(v);
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  int pages = in.ConsumeIntegralInRange<int>(1, 3);
  TextArray extraTitles = {TakeText(in, 16), TakeText(in, 16)};
  Boxes boxes;
  for (int p = 0; p < pages && in.remaining_bytes() > 0; ++p) {
    Text pageText = TakePage(in);
    ScrapedPage page = ScrapePage(pageText);
    CheckCut(pageText, page);
    CheckSizes(page, extraTitles);
    Park(page, boxes, p > 0);
  }
  Check(ReadBack(boxes.titles, TitleLineValue) == boxes.wantTitles, "titles read back");
  Check(ReadBack(boxes.hashes, TitleLineValue) == boxes.wantHashes, "hashes read back");
  Check(ReadBack(boxes.sizes, SizeLineValue) == boxes.wantSizes, "sizes read back");
  return 0;
}
