// Lengths, cuts and single bytes of Text, and Text arrays.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "text/text.h"

namespace {

// Positions are ints; a Text longer than INT_MAX reports INT_MAX rather than wrapping negative.
int Size(const std::string& s) { return s.size() > INT_MAX ? INT_MAX : static_cast<int>(s.size()); }

}  // namespace

int TextLength(const Text& t) { return Size(t); }

Text TextLeft(const Text& t, int n) {
  if (n <= 0) return Text();
  return t.substr(0, static_cast<size_t>(n));
}

Text TextRight(const Text& t, int n) {
  if (n <= 0) return Text();
  size_t k = std::min(t.size(), static_cast<size_t>(n));
  return t.substr(t.size() - k);
}

Text TextMid(const Text& t, int start, int n) {
  if (start < 1 || static_cast<size_t>(start) > t.size() || n <= 0) return Text();
  return t.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(n));
}

int CharCodeAt(const Text& t, int pos) {
  if (pos < 1 || static_cast<size_t>(pos) > t.size()) return 0;
  return static_cast<signed char>(t[static_cast<size_t>(pos) - 1]);
}

Text CharFromCode(int code) {
  char byte = static_cast<char>(static_cast<unsigned>(code) & 0xFF);
  return byte == 0 ? Text() : Text(1, byte);
}

Text ReplaceAt(const Text& t, int start, int n, const Text& replacement) {
  int64_t c = std::clamp<int64_t>(int64_t{start} - 1, 0, static_cast<int64_t>(t.size()));
  int64_t removed = std::min<int64_t>(n, static_cast<int64_t>(t.size()) - c);
  Text out = t;
  if (removed > 0) out.erase(static_cast<size_t>(c), static_cast<size_t>(removed));
  out.insert(static_cast<size_t>(c), replacement);
  return out;
}

Text BlankText(int n) { return n <= 0 ? Text() : Text(static_cast<size_t>(n), ' '); }

Bytes TextToBytes(const Text& t) { return t; }

Text BytesToText(const Bytes& b) { return b.substr(0, b.find('\0')); }

int BytesLength(const Bytes& b) { return Size(b); }

Bytes BytesLeft(const Bytes& b, int n) { return b.substr(0, static_cast<size_t>(std::max(n, 0))); }

Bytes BytesRight(const Bytes& b, int n) {
  size_t k = std::min(b.size(), static_cast<size_t>(std::max(n, 0)));
  return b.substr(b.size() - k);
}

int FindBytes(const Bytes& b, const Bytes& sought) {
  if (sought.empty()) return -1;
  size_t at = b.find(sought);
  return at == Bytes::npos || at >= INT_MAX ? -1 : static_cast<int>(at) + 1;
}

Bytes BlankBytes(int n) { return n <= 0 ? Bytes() : Bytes(static_cast<size_t>(n), '\0'); }

int32_t ReadInteger(const Bytes& b) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4 && i < b.size(); ++i) v |= uint32_t{static_cast<unsigned char>(b[i])} << (8 * i);
  return static_cast<int32_t>(v);
}

int ArraySize(const TextArray& a) { return a.size() > INT_MAX ? INT_MAX : static_cast<int>(a.size()); }

Text ArrayItem(const TextArray& a, int i) {
  if (i < 1 || static_cast<size_t>(i) > a.size()) return Text();
  return a[static_cast<size_t>(i) - 1];
}
