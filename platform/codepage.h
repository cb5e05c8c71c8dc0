#pragma once
// Conversions between the system code page (CP936), UTF-16 and UTF-8.
// Invalid input never fails: an undefined or cut-off sequence becomes U+FFFD
// going to UTF-16, and a character the code page cannot hold becomes "?"
// going back.
#include <string>

namespace codepage {

std::u16string AnsiToUtf16(const std::string& ansi);
std::string Utf16ToAnsi(const std::u16string& wide);
std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& wide);

inline std::string AnsiToUtf8(const std::string& ansi) { return Utf16ToUtf8(AnsiToUtf16(ansi)); }
inline std::string Utf8ToAnsi(const std::string& utf8) { return Utf16ToAnsi(Utf8ToUtf16(utf8)); }

}  // namespace codepage

namespace codepage {
// A UTF-8 literal of the source as system-code-page Text.
inline std::string Ansi(const std::string& utf8) { return Utf8ToAnsi(utf8); }
}  // namespace codepage
