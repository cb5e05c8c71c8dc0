#pragma once
// Bencoding: writing values (demo and test torrents) and finding the extent of
// values in a body (the torrent check). Positions here are 0-based byte
// offsets into a byte string.
#include <cstdint>
#include <utility>
#include <vector>

#include "text/text.h"

Bytes BencodeInteger(int64_t n);
Bytes BencodeString(const Bytes& s);
// Items are already encoded values.
Bytes BencodeList(const std::vector<Bytes>& items);
// Key and encoded value; the writer puts the keys in byte order, as readers
// that hash the info dictionary expect.
using BencodeEntries = std::vector<std::pair<Bytes, Bytes>>;
Bytes BencodeDictionary(BencodeEntries entries);

// Offset just past the well-formed value that starts at `start`; -1 when the
// bytes there are not one (malformed, cut short, or nested deeper than a sane
// torrent ever is).
int64_t BencodeValueEnd(const Bytes& b, int64_t start);

// The value of `key` in the dictionary that starts at `start`, as the span
// [*valueStart, *valueEnd). False when the dictionary is malformed, lacks the
// key, or holds it more than once (then no single value is meant).
bool BencodeLookUp(const Bytes& b, int64_t start, const Bytes& key, int64_t* valueStart,
                   int64_t* valueEnd);
