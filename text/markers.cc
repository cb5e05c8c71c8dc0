// Cutting between markers. Works on views of the caller's text so that a
// whole page is never copied piece by piece.
#include <string_view>

#include "text/markers.h"
#include "text/walk.h"

using textwalk::kNone;
using textwalk::NextMatch;

Text TextBetween(const Text& t, const Text& startMarker, const Text& endMarker, bool wholeIfMissing) {
  int b = FindText(t, startMarker, 1, true);
  if (b == -1) return wholeIfMissing ? t : Text();
  int e = FindText(t, endMarker, b + TextLength(startMarker), true);
  if (e == -1) return wholeIfMissing ? t : Text();
  return TextMid(t, b + TextLength(startMarker), e - b - TextLength(startMarker));
}

namespace {

// FindText on a piece: an empty end marker is found at once in any
// non-empty piece and nowhere in an empty one.
size_t EndInPiece(std::string_view piece, std::string_view endMarker, bool ignoreCase) {
  if (piece.empty()) return kNone;
  if (endMarker.empty()) return 0;
  return NextMatch(piece, 0, endMarker, ignoreCase);
}

void AppendElement(std::string_view cut, const Text& startMarker, const Text& endMarker,
                   const AllBetweenOptions& o, TextArray& result) {
  if (o.lengthLimit > 0 && cut.size() > static_cast<size_t>(o.lengthLimit)) return;
  Text element;
  if (o.withStartMarker) element += startMarker;
  element += o.prefix;
  element += cut;
  element += o.suffix;
  if (o.withEndMarker) element += endMarker;
  result.push_back(std::move(element));
}

}  // namespace

// A piece runs from behind one start marker to the next one (or the end);
// the text in front of the first start marker is no piece, nor is an empty tail.
int AllBetween(const Text& t, const Text& startMarker, const Text& endMarker, TextArray& result,
               const AllBetweenOptions& options) {
  result.clear();
  if (t.empty() || startMarker.empty()) return 0;
  std::string_view whole(t);
  size_t at = NextMatch(whole, 0, startMarker, false);
  while (at != kNone) {
    size_t from = at + startMarker.size();
    at = NextMatch(whole, from, startMarker, false);
    if (at == kNone && from == whole.size()) break;
    std::string_view piece = whole.substr(from, at == kNone ? kNone : at - from);
    size_t end = EndInPiece(piece, endMarker, options.ignoreCase);
    if (end != kNone) AppendElement(piece.substr(0, end), startMarker, endMarker, options, result);
  }
  return ArraySize(result);
}
