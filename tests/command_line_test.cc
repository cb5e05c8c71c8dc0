// The program's options: the two site addresses, and a clear refusal of
// anything else.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/search_command.h"
#include "platform/codepage.h"
#include "net/sites.h"

namespace {

struct Case {
  std::vector<Text> args;
  bool ok;
  Text searchSite;      // in force afterwards, when ok
  Text torrentService;
  Text errorMentions;   // when not ok
};

TEST(CommandLine, OptionsSetTheSitesAndBadOnesAreRefused) {
  const Text search = SearchSiteBase(), service = TorrentServiceBase();
  const Case cases[] = {
      {{}, true, search, service, ""},
      {{"--search-site", "http://127.0.0.1:8080/"}, true, "http://127.0.0.1:8080", service, ""},
      {{"--torrent-service=localhost:9"}, true, search, "http://localhost:9", ""},
      {{"--search-site", "a.example", "--torrent-service", "b.example"}, true, "http://a.example",
       "http://b.example", ""},
      {{"--search-site"}, false, "", "", "--search-site"},
      {{"--search-site", "--torrent-service", "b.example"}, false, "", "", "--search-site"},
      {{"--torrent-service="}, false, "", "", "--torrent-service"},
      {{"--search-site", "ftp://x.example"}, false, "", "", "ftp://x.example"},
      {{"--search-site", "http://host:99999"}, false, "", "", "http://host:99999"},
      {{"--colour"}, false, "", "", "--colour"},
      {{"keyword"}, false, "", "", "keyword"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? Text("(none)") : c.args[0]);
    SetSearchSite(search);
    SetTorrentService(service);
    CommandLine line;
    Text error;
    bool ok = ParseCommandLine(c.args, line, error) && ApplyCommandLine(line, error);
    EXPECT_EQ(ok, c.ok) << error;
    if (ok) {
      EXPECT_EQ(SearchSiteBase(), c.searchSite);
      EXPECT_EQ(TorrentServiceBase(), c.torrentService);
    } else {
      EXPECT_NE(error.find(c.errorMentions), Text::npos) << error;
    }
  }
  EXPECT_NE(UsageText("zendrel").find("--search-site URL"), Text::npos);
}

TEST(CommandLine, SearchModeAndItsUsageErrors) {
  struct SearchCase {
    std::vector<Text> args;
    bool ok;
    Text keyword;  // when ok
    int downloadRow;
    Text errorMentions;  // when not ok
  };
  const SearchCase cases[] = {
      {{"search", "wild 1080p"}, true, "wild 1080p", 0, ""},
      {{"search", ""}, true, "", 0, ""},  // an empty keyword lists everything
      {{"--demo", "search", "海洋", "--download", "3"}, true, "海洋", 3, ""},
      {{"search", "--download=12", "--", "--odd"}, true, "--odd", 12, ""},
      {{"search"}, false, "", 0, "KEYWORD"},
      {{"search", "a", "b"}, false, "", 0, "b"},
      {{"search", "a", "--download"}, false, "", 0, "--download"},
      {{"search", "a", "--download", "0"}, false, "", 0, "0"},
      {{"search", "a", "--download", "two"}, false, "", 0, "two"},
      {{"search", "a", "--download", "-1"}, false, "", 0, "--download"},
      {{"--download", "1"}, false, "", 0, "search"},
      {{"find", "a"}, false, "", 0, "find"},
      {{"--demo", "--search-site", "x.example"}, false, "", 0, "--demo"},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : Text()));
    CommandLine line;
    Text error;
    EXPECT_EQ(ParseCommandLine(c.args, line, error), c.ok) << error;
    if (c.ok) {
      EXPECT_TRUE(line.search);
      EXPECT_EQ(line.keyword, c.keyword);
      EXPECT_EQ(line.downloadRow, c.downloadRow);
    } else {
      EXPECT_NE(error.find(c.errorMentions), Text::npos) << error;
    }
  }
  // --help and --version win over everything else that is well formed.
  CommandLine line;
  Text error;
  EXPECT_TRUE(ParseCommandLine({"search", "--help"}, line, error));
  EXPECT_TRUE(line.help);
  EXPECT_TRUE(ParseCommandLine({"--version"}, line, error));
  EXPECT_TRUE(line.version);
}

TEST(CommandLine, RowLinesAreOneLineOfFourTabSeparatedUtf8Fields) {
  const Text line = RowLine({"7", codepage::Ansi("海洋\t纪录片\r\n"), "1.00 GB", "magnet:?xt=urn:btih:AB"});
  EXPECT_EQ(line, "7\t海洋 纪录片  \t1.00 GB\tmagnet:?xt=urn:btih:AB\n");
}

}  // namespace
