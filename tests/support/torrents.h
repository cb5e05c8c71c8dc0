#pragma once
// Real torrents built in the tests, and their magnet addresses.
#include <string>

#include "text/text.h"

namespace testsupport {

struct TestTorrent {
  Bytes bytes;     // the whole .torrent file
  Text hexHash;    // info hash, 40 lower-case hex digits
  Text base32Hash;  // info hash, 32 upper-case base32 characters
};

// A single-file torrent of `name` with `pieces` pieces; each piece adds 20
// bytes, so about 52430 pieces make a 1 MB file.
TestTorrent MakeTorrent(const std::string& name, int pieces = 4);

// "magnet:?xt=urn:btih:" + hash, as a result row carries it.
Text MagnetFor(const Text& hash);

Text Base32(const Bytes& bytes);

}  // namespace testsupport
