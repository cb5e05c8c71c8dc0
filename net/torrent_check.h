#pragma once
// Whether a body is the torrent a magnet address asks for.
#include "text/text.h"

// The btih value of the magnet's first "xt=urn:btih:" parameter as written,
// or empty Text when there is none.
Text MagnetHashText(const Text& magnet);
// That value as the 20-byte info hash when it is 40 hex digits or 32 base32
// characters (either case); empty otherwise.
Bytes MagnetInfoHash(const Text& magnet);

// The body is exactly one bencoded dictionary holding one "info" dictionary,
// and, when the magnet has a btih parameter, the SHA-1 of that dictionary's
// bytes equals the hash it names (a value that is no hash matches nothing).
bool IsTorrentFor(const Bytes& body, const Text& magnet);
