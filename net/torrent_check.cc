#include "net/torrent_check.h"

#include "net/bencode.h"
#include "net/sha1.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int Base32Digit(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a';
  if (c >= '2' && c <= '7') return c - '2' + 26;
  return -1;
}

Bytes FromHex(const Text& hex) {
  Bytes out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    int high = HexDigit(hex[i]), low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return Bytes();
    out += static_cast<char>(high << 4 | low);
  }
  return out;
}

Bytes FromBase32(const Text& text) {
  Bytes out;
  unsigned buffer = 0;
  int bits = 0;
  for (char c : text) {
    int digit = Base32Digit(c);
    if (digit < 0) return Bytes();
    buffer = (buffer << 5 | unsigned(digit)) & 0x1FFF;
    bits += 5;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>(buffer >> bits & 0xFF);
    }
  }
  return out;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// `prefix` is lower case.
bool StartsWithNoCase(const Text& t, size_t at, const Text& prefix) {
  if (t.size() - at < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (AsciiLower(t[at + i]) != prefix[i]) return false;
  return true;
}

// The value of the first btih parameter; *named tells whether there is one,
// for a parameter may be present with a value nobody can use.
Text FindBtih(const Text& magnet, bool* named) {
  *named = false;
  size_t query = magnet.find('?');
  size_t at = query == Text::npos ? 0 : query + 1;
  const Text xt = "xt=urn:btih:";
  while (at <= magnet.size()) {
    size_t end = magnet.find('&', at);
    if (end == Text::npos) end = magnet.size();
    if (StartsWithNoCase(magnet, at, xt)) {
      *named = true;
      return magnet.substr(at + xt.size(), end - at - xt.size());
    }
    at = end + 1;
  }
  return Text();
}

}  // namespace

Text MagnetHashText(const Text& magnet) {
  bool named = false;
  return FindBtih(magnet, &named);
}

Bytes MagnetInfoHash(const Text& magnet) {
  Text hash = MagnetHashText(magnet);
  if (hash.size() == 40) return FromHex(hash);
  if (hash.size() == 32) return FromBase32(hash);
  return Bytes();
}

bool IsTorrentFor(const Bytes& body, const Text& magnet) {
  if (body.empty() || body[0] != 'd') return false;
  if (BencodeValueEnd(body, 0) != static_cast<int64_t>(body.size())) return false;
  int64_t infoStart = 0, infoEnd = 0;
  if (!BencodeLookUp(body, 0, "info", &infoStart, &infoEnd) || body[infoStart] != 'd')
    return false;
  bool named = false;
  FindBtih(magnet, &named);
  if (!named) return true;
  // A hash that cannot be read cannot be confirmed either.
  Bytes wanted = MagnetInfoHash(magnet);
  return !wanted.empty() && Sha1(body.substr(infoStart, infoEnd - infoStart)) == wanted;
}
