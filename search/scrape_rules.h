#pragma once
// Cutting one result page of the search site into entries (title, hash,
// size) and spotting links to further pages. Every rule is a search for
// fixed marker bytes; page text stays the page's own UTF-8, so the markers
// are UTF-8 bytes too.
#include "text/text.h"

struct ScrapedPage {
  Text region;       // between the results markers, quotes removed
  TextArray hashes;  // what follows "magnet:?" up to ">"
  TextArray titles;  // raw titles, each still ending in the link's "<"
};

ScrapedPage ScrapePage(const Text& pageText);

// The size cell of the first occurrence of `rawTitle` closing a link in the
// region; empty when there is none.
Text LookUpSize(const Text& region, const Text& rawTitle);
// LookUpSize for every title at once, in one pass over the region instead of
// one search from its start per title.
TextArray LookUpSizes(const Text& region, const TextArray& rawTitles);

// Whether the page links to page n (2..17). A plain substring test over the
// whole page: a link to page 21 counts as one to page 2.
bool HasPageLink(const Text& pageText, int n);

// A title as the list shows it: every "<" byte gone, then decoded. Works on
// the raw UTF-8 bytes, where "<" can never be the second byte of a character.
Text RemoveAngles(const Text& title);
