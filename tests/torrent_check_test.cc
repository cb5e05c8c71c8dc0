#include "net/torrent_check.h"

#include <gtest/gtest.h>

#include "net/bencode.h"
#include "net/sha1.h"
#include "tests/support/torrents.h"

namespace {

using testsupport::MagnetFor;
using testsupport::MakeTorrent;

Text Upper(Text t) {
  for (char& c : t)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return t;
}

Text Lower(Text t) {
  for (char& c : t)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return t;
}

TEST(TorrentCheck, BodiesAgainstMagnets) {
  const auto good = MakeTorrent("ubuntu.iso");
  const auto other = MakeTorrent("other.iso");
  const Bytes info = BencodeDictionary({{"name", BencodeString("x")}});
  const Text infoHash = Sha1Hex(info);
  Bytes deep(200, 'l');
  deep += Bytes(200, 'e');

  struct Case {
    const char* what;
    Bytes body;
    Text magnet;
    bool torrent;
  };
  const Case cases[] = {
      {"hex hash", good.bytes, MagnetFor(good.hexHash), true},
      {"upper-case hex hash", good.bytes, MagnetFor(Upper(good.hexHash)), true},
      {"base32 hash", good.bytes, MagnetFor(good.base32Hash), true},
      {"lower-case base32 hash", good.bytes, MagnetFor(Lower(good.base32Hash)), true},
      {"more parameters, upper-case key", good.bytes,
       "magnet:?dn=ubuntu&XT=URN:BTIH:" + good.hexHash + "&tr=http://t/a", true},
      {"magnet without a hash: any torrent", good.bytes, "magnet:?dn=ubuntu", true},
      {"hash of neither accepted length", good.bytes, MagnetFor("abc123"), false},
      {"empty hash", good.bytes, "magnet:?xt=urn:btih:&dn=x", false},
      {"another torrent's hash", other.bytes, MagnetFor(good.hexHash), false},
      {"hash of the whole file, not of info", good.bytes, MagnetFor(Sha1Hex(good.bytes)), false},
      {"40 characters that are not hex", good.bytes, MagnetFor(Text(40, 'z')), false},
      {"32 characters that are not base32", good.bytes, MagnetFor(Text(32, '1')), false},
      {"cut short", good.bytes.substr(0, good.bytes.size() - 1), MagnetFor(good.hexHash), false},
      {"cut inside the pieces", good.bytes.substr(0, 120), "magnet:?", false},
      {"bytes after the dictionary", good.bytes + "\n", MagnetFor(good.hexHash), false},
      {"empty body", "", "magnet:?", false},
      {"error page", "<html><body>404 Not Found</body></html>", "magnet:?", false},
      {"a list, not a dictionary", BencodeList({info}), "magnet:?", false},
      {"no info", BencodeDictionary({{"announce", BencodeString("x")}}), "magnet:?", false},
      {"info is not a dictionary", BencodeDictionary({{"info", BencodeString("x")}}), "magnet:?",
       false},
      {"info twice", "d4:info" + info + "4:info" + info + "e", MagnetFor(infoHash), false},
      {"minimal torrent", BencodeDictionary({{"info", info}}), MagnetFor(infoHash), true},
      {"unsorted keys are read", "d4:info" + info + "1:a0:e", MagnetFor(infoHash), true},
      {"integer with leading zero", "d1:ai01e4:info" + info + "e", "magnet:?", false},
      {"negative zero", "d1:ai-0e4:info" + info + "e", "magnet:?", false},
      {"empty integer", "d1:aie4:info" + info + "e", "magnet:?", false},
      {"negative integer", "d1:ai-5e4:info" + info + "e", "magnet:?", true},
      {"string longer than the body", "d4:info" + info + "1:a99999999999999999999:xe", "magnet:?",
       false},
      {"key that is not a string", "di1ei2e4:info" + info + "e", "magnet:?", false},
      {"nesting too deep for a torrent", "d1:a" + deep + "4:info" + info + "e", "magnet:?", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsTorrentFor(c.body, c.magnet), c.torrent) << c.what;
}

TEST(TorrentCheck, MagnetHash) {
  const Bytes raw = Sha1("x");
  struct Case {
    Text magnet;
    Text text;
    Bytes hash;
  };
  const Case cases[] = {
      {MagnetFor(HexOfBytes(raw)), HexOfBytes(raw), raw},
      {MagnetFor(testsupport::Base32(raw)) + "&dn=a", testsupport::Base32(raw), raw},
      {"magnet:?dn=a&xt=urn:btih:", "", ""},
      {"magnet:?dn=a", "", ""},
      {"", "", ""},
      {"magnet:?xt=urn:sha1:" + HexOfBytes(raw), "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MagnetHashText(c.magnet), c.text) << c.magnet;
    EXPECT_EQ(MagnetInfoHash(c.magnet), c.hash) << c.magnet;
  }
}

TEST(Bencode, WriterSortsKeysAndReaderFindsValues) {
  Bytes d = BencodeDictionary({{"b", BencodeInteger(-3)},
                               {"a", BencodeList({BencodeString(""), BencodeString("x:y")})}});
  EXPECT_EQ(d, "d1:al0:3:x:ye1:bi-3ee");
  EXPECT_EQ(BencodeValueEnd(d, 0), static_cast<int64_t>(d.size()));
  int64_t start = 0, end = 0;
  ASSERT_TRUE(BencodeLookUp(d, 0, "b", &start, &end));
  EXPECT_EQ(d.substr(start, end - start), "i-3e");
  EXPECT_FALSE(BencodeLookUp(d, 0, "c", &start, &end));
  EXPECT_EQ(BencodeValueEnd(d, 100), -1);
}

}  // namespace
