#pragma once
// Turning fuzz bytes into the values the routines take.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "text/text.h"

namespace fuzzinput {

// Text never holds a zero byte.
inline Text TakeText(FuzzedDataProvider& in, size_t most = 4096) {
  Text t = in.ConsumeRandomLengthString(most);
  t.erase(std::remove(t.begin(), t.end(), '\0'), t.end());
  return t;
}

// A finding: say what differed and stop, so libFuzzer keeps the input.
[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

inline void Check(bool holds, const char* what) {
  if (!holds) Fail(what);
}

}  // namespace fuzzinput
