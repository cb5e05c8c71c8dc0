#pragma once
// The demo index's HTML, in the markup the program's scraping rules cut:
// the results between "搜索到与" and "Copyright  ©", per row a title link
// opened with target="_blank" and closed by </a></td>, a size cell and a
// quoted magnet link, and links to the pages around the current one.
#include "text/text.h"

inline constexpr int kRowsPerPage = 20;
// How far the page links reach on each side of the current page.
inline constexpr int kPageLinkReach = 4;

// Result page `page` (1-based) for a UTF-8 keyword. Past the last page the
// results region is there but empty.
Text ResultPageHtml(const Text& keyword, int page);
// A small HTML page for an error status ("404 Not Found") and a one-line reason.
Text ErrorPageHtml(const Text& status, const Text& reason);

// Everything but letters, digits and -._~ as %XX.
Text PercentEncode(const Text& t);
// <, >, &, " and ' as references, and every non-ASCII character as &#N; so
// that an echoed keyword can never bring a marker of the page into it.
Text HtmlEscape(const Text& utf8);
