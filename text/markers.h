#pragma once
// Cutting text between two markers: the only extraction machinery there is.
#include "text/text.h"

Text TextBetween(const Text& t, const Text& startMarker, const Text& endMarker,
                 bool wholeIfMissing = false);

struct AllBetweenOptions {
  bool ignoreCase = false;
  int lengthLimit = 0;
  Text prefix;
  Text suffix;
  bool withStartMarker = false;
  bool withEndMarker = false;
};

// Refills `result` (its earlier content is gone) and returns its size.
int AllBetween(const Text& t, const Text& startMarker, const Text& endMarker, TextArray& result,
               const AllBetweenOptions& options = {});
