#pragma once
// SHA-1 of a byte string: the info hash of a torrent and the piece hashes
// inside one.
#include "text/text.h"

// The 20-byte digest.
Bytes Sha1(const Bytes& data);
// The digest as 40 lower-case hex digits.
Text Sha1Hex(const Bytes& data);
// Any bytes as lower-case hex, two digits a byte.
Text HexOfBytes(const Bytes& bytes);
