// The text operations and both marker extractions against their literal
// step-by-step versions, on random text, markers, positions and options.
#include <cstdint>

#include "fuzz/reference.h"
#include "fuzz/support/fuzz_input.h"
#include "text/markers.h"
#include "text/text.h"

using fuzzinput::Check;
using fuzzinput::TakeText;

namespace {

void CheckCuts(const Text& t, int a, int b) {
  Check(TextLeft(t, a) == ref::Left(t, a), "TextLeft");
  Check(TextRight(t, a) == ref::Right(t, a), "TextRight");
  Check(TextMid(t, a, b) == ref::Mid(t, a, b), "TextMid");
  int code = CharCodeAt(t, a);
  Check(code == (a >= 1 && size_t(a) <= t.size() ? int(int8_t(t[a - 1])) : 0), "CharCodeAt");
}

void CheckWalks(const Text& t, const Text& s, const Text& r, int start, int maxCount, bool flag) {
  int found = FindText(t, s, start, flag);
  Check(found == ref::Find(t, s, start, flag), "FindText");
  if (found > 0 && !s.empty()) Check(ref::MatchAt(t, size_t(found - 1), s, flag), "FindText match");
  Check(ReplaceAll(t, s, r, start, maxCount, flag) == ref::ReplaceAll(t, s, r, start, maxCount, flag),
        "ReplaceAll");
  Check(SplitText(t, s) == ref::Split(t, s), "SplitText");
  Check(UpperText(t) == ref::MapCase(t, true), "UpperText");
  Check(LowerText(t) == ref::MapCase(t, false), "LowerText");
  Check(TextToInteger(t) == ref::ToInteger(t), "TextToInteger");
}

void CheckMarkers(const Text& t, const Text& a, const Text& b, bool whole,
                  const AllBetweenOptions& o) {
  Check(TextBetween(t, a, b, whole) == ref::Between(t, a, b, whole), "TextBetween");
  TextArray result = {"left over from before"};
  int n = AllBetween(t, a, b, result, o);
  Check(result == ref::All(t, a, b, o), "AllBetween");
  Check(n == int(result.size()), "AllBetween count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  int start = in.ConsumeIntegralInRange<int>(-3, 80);
  int length = in.ConsumeIntegralInRange<int>(-3, 80);
  int maxCount = in.ConsumeIntegralInRange<int>(-1, 4);
  bool flag = in.ConsumeBool();
  bool whole = in.ConsumeBool();
  AllBetweenOptions options;
  options.ignoreCase = in.ConsumeBool();
  options.lengthLimit = in.ConsumeIntegralInRange<int>(0, 8);
  options.withStartMarker = in.ConsumeBool();
  options.withEndMarker = in.ConsumeBool();
  if (in.ConsumeBool()) options.prefix = TakeText(in, 4);
  if (in.ConsumeBool()) options.suffix = TakeText(in, 4);
  Text a = TakeText(in, 12);
  Text b = TakeText(in, 12);
  Text t = TakeText(in);

  CheckCuts(t, start, length);
  CheckWalks(t, a, b, start, maxCount, flag);
  CheckMarkers(t, a, b, whole, options);
  return 0;
}
