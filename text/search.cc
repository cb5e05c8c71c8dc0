// Searching, replacing and splitting by the two-byte character rule.
#include <climits>
#include <string_view>

#include "text/text.h"
#include "text/walk.h"

using textwalk::kNone;
using textwalk::NextMatch;

int FindText(const Text& t, const Text& sought, int start, bool ignoreCase) {
  size_t from = start > 1 ? static_cast<size_t>(start) - 1 : 0;
  bool bytesRemain = from < t.size();
  if (sought.empty()) return bytesRemain ? 1 : -1;
  if (!bytesRemain) return -1;
  size_t at = NextMatch(t, from, sought, ignoreCase);
  return at == kNone || at >= INT_MAX ? -1 : static_cast<int>(at) + 1;
}

// A lone high byte at the very end is kept: the walk cannot pair it, but
// dropping it would lose a byte of the caller's text.
Text ReplaceAll(const Text& t, const Text& sought, const Text& replacement, int start, int maxCount,
                bool caseSensitive) {
  size_t from = start > 1 ? static_cast<size_t>(start) - 1 : 0;
  if (t.empty() || sought.empty() || from >= t.size() || maxCount == 0) return t;
  std::string_view whole(t);
  Text out;
  out.reserve(t.size());
  out.append(whole.substr(0, from));
  for (int count = 0; maxCount < 0 || count < maxCount; ++count) {
    size_t at = NextMatch(whole, from, sought, !caseSensitive);
    if (at == kNone) break;
    out.append(whole.substr(from, at - from));
    out.append(replacement);
    from = at + sought.size();
  }
  out.append(whole.substr(from));
  return out;
}

TextArray SplitText(const Text& t, const Text& delimiter) {
  TextArray pieces;
  if (t.empty()) return pieces;
  if (delimiter.empty()) return {t};
  std::string_view whole(t);
  size_t from = 0;
  for (;;) {
    size_t at = NextMatch(whole, from, delimiter, false);
    if (at == kNone) break;
    pieces.emplace_back(whole.substr(from, at - from));
    from = at + delimiter.size();
  }
  if (from < whole.size()) pieces.emplace_back(whole.substr(from));
  return pieces;
}
