#include "platform/codepage.h"

#include <cerrno>
#include <iconv.h>
#include <memory>
#include <type_traits>

namespace codepage {
namespace {

constexpr const char* kAnsi = "CP936";
constexpr char16_t kReplacement = u'\uFFFD';

struct IconvCloser {
  void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvOwner = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

// Opening a converter loads a gconv module; one per direction per thread.
iconv_t Converter(const char* to, const char* from, IconvOwner& slot) {
  if (!slot) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    slot.reset(cd);
  }
  iconv(slot.get(), nullptr, nullptr, nullptr, nullptr);
  return slot.get();
}

bool IsGbkLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsGbkTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// How many input bytes one undecodable sequence covers.
size_t AnsiBadLength(const char* p, size_t left) {
  auto lead = static_cast<unsigned char>(p[0]);
  if (left >= 2 && IsGbkLead(lead) && IsGbkTrail(static_cast<unsigned char>(p[1]))) return 2;
  return 1;
}

size_t Utf8BadLength(const char* p, size_t left) {
  auto lead = static_cast<unsigned char>(p[0]);
  size_t want = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
  size_t n = 1;
  while (n < want && n < left && (static_cast<unsigned char>(p[n]) & 0xC0) == 0x80) ++n;
  return n;
}

size_t Utf16BadLength(const char* p, size_t left) {
  if (left < 4) return left < 2 ? left : 2;
  char16_t hi = static_cast<char16_t>(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8);
  char16_t lo = static_cast<char16_t>(static_cast<unsigned char>(p[2]) | static_cast<unsigned char>(p[3]) << 8);
  bool pair = hi >= 0xD800 && hi <= 0xDBFF && lo >= 0xDC00 && lo <= 0xDFFF;
  return pair ? 4 : 2;
}

// Runs the whole input through `cd`; every sequence it rejects is replaced by
// `replacement` (already in the output encoding) and skipped.
template <typename BadLength>
std::string Convert(iconv_t cd, const char* in, size_t inLeft, const std::string& replacement,
                    BadLength badLength) {
  std::string out;
  if (!cd) return out;
  char buffer[4096];
  while (inLeft > 0) {
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    size_t rc = iconv(cd, const_cast<char**>(&in), &inLeft, &dst, &dstLeft);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    if (rc != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    size_t skip = errno == EINVAL ? inLeft : badLength(in, inLeft);
    out += replacement;
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

std::u16string ToU16(const std::string& bytes) {
  std::u16string wide(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < wide.size(); ++i)
    wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return wide;
}

std::string FromU16(const std::u16string& wide) {
  std::string bytes(wide.size() * 2, '\0');
  for (size_t i = 0; i < wide.size(); ++i) {
    bytes[2 * i] = static_cast<char>(wide[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(wide[i] >> 8);
  }
  return bytes;
}

const std::string kReplacementLE = FromU16(std::u16string(1, kReplacement));

}  // namespace

std::u16string AnsiToUtf16(const std::string& ansi) {
  thread_local IconvOwner slot;
  iconv_t cd = Converter("UTF-16LE", kAnsi, slot);
  return ToU16(Convert(cd, ansi.data(), ansi.size(), kReplacementLE, AnsiBadLength));
}

std::u16string Utf8ToUtf16(const std::string& utf8) {
  thread_local IconvOwner slot;
  iconv_t cd = Converter("UTF-16LE", "UTF-8", slot);
  return ToU16(Convert(cd, utf8.data(), utf8.size(), kReplacementLE, Utf8BadLength));
}

std::string Utf16ToAnsi(const std::u16string& wide) {
  thread_local IconvOwner slot;
  iconv_t cd = Converter(kAnsi, "UTF-16LE", slot);
  std::string bytes = FromU16(wide);
  return Convert(cd, bytes.data(), bytes.size(), "?", Utf16BadLength);
}

std::string Utf16ToUtf8(const std::u16string& wide) {
  thread_local IconvOwner slot;
  iconv_t cd = Converter("UTF-8", "UTF-16LE", slot);
  std::string bytes = FromU16(wide);
  return Convert(cd, bytes.data(), bytes.size(), "\xEF\xBF\xBD", Utf16BadLength);
}

}  // namespace codepage
