#include "app/command_line.h"

#include "net/sites.h"

namespace {

// "--name value" or "--name=value"; true when `args[i]` is the option.
bool TakeValue(const std::vector<Text>& args, size_t& i, const Text& name, Text& value, bool& missing) {
  const Text& arg = args[i];
  if (arg == name) {
    // "--search-site --torrent-service x" lacks a value; it does not name
    // a host called "--torrent-service".
    missing = i + 1 >= args.size() || args[i + 1].compare(0, 2, "--") == 0;
    if (!missing) value = args[++i];
    return true;
  }
  if (arg.compare(0, name.size() + 1, name + "=") == 0) {
    value = arg.substr(name.size() + 1);
    missing = value.empty();
    return true;
  }
  return false;
}

}  // namespace

bool ParseCommandLine(const std::vector<Text>& args, CommandLine& line, Text& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    bool missing = false;
    Text option = args[i].substr(0, args[i].find('='));
    if (TakeValue(args, i, "--search-site", line.searchSite, missing) ||
        TakeValue(args, i, "--torrent-service", line.torrentService, missing)) {
      if (missing) {
        error = option + " needs an address";
        return false;
      }
      continue;
    }
    error = "unknown argument: " + args[i];
    return false;
  }
  return true;
}

bool ApplyCommandLine(const CommandLine& line, Text& error) {
  if (!line.searchSite.empty() && !SetSearchSite(line.searchSite)) {
    error = "not an http address: " + line.searchSite;
    return false;
  }
  if (!line.torrentService.empty() && !SetTorrentService(line.torrentService)) {
    error = "not an http address: " + line.torrentService;
    return false;
  }
  return true;
}

Text UsageText(const Text& program) {
  return "usage: " + program + " [--search-site URL] [--torrent-service URL]\n"
         "  --search-site URL      the torrent index to search (http://host[:port])\n"
         "  --torrent-service URL  the magnet-to-torrent service (http://host[:port])\n";
}
