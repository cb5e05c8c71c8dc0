// The program's options: the two site addresses, and a clear refusal of
// anything else.
#include <gtest/gtest.h>

#include "app/command_line.h"
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

}  // namespace
