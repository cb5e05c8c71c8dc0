// Keyword encoding and title decoding: the escapes against a literal reading
// of their rules, and the round trip of a keyword through the query.
#include <cstdint>

#include "fuzz/reference.h"
#include "fuzz/support/fuzz_input.h"
#include "platform/codepage.h"
#include "text/codecs.h"

using fuzzinput::Check;
using fuzzinput::TakeText;

namespace {

const Text kDigits = "0123456789ABCDEF";

// One hex place as the rules read it: past the end 0, a non-digit -2.
int DigitAt(const Text& name, int position) {
  return ref::Find(kDigits, ref::MapCase(ref::Mid(name, position, 1), true)) - 1;
}

Bytes ReferenceDecode(const Text& name) {
  Bytes out;
  for (int i = 1; i <= int(name.size());) {
    if (ref::Mid(name, i, 1) == "%") {
      out += CharFromCode(DigitAt(name, i + 1) * 16 + DigitAt(name, i + 2));
      i += 3;
    } else {
      out += ref::Mid(name, i, 1);
      ++i;
    }
  }
  return out;
}

bool IsEscaped(unsigned char c) {
  return c == '\t' || c == '\r' || c == '\n' || Text("`~!@#$%^&*()-_=+[{]};:'\\|,<.>/?\"").find(char(c)) != Text::npos;
}

void CheckEncode(const Text& keyword) {
  Text query = EncodeKeyword(keyword);
  for (size_t i = 0; i < query.size(); ++i) {
    auto c = static_cast<unsigned char>(query[i]);
    Check(c > 0 && c < 0x80, "EncodeKeyword gives only ASCII");
    if (c == '%') {
      Check(i + 2 < query.size() && kDigits.find(query[i + 1]) != Text::npos &&
                kDigits.find(query[i + 2]) != Text::npos,
            "EncodeKeyword escapes are %XX");
      i += 2;
    } else {
      Check(!IsEscaped(c), "EncodeKeyword leaves no query punctuation bare");
    }
  }
  // A keyword made only of whole characters comes back from the query as its
  // UTF-8. (The byte 80 is a character of its own in the code page, which
  // moves every later pair; such keywords are only checked above.)
  if (keyword.find('\x80') != Text::npos) return;
  for (size_t i = 0; i < keyword.size(); ++i)
    if (ref::High(keyword[i]) && i + 1 == keyword.size()) return;
  if (codepage::Utf8ToAnsi(codepage::AnsiToUtf8(keyword)) != keyword) return;
  Check(PercentDecode(query) == codepage::AnsiToUtf8(keyword), "keyword round trip");
}

void CheckDecode(const Text& name) {
  Bytes decoded = PercentDecode(name);
  Check(decoded == ReferenceDecode(name), "PercentDecode");
  Check(decoded.find('\0') == Bytes::npos, "PercentDecode holds no zero byte");
  Text shown = DecodeName(name);
  Check(shown.find('\0') == Text::npos, "DecodeName holds no zero byte");
  Check(shown == codepage::Utf8ToAnsi(decoded), "DecodeName");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  bool asUtf8 = in.ConsumeBool();
  Text text = TakeText(in);
  CheckDecode(text);
  CheckEncode(text);
  // Also as a keyword typed in the code page from UTF-8 characters.
  if (asUtf8) CheckEncode(codepage::Utf8ToAnsi(text));
  return 0;
}
