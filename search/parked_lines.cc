#include "search/parked_lines.h"

#include <algorithm>
#include <string_view>

namespace {

const Text kLineEnd = "\r\n";
const Text kTitlePrefix = "qq";
const Text kSizePrefix = "<td>";

// A value with a line break in it would split its line in two.
Text OneLine(Text value) {
  std::replace(value.begin(), value.end(), '\r', ' ');
  std::replace(value.begin(), value.end(), '\n', ' ');
  return value;
}

}  // namespace

Text TitleLine(const Text& value) { return kTitlePrefix + OneLine(value) + kLineEnd; }
Text SizeLine(const Text& sizeCell) { return OneLine(sizeCell) + kLineEnd; }

// Lines are cut at the CR LF bytes themselves, not by the two-byte walk: a
// value that ends in a byte of 0x80 or above would otherwise swallow its CR.
TextArray ParkedLines(const Text& boxText) {
  TextArray lines;
  std::string_view rest = boxText;
  for (size_t end = rest.find(kLineEnd); end != std::string_view::npos; end = rest.find(kLineEnd)) {
    lines.emplace_back(rest.substr(0, end));
    rest.remove_prefix(end + kLineEnd.size());
  }
  return lines;
}

Text TitleLineValue(const Text& line) {
  return line.compare(0, kTitlePrefix.size(), kTitlePrefix) == 0 ? line.substr(kTitlePrefix.size())
                                                                 : line;
}

Text SizeLineValue(const Text& line) {
  size_t at = line.find(kSizePrefix);
  return at == Text::npos ? Text() : line.substr(at + kSizePrefix.size());
}
