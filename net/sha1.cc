#include "net/sha1.h"

#include <array>
#include <cstdint>

namespace {

uint32_t Rotl(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void CompressBlock(std::array<uint32_t, 5>& h, const unsigned char* block) {
  uint32_t w[80];
  for (int i = 0; i < 16; ++i)
    w[i] = uint32_t(block[4 * i]) << 24 | uint32_t(block[4 * i + 1]) << 16 |
           uint32_t(block[4 * i + 2]) << 8 | uint32_t(block[4 * i + 3]);
  for (int i = 16; i < 80; ++i) w[i] = Rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
  uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
  for (int i = 0; i < 80; ++i) {
    uint32_t f, k;
    if (i < 20) {
      f = (b & c) | (~b & d);
      k = 0x5A827999;
    } else if (i < 40) {
      f = b ^ c ^ d;
      k = 0x6ED9EBA1;
    } else if (i < 60) {
      f = (b & c) | (b & d) | (c & d);
      k = 0x8F1BBCDC;
    } else {
      f = b ^ c ^ d;
      k = 0xCA62C1D6;
    }
    uint32_t t = Rotl(a, 5) + f + e + k + w[i];
    e = d;
    d = c;
    c = Rotl(b, 30);
    b = a;
    a = t;
  }
  h[0] += a;
  h[1] += b;
  h[2] += c;
  h[3] += d;
  h[4] += e;
}

}  // namespace

Bytes Sha1(const Bytes& data) {
  std::array<uint32_t, 5> h = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  size_t whole = data.size() / 64 * 64;
  for (size_t i = 0; i < whole; i += 64) CompressBlock(h, bytes + i);

  // The tail, the 0x80 marker and the bit length fill one or two last blocks.
  unsigned char tail[128] = {};
  size_t rest = data.size() - whole;
  for (size_t i = 0; i < rest; ++i) tail[i] = bytes[whole + i];
  tail[rest] = 0x80;
  size_t tailSize = rest + 1 + 8 <= 64 ? 64 : 128;
  uint64_t bits = uint64_t(data.size()) * 8;
  for (int i = 0; i < 8; ++i) tail[tailSize - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
  for (size_t i = 0; i < tailSize; i += 64) CompressBlock(h, tail + i);

  Bytes digest(20, '\0');
  for (int i = 0; i < 20; ++i) digest[i] = static_cast<char>(h[i / 4] >> (24 - 8 * (i % 4)));
  return digest;
}

Text HexOfBytes(const Bytes& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  Text hex;
  hex.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

Text Sha1Hex(const Bytes& data) { return HexOfBytes(Sha1(data)); }
