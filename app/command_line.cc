#include "app/command_line.h"

#include "net/sites.h"

namespace {

// "--name value" or "--name=value"; true when `args[i]` is the option.
bool TakeValue(const std::vector<Text>& args, size_t& i, const Text& name, Text& value,
               bool& missing) {
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

// 1 to 99999, digits only.
bool RowNumber(const Text& text, int& row) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != Text::npos)
    return false;
  row = std::stoi(text);
  return row >= 1;
}

// The words that are no option: "search" and its KEYWORD.
bool TakeWord(const Text& word, CommandLine& line, bool& haveKeyword, Text& error) {
  if (!line.search) {
    if (word != "search") {
      error = "unknown argument: " + word;
      return false;
    }
    line.search = true;
    return true;
  }
  if (haveKeyword) {
    error = "one KEYWORD only; quote a keyword of several words: " + word;
    return false;
  }
  line.keyword = word;
  haveKeyword = true;
  return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<Text>& args, CommandLine& line, Text& error) {
  bool haveKeyword = false;
  bool optionsEnded = false;
  Text download;
  for (size_t i = 0; i < args.size(); ++i) {
    const Text& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-') {
      if (!TakeWord(arg, line, haveKeyword, error)) return false;
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      line.help = true;
      continue;
    }
    if (arg == "--version") {
      line.version = true;
      continue;
    }
    if (arg == "--demo") {
      line.demo = true;
      continue;
    }
    bool missing = false;
    const Text option = arg.substr(0, arg.find('='));
    if (TakeValue(args, i, "--search-site", line.searchSite, missing) ||
        TakeValue(args, i, "--torrent-service", line.torrentService, missing) ||
        TakeValue(args, i, "--download", download, missing)) {
      if (missing) {
        error = option + (option == "--download" ? " needs a row number" : " needs an address");
        return false;
      }
      continue;
    }
    error = "unknown argument: " + arg;
    return false;
  }
  if (line.help || line.version) return true;
  if (line.search && !haveKeyword) {
    error = "search needs a KEYWORD (\"\" lists everything)";
    return false;
  }
  if (!download.empty() && !line.search) {
    error = "--download goes with search KEYWORD";
    return false;
  }
  if (!download.empty() && !RowNumber(download, line.downloadRow)) {
    error = "--download needs a row number from 1 on: " + download;
    return false;
  }
  if (line.demo && !(line.searchSite.empty() && line.torrentService.empty())) {
    error = "--demo brings its own addresses; leave out --search-site and --torrent-service";
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
  return "usage: " + program + " [--demo] [--search-site URL] [--torrent-service URL]\n"
         "       " + program + " search KEYWORD [--demo] [--search-site URL]\n"
         "              [--torrent-service URL] [--download N]\n"
         "       " + program + " --help | --version\n"
         "\n"
         "The first form opens the window. The second runs the same search without\n"
         "showing it: one line per result row on stdout (number, title, size and\n"
         "magnet address, separated by tabs), the search status on stderr.\n"
         "\n"
         "  --demo                 search the built-in offline demo index\n"
         "  --search-site URL      the torrent index to search (http://host[:port])\n"
         "  --torrent-service URL  the magnet-to-torrent service (http://host[:port])\n"
         "  --download N           then save row N's torrent next to the program\n"
         "\n"
         "Exit status: 0 success, 1 the search or the download failed, 2 usage error.\n"
         "Example: " + program + " search \"wild 1080p\" --demo --download 1\n";
}
