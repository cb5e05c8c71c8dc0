#pragma once
// Slow, literal versions of the text rules, written straight from their
// step-by-step descriptions with no shortcut: the fuzz targets hold the real
// routines against them. Positions are 1-based as in the real ones.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "text/markers.h"
#include "text/text.h"

namespace ref {

inline bool High(char c) { return static_cast<unsigned char>(c) >= 0x80; }
inline char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }
inline char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

inline bool MatchAt(const Text& t, size_t at, const Text& s, bool ignoreCase) {
  for (size_t i = 0; i < s.size(); ++i) {
    char a = t[at + i], b = s[i];
    if (ignoreCase ? Lower(a) != Lower(b) : a != b) return false;
  }
  return true;
}

inline int Find(const Text& t, const Text& s, int start = 1, bool ignoreCase = false) {
  long long length = t.size(), pos = 0, remain = length;
  if (start > 1) {
    if (start - 1 >= length) {
      pos = length;
      remain = 0;
    } else {
      pos = start - 1;
      remain = length - (start - 1);
    }
  }
  if (s.empty()) return remain >= 1 ? 1 : -1;
  while (remain >= static_cast<long long>(s.size())) {
    if (MatchAt(t, size_t(pos), s, ignoreCase)) return int(pos + 1);
    if (High(t[pos]) && pos + 1 == length) return -1;
    int step = High(t[pos]) ? 2 : 1;
    pos += step;
    remain -= step;
  }
  return -1;
}

inline Text Left(const Text& t, int n) { return n <= 0 ? Text() : t.substr(0, size_t(n)); }
inline Text Right(const Text& t, int n) {
  if (n <= 0) return Text();
  return size_t(n) >= t.size() ? t : t.substr(t.size() - size_t(n));
}
inline Text Mid(const Text& t, int start, int n) {
  if (start < 1 || size_t(start) > t.size() || n <= 0) return Text();
  return t.substr(size_t(start) - 1, size_t(n));
}

// A lone high byte that the walk reaches last is kept (the walk stops there
// and the rest is appended unchanged).
inline Text ReplaceAll(const Text& t, const Text& s, const Text& r, int start, int maxCount,
                       bool caseSensitive) {
  long long from = start - 1 < 0 ? 0 : start - 1;
  if (t.empty() || s.empty() || from >= static_cast<long long>(t.size()) || maxCount == 0) return t;
  Text out = t.substr(0, size_t(from));
  size_t pos = size_t(from);
  int count = 0;
  while (t.size() - pos >= s.size()) {
    if (MatchAt(t, pos, s, !caseSensitive)) {
      out += r;
      pos += s.size();
      if (++count == maxCount) break;
    } else if (High(t[pos])) {
      if (pos + 1 == t.size()) break;
      out += t.substr(pos, 2);
      pos += 2;
    } else {
      out += t[pos++];
    }
  }
  return out + t.substr(pos);
}

inline TextArray Split(const Text& t, const Text& d) {
  if (t.empty()) return {};
  if (d.empty()) return {t};
  TextArray out;
  size_t pos = 0, pieceStart = 0;
  while (t.size() - pos >= d.size()) {
    if (MatchAt(t, pos, d, false)) {
      out.push_back(t.substr(pieceStart, pos - pieceStart));
      pos += d.size();
      pieceStart = pos;
    } else if (High(t[pos])) {
      if (pos + 1 == t.size()) break;
      pos += 2;
    } else {
      pos += 1;
    }
  }
  if (pieceStart < t.size()) out.push_back(t.substr(pieceStart));
  return out;
}

inline Text MapCase(const Text& t, bool upper) {
  Text out = t;
  for (size_t i = 0; i < out.size();) {
    if (High(out[i])) {
      i += 2;
    } else {
      out[i] = upper ? Upper(out[i]) : Lower(out[i]);
      ++i;
    }
  }
  return out;
}

inline Text Between(const Text& t, const Text& a, const Text& b, bool whole) {
  int begin = Find(t, a, 1, true);
  int end = Find(t, b, begin + int(a.size()), true);
  if (begin == -1 || end == -1) return whole ? t : Text();
  return Mid(t, begin + int(a.size()), end - begin - int(a.size()));
}

inline TextArray All(const Text& t, const Text& a, const Text& b, const AllBetweenOptions& o) {
  TextArray pieces = Split(t, a), out;
  if (!pieces.empty()) pieces.erase(pieces.begin());
  for (const Text& p : pieces) {
    int e = Find(p, b, 1, o.ignoreCase);
    if (e == -1) continue;
    Text cut = Left(p, e - 1);
    if (o.lengthLimit > 0 && cut.size() > size_t(o.lengthLimit)) continue;
    Text element = o.prefix + cut + o.suffix;
    if (o.withStartMarker) element = a + element;
    if (o.withEndMarker) element += b;
    out.push_back(element);
  }
  return out;
}

// Full-width forms folded by the two-byte walk, then C-style integer reading
// with 32-bit wrap-around.
inline int32_t ToInteger(const Text& t) {
  Text folded;
  for (size_t i = 0; i < t.size();) {
    auto a = static_cast<unsigned char>(t[i]);
    if (a < 0x80) {
      folded += t[i++];
      continue;
    }
    if (i + 1 == t.size()) break;
    auto b = static_cast<unsigned char>(t[i + 1]);
    if (a == 0xA3 && b >= 0xA1 && b <= 0xFE) folded += char(b - 0x80);
    else if (a == 0xA1 && b == 0xA1) folded += ' ';
    else if (a == 0xA1 && b == 0xAB) folded += '~';
    else if (a == 0xA1 && (b == 0xEE || b == 0xEF)) folded += '*';
    else folded += t.substr(i, 2);
    i += 2;
  }
  size_t i = 0;
  while (i < folded.size() && (folded[i] == ' ' || (folded[i] >= '\t' && folded[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) negative = folded[i++] == '-';
  uint32_t value = 0;
  while (i < folded.size() && folded[i] >= '0' && folded[i] <= '9')
    value = value * 10 + uint32_t(folded[i++] - '0');
  return int32_t(negative ? 0u - value : value);
}

}  // namespace ref
