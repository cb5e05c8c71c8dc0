#pragma once
// "zendrel search KEYWORD [--download N]": the window's own search, run
// without showing the window, its outcome printed for a terminal or a pipe.
#include "text/text.h"

// Rows go to stdout, one line each, the four cells in UTF-8 separated by
// tabs; the search status (and the download status) to stderr. Needs the
// application object and the site addresses in force. Returns the exit
// status: 0 success, 1 when the search or the download failed.
int RunSearchCommand(const Text& keywordUtf8, int downloadRow);

// One row's cells (system code page) as one line of UTF-8 text with its line
// break. Tabs and line breaks inside a cell become spaces, so that every row
// stays one line of four fields.
Text RowLine(const TextArray& cells);
