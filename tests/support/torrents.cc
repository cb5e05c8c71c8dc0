#include "tests/support/torrents.h"

#include "net/bencode.h"
#include "net/sha1.h"

namespace testsupport {

Text Base32(const Bytes& bytes) {
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
  Text out;
  unsigned buffer = 0;
  int bits = 0;
  for (unsigned char c : bytes) {
    buffer = (buffer << 8 | c) & 0xFFFF;
    bits += 8;
    while (bits >= 5) {
      bits -= 5;
      out += kAlphabet[buffer >> bits & 31];
    }
  }
  if (bits > 0) out += kAlphabet[buffer << (5 - bits) & 31];
  return out;
}

TestTorrent MakeTorrent(const std::string& name, int pieces) {
  const int64_t pieceLength = 262144;
  Bytes pieceHashes;
  pieceHashes.reserve(static_cast<size_t>(pieces) * 20);
  for (int i = 0; i < pieces; ++i) pieceHashes += Sha1(name + "/" + std::to_string(i));
  Bytes info = BencodeDictionary({
      {"name", BencodeString(name)},
      {"length", BencodeInteger(pieceLength * pieces - 1000)},
      {"piece length", BencodeInteger(pieceLength)},
      {"pieces", BencodeString(pieceHashes)},
  });
  TestTorrent t;
  t.bytes = BencodeDictionary({
      {"announce", BencodeString("http://127.0.0.1:1/announce")},
      {"creation date", BencodeInteger(1700000000)},
      {"info", info},
  });
  t.hexHash = Sha1Hex(info);
  t.base32Hash = Base32(Sha1(info));
  return t;
}

Text MagnetFor(const Text& hash) { return "magnet:?xt=urn:btih:" + hash; }

}  // namespace testsupport
