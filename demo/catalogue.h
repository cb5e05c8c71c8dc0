#pragma once
// The demo index's torrents: a fixed catalogue generated the same way on
// every start, so pages, hashes and files never change between runs.
#include <cstdint>
#include <vector>

#include "text/text.h"

inline constexpr int kCatalogueSize = 340;

struct CatalogueEntry {
  int number;      // 1-based place in the catalogue
  Text title;      // UTF-8, as a person reads and searches it
  Text pageTitle;  // the title as the pages write it, some with %XX escapes
  int64_t sizeBytes;
  Text size;      // as the pages write it: "734.0 MB", "4.37 GB"
  Text btih;      // the info hash, 40 upper-case hex digits
  Bytes torrent;  // bencoded metainfo whose info dictionary hashes to btih
};

const std::vector<CatalogueEntry>& Catalogue();

// The entries whose title holds every word of the UTF-8 keyword (ASCII
// letters in any case), in catalogue order; all of them for a blank keyword.
std::vector<const CatalogueEntry*> MatchingEntries(const Text& keyword);

// The entry of a hex info hash in either case; null when there is none.
const CatalogueEntry* EntryByHash(const Text& hexHash);

// "734.0 MB" below one GiB, "4.37 GB" from there.
Text SizeText(int64_t bytes);
