#pragma once
// The program's command line.
#include <vector>

#include "text/text.h"

struct CommandLine {
  Text searchSite;      // empty: the built-in site
  Text torrentService;  // empty: the built-in service
};

// Reads the arguments after the program name. False, with `error` saying
// which argument is wrong, for an unknown option or a missing value.
bool ParseCommandLine(const std::vector<Text>& args, CommandLine& line, Text& error);
// Puts the addresses in force; false, with `error`, for an address that is
// not a plain http address.
bool ApplyCommandLine(const CommandLine& line, Text& error);
Text UsageText(const Text& program);
