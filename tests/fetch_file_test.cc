#include "net/fetch_file.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/support/raw_http_server.h"
#include "tests/support/torrent_service.h"
#include "tests/support/torrents.h"

namespace {

using testsupport::TorrentService;

TEST(SplitAddress, TakesHttpAndHttpsApart) {
  struct Case {
    Text address;
    bool ok;
    bool secure;
    Text host;
    int port;
    Text object;
    Text user;
    Text password;
  };
  const Case cases[] = {
      {"http://host/a/b?c=d", true, false, "host", 80, "/a/b?c=d", "", ""},
      {"HTTPS://host:8443", true, true, "host", 8443, "/", "", ""},
      {"http://h?magnet=magnet:?xt=urn:btih:ab&dn=x", true, false, "h", 80,
       "/?magnet=magnet:?xt=urn:btih:ab&dn=x", "", ""},
      {"http://h/p#fragment?x", true, false, "h", 80, "/p", "", ""},
      {"http://me:secret@h:81/p", true, false, "h", 81, "/p", "me", "secret"},
      {"http://me@h/", true, false, "h", 80, "/", "me", ""},
      {"http://h/a@b", true, false, "h", 80, "/a@b", "", ""},
      {"ftp://h/file", false, false, "", 0, "", "", ""},
      {"h/file", false, false, "", 0, "", "", ""},
      {"", false, false, "", 0, "", "", ""},
      {"http:///p", false, false, "", 0, "", "", ""},
      {"http://h:0/", false, false, "", 0, "", "", ""},
      {"http://h:65536/", false, false, "", 0, "", "", ""},
      {"http://h:8x/", false, false, "", 0, "", "", ""},
  };
  for (const Case& c : cases) {
    AddressParts parts;
    ASSERT_EQ(SplitAddress(c.address, &parts), c.ok) << c.address;
    if (!c.ok) continue;
    EXPECT_EQ(parts.secure, c.secure) << c.address;
    EXPECT_EQ(parts.host, c.host) << c.address;
    EXPECT_EQ(parts.port, c.port) << c.address;
    EXPECT_EQ(parts.object, c.object) << c.address;
    EXPECT_EQ(parts.user, c.user) << c.address;
    EXPECT_EQ(parts.password, c.password) << c.address;
  }
}

TEST(FetchFileBytes, RequestAndOutcomes) {
  TorrentService service;
  const auto torrent = testsupport::MakeTorrent("a");
  const Text path = "/magnet-bt/torrent.php?magnet=magnet:?xt=urn:btih:";
  service.Answer("good", testsupport::Serves(torrent.bytes));
  service.Answer("error", testsupport::Serves("<html>busy</html>", 500));
  service.Answer("cut", testsupport::CutShort(torrent.bytes));
  service.Answer("huge", testsupport::Streamed(kMaxFileBytes + (2 << 20)));

  struct Case {
    const char* what;
    Text address;
    bool ok;
    int status;
    Bytes body;
  };
  const Case cases[] = {
      {"a torrent", service.Base() + path + "good&dn=x#frag", true, 200, torrent.bytes},
      {"an error page", service.Base() + path + "error", false, 500, "<html>busy</html>"},
      {"a body cut short", service.Base() + path + "cut", false, 200,
       torrent.bytes.substr(0, torrent.bytes.size() / 2)},
      {"nobody listening",
       "http://127.0.0.1:" + std::to_string(testsupport::RefusedPort()) + path + "good", false, 0,
       ""},
      {"not http", "ftp://127.0.0.1/x", false, 0, ""},
      {"no address", "", false, 0, ""},
  };
  for (const Case& c : cases) {
    FileFetchOutcome outcome;
    outcome.status = -1;
    Bytes body = FetchFileBytes(c.address, &outcome);
    EXPECT_EQ(outcome.ok, c.ok) << c.what;
    EXPECT_EQ(outcome.status, c.status) << c.what;
    EXPECT_TRUE(body == c.body) << c.what << ": " << body.size() << " bytes";
  }

  FileFetchOutcome outcome;
  Bytes body = FetchFileBytes(service.Base() + path + "huge", &outcome);
  EXPECT_FALSE(outcome.ok);
  EXPECT_LE(static_cast<int64_t>(body.size()), kMaxFileBytes);

  auto requests = service.Requests();
  ASSERT_GE(requests.size(), 3u);
  EXPECT_EQ(requests[0].target, path + "good&dn=x");
  EXPECT_EQ(requests[0].version, "HTTP/1.0");
  EXPECT_EQ(requests[0].accept, "*/*");
}

TEST(FetchFileBytes, ConcurrentFetchesShareTheSession) {
  TorrentService service;
  std::vector<testsupport::TestTorrent> torrents;
  for (int i = 0; i < 4; ++i) {
    torrents.push_back(testsupport::MakeTorrent("t" + std::to_string(i), 2000));
    service.Answer(torrents.back().hexHash, testsupport::Held(torrents.back().bytes));
  }
  std::vector<Bytes> bodies(torrents.size());
  std::vector<std::thread> threads;
  for (size_t i = 0; i < torrents.size(); ++i)
    threads.emplace_back([&, i] {
      bodies[i] = FetchFileBytes(service.Base() + "/magnet-bt/torrent.php?magnet=" +
                                 testsupport::MagnetFor(torrents[i].hexHash));
    });
  // All four are in flight at once before any is answered.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (service.Waiting() < 4 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_EQ(service.Waiting(), 4);
  service.Release();
  for (auto& t : threads) t.join();
  for (size_t i = 0; i < torrents.size(); ++i)
    EXPECT_TRUE(bodies[i] == torrents[i].bytes) << i << ": " << bodies[i].size() << " bytes";
}

}  // namespace
