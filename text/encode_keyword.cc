// The keyword as the search site's query wants it: UTF-8, percent-escaped.
#include <cstring>

#include "platform/codepage.h"
#include "text/codecs.h"

namespace {

// Punctuation and line breaks that would change the meaning of a query; the
// space and other control bytes pass as they are.
bool NeedsEscape(char c) {
  static constexpr char kEscaped[] = "`~!@#$%^&*()-_=+[{]};:'\\|,<.>/?\"\r\n\t";
  return c != '\0' && std::strchr(kEscaped, c) != nullptr;
}

void AppendEscape(Text& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[byte >> 4];
  out += kHex[byte & 0x0F];
}

}  // namespace

Text EncodeKeyword(const Text& keyword) {
  Text out;
  for (size_t i = 0; i < keyword.size();) {
    auto byte = static_cast<unsigned char>(keyword[i]);
    if (byte == 0) {  // not Text; never let it into a query
      ++i;
    } else if (byte >= 0x80) {
      // The pair is converted as the code page reads it; when the lead byte
      // is a character of its own, the partner comes out escaped too.
      std::string utf8 = codepage::AnsiToUtf8(keyword.substr(i, 2));
      for (char b : utf8) {
        if (b == '\0') break;
        AppendEscape(out, static_cast<unsigned char>(b));
      }
      i += 2;
    } else {
      if (NeedsEscape(keyword[i]))
        AppendEscape(out, byte);
      else
        out += keyword[i];
      ++i;
    }
  }
  return out;
}
