#include "net/bencode.h"

#include <algorithm>

namespace {

// Real torrents nest four or five levels; the bound keeps a hostile body from
// exhausting the stack.
constexpr int kMaxDepth = 64;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits from `pos` up to `stop`; -1 unless there is at least one digit,
// no superfluous leading zero and `stop` follows them.
int64_t ParseDigits(const Bytes& b, int64_t pos, char stop, int64_t limit, int64_t* next) {
  int64_t value = 0;
  int64_t i = pos;
  int64_t size = static_cast<int64_t>(b.size());
  while (i < size && IsDigit(b[i])) {
    value = value * 10 + (b[i] - '0');
    if (value > limit) return -1;
    ++i;
  }
  if (i == pos || i >= size || b[i] != stop) return -1;
  if (b[pos] == '0' && i - pos > 1) return -1;
  *next = i + 1;
  return value;
}

int64_t ValueEnd(const Bytes& b, int64_t pos, int depth);

int64_t StringEnd(const Bytes& b, int64_t pos) {
  int64_t size = static_cast<int64_t>(b.size());
  int64_t body = 0;
  int64_t length = ParseDigits(b, pos, ':', size, &body);
  if (length < 0 || body + length > size) return -1;
  return body + length;
}

int64_t IntegerEnd(const Bytes& b, int64_t pos) {
  int64_t start = pos + 1;
  bool negative = start < static_cast<int64_t>(b.size()) && b[start] == '-';
  if (negative) ++start;
  int64_t next = 0;
  int64_t value = ParseDigits(b, start, 'e', INT64_MAX / 10 - 9, &next);
  if (value < 0 || (negative && value == 0)) return -1;
  return next;
}

int64_t ContainerEnd(const Bytes& b, int64_t pos, int depth, bool dictionary) {
  if (depth >= kMaxDepth) return -1;
  int64_t size = static_cast<int64_t>(b.size());
  int64_t i = pos + 1;
  while (i < size && b[i] != 'e') {
    if (dictionary) {
      i = StringEnd(b, i);
      if (i < 0) return -1;
    }
    i = ValueEnd(b, i, depth + 1);
    if (i < 0) return -1;
  }
  return i < size ? i + 1 : -1;
}

int64_t ValueEnd(const Bytes& b, int64_t pos, int depth) {
  if (pos < 0 || pos >= static_cast<int64_t>(b.size())) return -1;
  char c = b[pos];
  if (c == 'i') return IntegerEnd(b, pos);
  if (c == 'l') return ContainerEnd(b, pos, depth, false);
  if (c == 'd') return ContainerEnd(b, pos, depth, true);
  if (IsDigit(c)) return StringEnd(b, pos);
  return -1;
}

}  // namespace

Bytes BencodeInteger(int64_t n) { return "i" + std::to_string(n) + "e"; }

Bytes BencodeString(const Bytes& s) { return std::to_string(s.size()) + ":" + s; }

Bytes BencodeList(const std::vector<Bytes>& items) {
  Bytes out = "l";
  for (const Bytes& item : items) out += item;
  return out + "e";
}

Bytes BencodeDictionary(BencodeEntries entries) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  Bytes out = "d";
  for (const auto& [key, value] : entries) out += BencodeString(key) + value;
  return out + "e";
}

int64_t BencodeValueEnd(const Bytes& b, int64_t start) { return ValueEnd(b, start, 0); }

bool BencodeLookUp(const Bytes& b, int64_t start, const Bytes& key, int64_t* valueStart,
                   int64_t* valueEnd) {
  int64_t size = static_cast<int64_t>(b.size());
  if (start < 0 || start >= size || b[start] != 'd') return false;
  bool found = false;
  int64_t i = start + 1;
  while (i < size && b[i] != 'e') {
    int64_t keyStart = i;
    i = StringEnd(b, i);
    if (i < 0) return false;
    int64_t valueAt = i;
    i = ValueEnd(b, valueAt, 1);
    if (i < 0) return false;
    if (BencodeString(key).compare(0, Bytes::npos, b, keyStart, valueAt - keyStart) == 0) {
      if (found) return false;
      found = true;
      *valueStart = valueAt;
      *valueEnd = i;
    }
  }
  return found && i < size;
}
