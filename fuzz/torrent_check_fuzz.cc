// The check a downloaded body must pass before it is saved, and the name it
// is saved under: any body and magnet without a crash; a torrent built from
// the input passes for its own hash in every spelling and fails when a byte
// of it or of the hash changes; a name never leaves its directory.
#include <cstdint>

#include "fuzz/support/fuzz_input.h"
#include "net/bencode.h"
#include "net/sha1.h"
#include "net/torrent_check.h"
#include "net/torrent_file_name.h"
#include "tests/support/torrents.h"

using fuzzinput::Check;
using fuzzinput::TakeText;
using testsupport::Base32;

namespace {

void CheckBuiltTorrent(FuzzedDataProvider& in) {
  Bytes name = in.ConsumeRandomLengthString(64);
  Bytes pieces = in.ConsumeRandomLengthString(60);
  int64_t length = in.ConsumeIntegralInRange<int64_t>(0, int64_t(1) << 50);
  Bytes info = BencodeDictionary({{"name", BencodeString(name)},
                                  {"piece length", BencodeInteger(16384)},
                                  {"pieces", BencodeString(pieces)},
                                  {"length", BencodeInteger(length)}});
  Bytes body = BencodeDictionary({{"announce", BencodeString(in.ConsumeRandomLengthString(32))},
                                  {"info", info}});
  Bytes hash = Sha1(info);
  Text hex = Sha1Hex(info);
  for (const Text& spelled : {hex, UpperText(hex), Base32(hash)})
    Check(IsTorrentFor(body, "magnet:?xt=urn:btih:" + spelled + "&dn=x"), "torrent for its hash");
  Check(IsTorrentFor(body, "magnet:?dn=no-hash"), "torrent for a magnet without a hash");

  Text wrong = hex;
  wrong[in.ConsumeIntegralInRange<size_t>(0, 39)] ^= 1;
  Check(!IsTorrentFor(body, "magnet:?xt=urn:btih:" + wrong), "torrent for another hash");
  Check(!IsTorrentFor(body + "e", "magnet:?xt=urn:btih:" + hex), "trailing bytes");
  Check(!IsTorrentFor(body.substr(0, body.size() - 1), "magnet:?xt=urn:btih:" + hex), "cut short");
  Bytes changed = body;
  size_t at = in.ConsumeIntegralInRange<size_t>(0, body.size() - 1);
  changed[at] = char(changed[at] ^ (1 + in.ConsumeIntegralInRange<int>(0, 254)));
  // The change may well leave a torrent, but never one with the old hash.
  if (IsTorrentFor(changed, "magnet:?xt=urn:btih:" + hex))
    Check(changed.find(info) != Bytes::npos, "changed info passes for the old hash");
}

void CheckAnyBody(FuzzedDataProvider& in) {
  Text magnet = TakeText(in, 128);
  Bytes body = in.ConsumeRemainingBytesAsString();
  bool passes = IsTorrentFor(body, magnet);
  if (passes) Check(body.front() == 'd' && body.back() == 'e', "a passing body is one dictionary");
  int64_t end = BencodeValueEnd(body, 0);
  Check(end == -1 || (end > 0 && end <= int64_t(body.size())), "BencodeValueEnd in range");
  Bytes infoHash = MagnetInfoHash(magnet);
  Check(infoHash.empty() || infoHash.size() == 20, "info hash is 20 bytes");
}

void CheckFileName(FuzzedDataProvider& in) {
  Text title = TakeText(in, 400);
  Text magnet = TakeText(in, 80);
  std::string file = TorrentFileName(title, magnet);
  Check(file.size() <= 255, "file name within 255 bytes");
  Check(file.size() > 8 && file.compare(file.size() - 8, 8, ".torrent") == 0, "file name ends in .torrent");
  Check(file.find('/') == std::string::npos && file.find('\0') == std::string::npos,
        "file name stays in its directory");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: CheckBuiltTorrent(in); break;
    case 1: CheckFileName(in); break;
    default: CheckAnyBody(in); break;
  }
  return 0;
}
