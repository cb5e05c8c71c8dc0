#include "search/scrape_rules.h"

#include "text/markers.h"

namespace {

// "搜索到与" and "Copyright  ©" as the site's UTF-8 bytes.
const Text kRegionStart = "\xE6\x90\x9C\xE7\xB4\xA2\xE5\x88\xB0\xE4\xB8\x8E";
const Text kRegionEnd = "Copyright  \xC2\xA9";

}  // namespace

ScrapedPage ScrapePage(const Text& pageText) {
  ScrapedPage page;
  page.region = TextBetween(pageText, kRegionStart, kRegionEnd);
  // Every quote goes: a cap on the count would leave the links of a long
  // page quoted, and their entries would silently drop out.
  page.region = ReplaceAll(page.region, "\"", Text(), 1, kNoLimit, true);
  AllBetween(page.region, "magnet:?", ">", page.hashes);
  AllBetween(page.region, "_blank>", "/a></td>", page.titles);
  return page;
}

Text LookUpSize(const Text& region, const Text& rawTitle) {
  return TextBetween(region, rawTitle + "/a></td>", "</td>");
}

bool HasPageLink(const Text& pageText, int n) {
  return FindText(pageText, "&page=" + IntegerToText(n), 1, false) != -1;
}

Text RemoveAngles(const Text& title) {
  Text out;
  out.reserve(title.size());
  for (char c : title)
    if (c != '<') out += c;
  return out;
}
