#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/search_command.h"
#include "demo/demo_site.h"
#include "net/sites.h"

int main(int argc, char** argv) {
  std::vector<Text> args(argv + 1, argv + argc);
  CommandLine line;
  Text error;
  if (!ParseCommandLine(args, line, error) || !ApplyCommandLine(line, error)) {
    std::fprintf(stderr, "zendrel: %s\n\n%s", error.c_str(), UsageText("zendrel").c_str());
    return 2;
  }
  if (line.help) {
    std::fputs(UsageText("zendrel").c_str(), stdout);
    return 0;
  }
  if (line.version) {
    std::printf("zendrel %s\n", ZENDREL_VERSION);
    return 0;
  }

  // Lives until the program ends; the window and the search talk to it.
  DemoSiteHandle demo;
  if (line.demo) {
    demo = StartDemoSite();
    if (!demo) {
      std::fprintf(stderr, "zendrel: the demo index could not listen on 127.0.0.1\n");
      return 1;
    }
    SetSearchSite(DemoSiteAddress(*demo));
    SetTorrentService(DemoSiteAddress(*demo));
  }

  // A search from a terminal needs no display; a platform the user chose
  // is left alone.
  if (line.search && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ui::InitApplication(argc, argv);
  if (line.search) return RunSearchCommand(line.keyword, line.downloadRow);
  StartUp();
  return ui::RunMessageLoop();
}
