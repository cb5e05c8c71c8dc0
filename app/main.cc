#include <cstdio>

#include "app/command_line.h"
#include "app/main_window.h"

int main(int argc, char** argv) {
  std::vector<Text> args(argv + 1, argv + argc);
  CommandLine line;
  Text error;
  if (!ParseCommandLine(args, line, error) || !ApplyCommandLine(line, error)) {
    std::fprintf(stderr, "zendrel: %s\n%s", error.c_str(), UsageText(argv[0]).c_str());
    return 2;
  }
  ui::InitApplication(argc, argv);
  StartUp();
  return ui::RunMessageLoop();
}
