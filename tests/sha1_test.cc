#include "net/sha1.h"

#include <gtest/gtest.h>

namespace {

Bytes AllByteValues() {
  Bytes b;
  for (int i = 0; i < 256; ++i) b += static_cast<char>(i);
  return b;
}

TEST(Sha1, KnownDigests) {
  struct Case {
    Bytes input;
    const char* digest;
  };
  const Case cases[] = {
      {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
      {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
      {Bytes(1, '\0'), "5ba93c9db0cff93f52b521d7420e43f6eda2784f"},
      {AllByteValues(), "4916d6bdb7f78e6803698cab32d1586ea457dfc8"},
      // Lengths around the padding boundaries: the length field fits in the
      // last block or needs one more.
      {Bytes(55, 'a'), "c1c8bbdc22796e28c0e15163d20899b65621d65a"},
      {Bytes(56, 'a'), "c2db330f6083854c99d4b5bfb6e8f29f201be699"},
      {Bytes(63, 'a'), "03f09f5b158a7a8cdad920bddc29b81c18a551f5"},
      {Bytes(64, 'a'), "0098ba824b5c16427bd7a1122a5a442a25ec644d"},
      {Bytes(65, 'a'), "11655326c708d70319be2610e8a57d9a5b959d3b"},
      {Bytes(119, 'a'), "ee971065aaa017e0632a8ca6c77bb3bf8b1dfc56"},
      {Bytes(120, 'a'), "f34c1488385346a55709ba056ddd08280dd4c6d6"},
      {Bytes(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Sha1Hex(c.input), c.digest) << "input of " << c.input.size() << " bytes";
    EXPECT_EQ(Sha1(c.input).size(), 20u);
  }
}

}  // namespace
