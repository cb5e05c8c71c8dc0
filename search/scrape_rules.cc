#include "search/scrape_rules.h"

#include "text/markers.h"

namespace {

// "搜索到与" and "Copyright  ©" as the site's UTF-8 bytes.
const Text kRegionStart = "\xE6\x90\x9C\xE7\xB4\xA2\xE5\x88\xB0\xE4\xB8\x8E";
const Text kRegionEnd = "Copyright  \xC2\xA9";

// ReplaceAll of every quote, done in place: the region can be most of a
// page of many megabytes. A quote that is the second byte of a two-byte
// character stays, as the walk never looks at it. Every quote goes, with no
// cap on the count: a cap would leave the links of a long page quoted, and
// their entries would silently drop out.
void RemoveQuotes(Text& region) {
  size_t kept = 0;
  for (size_t i = 0; i < region.size();) {
    bool pair = static_cast<unsigned char>(region[i]) >= 0x80 && i + 1 < region.size();
    if (pair) {
      region[kept++] = region[i++];
      region[kept++] = region[i++];
    } else if (region[i] == '"') {
      ++i;
    } else {
      region[kept++] = region[i++];
    }
  }
  region.resize(kept);
}

}  // namespace

ScrapedPage ScrapePage(const Text& pageText) {
  ScrapedPage page;
  page.region = TextBetween(pageText, kRegionStart, kRegionEnd);
  RemoveQuotes(page.region);
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
