// Decimal conversions, always with "C" conventions: the program runs under
// the user's locale, which must not move the decimal point.
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale.h>

#include "text/text.h"
#include "text/walk.h"

namespace {

// Full-width ASCII forms (and the ideographic space, tilde and the two
// asterisks) become their one-byte counterparts; a lone final high byte goes.
Text FoldFullWidth(const Text& t) {
  Text out;
  out.reserve(t.size());
  for (size_t i = 0; i < t.size(); ++i) {
    if (!textwalk::IsHigh(t[i])) {
      out += t[i];
      continue;
    }
    if (i + 1 == t.size()) break;
    auto lead = static_cast<unsigned char>(t[i]);
    auto trail = static_cast<unsigned char>(t[i + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
      out += static_cast<char>(trail - 0x80);
    else if (lead == 0xA1 && trail == 0xA1)
      out += ' ';
    else if (lead == 0xA1 && trail == 0xAB)
      out += '~';
    else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF))
      out += '*';
    else
      out.append(t, i, 2);
    ++i;
  }
  return out;
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipSpace(const Text& s, size_t i) {
  while (i < s.size() && IsSpace(s[i])) ++i;
  return i;
}

size_t SkipDigits(const Text& s, size_t i) {
  while (i < s.size() && IsDigit(s[i])) ++i;
  return i;
}

// Length of the longest prefix of s[i..] that is [digits][.digits][e[sign]digits]
// with at least one digit in the mantissa; 0 when there is none.
size_t DecimalLength(const Text& s, size_t i) {
  size_t j = SkipDigits(s, i);
  size_t digits = j - i;
  if (j < s.size() && s[j] == '.') {
    size_t k = SkipDigits(s, j + 1);
    digits += k - j - 1;
    if (k > j + 1 || digits > 0) j = k;
  }
  if (digits == 0) return 0;
  if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
    size_t k = j + 1;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
    if (k < s.size() && IsDigit(s[k])) j = SkipDigits(s, k);
  }
  return j - i;
}

locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
  return c;
}

}  // namespace

int32_t TextToInteger(const Text& t) {
  Text s = FoldFullWidth(t);
  size_t i = SkipSpace(s, 0);
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  uint32_t value = 0;  // unsigned, so that overflow wraps without undefined behaviour
  for (; i < s.size() && IsDigit(s[i]); ++i) value = value * 10 + static_cast<uint32_t>(s[i] - '0');
  return static_cast<int32_t>(negative ? 0u - value : value);
}

double TextToNumber(const Text& t) {
  Text s = FoldFullWidth(t);
  size_t i = SkipSpace(s, 0);
  size_t signAt = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t n = DecimalLength(s, i);
  if (n == 0) return 0.0;
  // Only the grammar checked above reaches strtod: no hex, inf or nan.
  Text number = s.substr(signAt, i + n - signAt);
  return CLocale() ? strtod_l(number.c_str(), nullptr, CLocale()) : strtod(number.c_str(), nullptr);
}

Text IntegerToText(int32_t i) {
  char buffer[16];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, i).ptr;
  return Text(buffer, end);
}

// to_chars with a precision is "%.13g" in the "C" locale.
Text NumberToText(double x) {
  char buffer[64];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 13).ptr;
  return Text(buffer, end);
}
