// ASCII-only case mapping and comparison; the user's locale never enters.
#include <algorithm>

#include "text/text.h"
#include "text/walk.h"

namespace {

template <typename Map>
Text MapOneByteCharacters(const Text& t, Map map) {
  Text out = t;
  for (size_t i = 0; i < out.size(); ++i) {
    if (textwalk::IsHigh(out[i]))
      ++i;  // the partner byte is never a letter of its own
    else
      out[i] = map(out[i]);
  }
  return out;
}

// Upper-case pairs of the code page's double-byte letters: full-width Latin,
// Greek and Cyrillic. Other two-byte characters have no case here.
void FoldPair(unsigned char lead, unsigned char& trail) {
  if (lead == 0xA3 && trail >= 0xE1 && trail <= 0xFA) trail -= 0x20;
  if (lead == 0xA6 && trail >= 0xC1 && trail <= 0xD8) trail -= 0x20;
  if (lead == 0xA7 && trail >= 0xD1 && trail <= 0xF1) trail -= 0x30;
}

Text FoldForCompare(const Text& t) {
  Text out = t;
  for (size_t i = 0; i < out.size(); ++i) {
    if (!textwalk::IsHigh(out[i])) {
      out[i] = textwalk::AsciiUpper(out[i]);
    } else if (i + 1 < out.size()) {
      auto trail = static_cast<unsigned char>(out[i + 1]);
      FoldPair(static_cast<unsigned char>(out[i]), trail);
      out[i + 1] = static_cast<char>(trail);
      ++i;
    }
  }
  return out;
}

}  // namespace

Text UpperText(const Text& t) { return MapOneByteCharacters(t, textwalk::AsciiUpper); }

Text LowerText(const Text& t) { return MapOneByteCharacters(t, textwalk::AsciiLower); }

int CompareText(const Text& a, const Text& b, bool caseSensitive) {
  int order = caseSensitive ? a.compare(b) : FoldForCompare(a).compare(FoldForCompare(b));
  return std::clamp(order, -1, 1);
}
