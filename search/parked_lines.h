#pragma once
// The line formats of the scratch boxes. Title and hash lines are "qq" +
// value + CR LF, size lines the size cell + CR LF. A CR or LF inside a value
// is written as a space, so every line ends exactly where its entry ends and
// reading back yields one entry per line, in order: a "qq" inside a value
// survives, and an empty size cell reads back as an empty size in its place.
#include "text/text.h"

Text TitleLine(const Text& value);  // also used for hashes
Text SizeLine(const Text& sizeCell);

// The parts of `boxText` that end in CR LF, one element per line.
TextArray ParkedLines(const Text& boxText);
// What follows the line's leading "qq", or the whole line when it has none.
Text TitleLineValue(const Text& line);
// What follows the line's first "<td>", or empty Text when it has none.
Text SizeLineValue(const Text& line);
