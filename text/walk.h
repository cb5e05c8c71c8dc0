#pragma once
// The one walk behind FindText, ReplaceAll, SplitText and the marker cuts:
// where the next match begins at a character boundary under the two-byte
// character rule.
#include <cstddef>
#include <string_view>

namespace textwalk {

inline constexpr size_t kNone = static_cast<size_t>(-1);

inline bool IsHigh(char c) { return static_cast<unsigned char>(c) >= 0x80; }
inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; }
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c & ~0x20) : c; }

// Offset of the first match of `sought` (not empty) at or after `from`, or
// kNone. `from` must be where a character begins. With ignoreCase only the
// ASCII letters fold.
size_t NextMatch(std::string_view t, size_t from, std::string_view sought, bool ignoreCase);

}  // namespace textwalk
