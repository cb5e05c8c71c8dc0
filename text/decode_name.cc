// A title as cut from a page (UTF-8, maybe with %XX escapes) made into
// system-code-page Text.
#include "platform/codepage.h"
#include "text/codecs.h"

namespace {

// A digit place past the end counts 0 and a non-digit -2: odd escapes still
// give a byte, as the pages have always been read.
int DigitValue(const Text& name, size_t at) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  if (at >= name.size()) return 0;
  char c = name[at];
  if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  for (int v = 0; v < 16; ++v)
    if (kHex[v] == c) return v;
  return -2;
}

}  // namespace

Bytes PercentDecode(const Text& name) {
  Bytes out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    if (name[i] == '%') {
      Text byte = CharFromCode(DigitValue(name, i + 1) * 16 + DigitValue(name, i + 2));
      out += byte;
      i += 3;  // always three bytes, even when they were no hex digits
    } else {
      if (name[i] != '\0') out += name[i];
      ++i;
    }
  }
  return out;
}

Text DecodeName(const Text& name) {
  std::u16string wide = codepage::Utf8ToUtf16(PercentDecode(name));
  wide.resize(wide.find(u'\0') == std::u16string::npos ? wide.size() : wide.find(u'\0'));
  return codepage::Utf16ToAnsi(wide);
}
