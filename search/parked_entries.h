#pragma once
// The scratch boxes through which the first-page search hands entries to the
// page collection: one line per entry in each of 编辑框2 (titles), 编辑框5
// (hashes) and 编辑框6 (size cells), in the formats of parked_lines.h.
#include "search/parked_lines.h"

struct ParkedEntries {
  TextArray titles;
  TextArray hashes;
  TextArray sizes;
};

// One title, hash and size line per title that has a hash at its position.
void ParkEntries(const Text& region, const TextArray& titles, const TextArray& hashes);

TextArray ReadParkedSizes();
// Reads 编辑框2, 编辑框5 and 编辑框6 once each, in this order.
ParkedEntries ReadParkedEntries();
