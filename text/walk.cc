#include "text/walk.h"

#include <cstdint>
#include <cstring>

namespace textwalk {
namespace {

bool IsLetter(char c) { return AsciiLower(c) >= 'a' && AsciiLower(c) <= 'z'; }

bool FoldedEqual(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// Markup punctuation is everywhere in a page; a byte that is rare there
// makes the better place to jump to with memchr.
int Commonness(char c) {
  switch (c) {
    case ' ': case '<': case '>': case '"': case '/': case '=': case '\n': case '\r': case '\t':
      return 3;
    case '.': case '-': case '_': case ':': case '\'': case ';': case '&': case '#':
      return 2;
    default:
      return IsHigh(c) || (c >= '0' && c <= '9') ? 1 : 0;
  }
}

// The non-letter byte of `sought` to jump to, or kNone when all are letters.
size_t FoldAnchor(std::string_view sought) {
  size_t best = kNone;
  for (size_t i = 0; i < sought.size(); ++i) {
    if (IsLetter(sought[i])) continue;
    if (best == kNone || Commonness(sought[i]) < Commonness(sought[best])) best = i;
  }
  return best;
}

// Next byte-level occurrence, character boundaries aside.
size_t NextCandidate(std::string_view t, size_t from, std::string_view sought, bool ignoreCase,
                     size_t anchor) {
  const size_t m = sought.size();
  if (from > t.size() || t.size() - from < m) return kNone;
  const char* base = t.data();
  if (!ignoreCase) {
    const void* hit = memmem(base + from, t.size() - from, sought.data(), m);
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - base) : kNone;
  }
  const size_t last = t.size() - m;
  const char first = AsciiLower(sought[0]);
  for (size_t c = from; c <= last; ++c) {
    if (anchor != kNone) {
      const void* hit = memchr(base + c + anchor, sought[anchor], last - c + 1);
      if (!hit) return kNone;
      c = static_cast<size_t>(static_cast<const char*>(hit) - base) - anchor;
    } else {
      while (c <= last && AsciiLower(base[c]) != first) ++c;
      if (c > last) return kNone;
    }
    if (FoldedEqual(base + c, sought.data(), m)) return c;
  }
  return kNone;
}

// How many bytes of 0x80 or above stand right in front of `at`, looking no
// further back than `from`. CJK text is one long such run, so count eight at once.
size_t HighRunBefore(const char* base, size_t from, size_t at) {
  constexpr uint64_t kHighBits = 0x8080808080808080ull;
  size_t run = 0;
  while (at - run >= from + 8) {
    uint64_t word;
    std::memcpy(&word, base + at - run - 8, 8);
    if ((word & kHighBits) != kHighBits) break;
    run += 8;
  }
  while (at - run > from && IsHigh(base[at - run - 1])) ++run;
  return run;
}

}  // namespace

// Every byte in front of an ASCII byte ends a character, so whether a
// candidate begins a character depends only on the run of high bytes right
// in front of it (stopping at `from`, which begins one): an even run pairs up.
// The walk therefore never looks at a byte twice, which keeps it linear.
size_t NextMatch(std::string_view t, size_t from, std::string_view sought, bool ignoreCase) {
  const size_t anchor = ignoreCase ? FoldAnchor(sought) : kNone;
  for (;;) {
    size_t c = NextCandidate(t, from, sought, ignoreCase, anchor);
    if (c == kNone) return kNone;
    if (HighRunBefore(t.data(), from, c) % 2 == 0) return c;
    from = c + 1;  // c is the second byte of a pair
  }
}

}  // namespace textwalk
