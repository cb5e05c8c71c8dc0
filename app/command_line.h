#pragma once
// The program's command line.
#include <vector>

#include "text/text.h"

struct CommandLine {
  Text searchSite;      // empty: the built-in site
  Text torrentService;  // empty: the built-in service
  bool demo = false;    // both addresses point at a demo index of our own
  bool help = false;
  bool version = false;
  bool search = false;  // "search KEYWORD": no window on screen, rows to stdout
  Text keyword;         // UTF-8, as typed on the command line
  int downloadRow = 0;  // 1-based row to save after the search; 0: none
};

// Reads the arguments after the program name. False, with `error` saying
// which argument is wrong, for an unknown option, a missing value, or a
// missing KEYWORD.
bool ParseCommandLine(const std::vector<Text>& args, CommandLine& line, Text& error);
// Puts the addresses in force; false, with `error`, for an address that is
// not a plain http address.
bool ApplyCommandLine(const CommandLine& line, Text& error);
Text UsageText(const Text& program);
