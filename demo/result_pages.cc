#include "demo/result_pages.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "demo/catalogue.h"

namespace {

// One character of UTF-8 from `at`; U+FFFD for a broken sequence, which then
// consumes one byte.
uint32_t NextCodePoint(const Text& t, size_t& at) {
  const unsigned char lead = static_cast<unsigned char>(t[at]);
  int extra = -1;
  if (lead >= 0xC2 && lead <= 0xDF)
    extra = 1;
  else if (lead >= 0xE0 && lead <= 0xEF)
    extra = 2;
  else if (lead >= 0xF0 && lead <= 0xF4)
    extra = 3;
  uint32_t cp = extra < 0 ? 0 : lead & (0x3F >> extra);
  for (int i = 1; i <= extra && extra > 0; ++i) {
    const unsigned char c = at + i < t.size() ? static_cast<unsigned char>(t[at + i]) : 0;
    if ((c & 0xC0) != 0x80) extra = -1;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (extra < 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++at;
    return 0xFFFD;
  }
  at += extra + 1;
  return cp;
}

Text RowHtml(const CatalogueEntry& e) {
  return "<tr><td class=\"name\"><a href=\"/torrent/" + e.btih + ".html\" target=\"_blank\">" +
         e.pageTitle + "</a></td><td>" + e.size +
         "</td><td><a class=\"magnet\" href=\"magnet:?xt=urn:btih:" + e.btih +
         "&dn=" + PercentEncode(e.title) + "\">磁力链接</a></td></tr>\n";
}

Text PageHref(const Text& keyword, int page) {
  Text href = "/?keyword=" + PercentEncode(keyword);
  return page == 1 ? href : href + "&page=" + std::to_string(page);
}

Text PageLinks(const Text& keyword, int page, int lastPage) {
  Text links = "<div class=\"pages\">";
  const int first = std::max(1, page - kPageLinkReach);
  const int last = std::min(lastPage, page + kPageLinkReach);
  for (int n = first; n <= last; ++n) {
    const Text number = std::to_string(n);
    links += n == page ? " <b>" + number + "</b>"
                       : " <a href=\"" + PageHref(keyword, n) + "\">" + number + "</a>";
  }
  return links + " </div>\n";
}

const char kHead[] =
    "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">\n"
    "<style>body{font-family:sans-serif;margin:2em}table{border-collapse:collapse}"
    "td,th{border:1px solid #ccc;padding:4px 8px}.pages{margin:1em 0}</style>\n";

}  // namespace

Text ResultPageHtml(const Text& keyword, int page) {
  const std::vector<const CatalogueEntry*> found = MatchingEntries(keyword);
  const int count = static_cast<int>(found.size());
  const int lastPage = (count + kRowsPerPage - 1) / kRowsPerPage;
  const Text shown = HtmlEscape(keyword);

  Text html = kHead;
  html += "<title>" + shown + " - 种子搜索</title></head><body>\n";
  html += "<form action=\"/\" method=\"get\"><input name=\"keyword\" value=\"" + shown +
          "\"> <button>搜索</button></form>\n";
  // The keyword is echoed only above this line, where the results region
  // has not begun.
  html += "<p class=\"summary\">搜索到与关键词相关的种子 " + std::to_string(count) + " 个</p>\n";
  html += "<table class=\"results\">\n<tr><th>名称</th><th>大小</th><th>下载</th></tr>\n";
  // 64 bits: a page number from the query may be as large as 2^30.
  const int64_t begin = int64_t{page - 1} * kRowsPerPage;
  for (int64_t i = begin; i >= 0 && i < count && i < begin + kRowsPerPage; ++i)
    html += RowHtml(*found[i]);
  html += "</table>\n";
  if (lastPage > 1) html += PageLinks(keyword, page, lastPage);
  html += "<p class=\"footer\">Copyright  © 2024 Zendrel demo index</p>\n</body></html>\n";
  return html;
}

Text ErrorPageHtml(const Text& status, const Text& reason) {
  return Text(kHead) + "<title>" + status + "</title></head><body>\n<h1>" + status + "</h1>\n<p>" +
         HtmlEscape(reason) + "</p>\n</body></html>\n";
}

Text PercentEncode(const Text& t) {
  static const char hex[] = "0123456789ABCDEF";
  Text out;
  for (unsigned char c : t) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

Text HtmlEscape(const Text& utf8) {
  Text out;
  for (size_t at = 0; at < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[at]);
    if (c >= 0x80) {
      out += "&#" + std::to_string(NextCodePoint(utf8, at)) + ";";
      continue;
    }
    ++at;
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        // A NUL would end the page for a reader that stops at the first one.
        if (c < 0x20 && c != '\t' && c != '\n')
          out += "&#65533;";
        else
          out += static_cast<char>(c);
    }
  }
  return out;
}
