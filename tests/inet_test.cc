#include "platform/inet.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/support/raw_http_server.h"

using testsupport::HttpResponse;
using testsupport::RawHttpServer;
using testsupport::RawReply;

namespace {

const char* kAgent = "Agent/1.0";

struct Outcome {
  bool sent = false;
  int status = 0;
  Bytes body;
  int largestRead = 0;
  bool succeeded = false;
};

Outcome Drain(inet::Request& request, const Text& headers, const Bytes& body = Bytes()) {
  Outcome o;
  o.sent = inet::SendRequest(request, headers, body);
  o.status = inet::StatusCode(request);
  char block[512];
  int n;
  while ((n = inet::ReadData(request, block, sizeof block)) > 0) {
    o.body.append(block, size_t(n));
    o.largestRead = std::max(o.largestRead, n);
  }
  o.succeeded = inet::TransferSucceeded(request);
  return o;
}

// The first `lines` lines of a recorded request.
std::string Head(const std::string& request, int lines) {
  size_t end = 0;
  for (int i = 0; i < lines && end != std::string::npos; ++i) {
    end = request.find("\r\n", end);
    if (end != std::string::npos) end += 2;
  }
  return request.substr(0, end);
}

inet::Request Open(const inet::Session& session, int port, const Text& object,
                   const Text& version = "HTTP/1.1", const Text& verb = "GET") {
  auto connection = inet::Connect(session, "127.0.0.1", port);
  return inet::OpenRequest(connection, verb, object, version, inet::kFlagReload);
}

// Sets an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (had_)
      setenv(name_, old_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  std::string old_;
};

TEST(Inet, WritesExactlyTheCallersLinesAfterHostAndAgent) {
  RawHttpServer server({RawReply{HttpResponse("hello")}});
  auto session = inet::OpenSession(kAgent, inet::Access::Direct);
  auto request = Open(session, server.Port(), "/a b?q=x y");
  ASSERT_TRUE(request);
  Outcome o = Drain(request, "X-One: 1\r\nX-Two: 2\r\n");
  EXPECT_TRUE(o.sent);
  EXPECT_EQ(o.status, 200);
  EXPECT_EQ(o.body, "hello");
  EXPECT_TRUE(o.succeeded);
  ASSERT_TRUE(server.WaitForRequests(1));
  EXPECT_EQ(server.Requests()[0], "GET /a%20b?q=x%20y HTTP/1.1\r\nHost: 127.0.0.1:" +
                                      std::to_string(server.Port()) +
                                      "\r\nUser-Agent: Agent/1.0\r\nX-One: 1\r\nX-Two: 2\r\n\r\n");
}

TEST(Inet, Http10WithCredentialsAndTheFileAcceptText) {
  RawHttpServer server({RawReply{HttpResponse("x")}});
  auto session = inet::OpenSession(kAgent, inet::Access::Direct);
  auto connection = inet::Connect(session, "127.0.0.1", server.Port(), "user", "pass");
  auto request = inet::OpenRequest(connection, "GET", "/t", "HTTP/1.0",
                                   inet::kFlagReload | inet::kFlagNoCacheWrite);
  Outcome o = Drain(request, "Accept: */*\r\n\r\n");
  EXPECT_EQ(o.body, "x");
  ASSERT_TRUE(server.WaitForRequests(1));
  EXPECT_EQ(server.Requests()[0], "GET /t HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) +
                                      "\r\nAuthorization: Basic dXNlcjpwYXNz\r\n"
                                      "User-Agent: Agent/1.0\r\nAccept: */*\r\n\r\n");
}

TEST(Inet, ReadsComeInBlocksAndKeepBytesBeforeAFailure) {
  std::string big(300000, 'b');
  big[1234] = '\0';
  struct Case {
    const char* name;
    RawReply reply;
    Bytes body;
    bool succeeded;
  } cases[] = {
      {"whole body", {HttpResponse(big)}, big, true},
      {"empty body", {HttpResponse("")}, "", true},
      {"no length, ends at close", {"HTTP/1.1 200 OK\r\n\r\nuntil close"}, "until close", true},
      {"closed mid-body", {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial"}, "partial", false},
      {"chunked", {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n2\r\nde\r\n0\r\n\r\n"},
       "abcde", true},
  };
  auto session = inet::OpenSession(kAgent, inet::Access::Direct);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RawHttpServer server({c.reply});
    auto request = Open(session, server.Port(), "/");
    Outcome o = Drain(request, "");
    EXPECT_EQ(o.status, 200);
    EXPECT_EQ(o.body, c.body);
    EXPECT_LE(o.largestRead, 512);
    EXPECT_EQ(o.succeeded, c.succeeded);
    EXPECT_EQ(inet::ReadData(request, nullptr, 512), 0);
  }
}

TEST(Inet, StalledTransferEndsAtTheReceiveTimeout) {
  RawHttpServer server({RawReply{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nsome", true}});
  auto session = inet::OpenSession(kAgent, inet::Access::Direct);
  auto request = Open(session, server.Port(), "/");
  inet::SetTimeout(request, inet::Timeout::Receive, 300);
  auto start = std::chrono::steady_clock::now();
  Outcome o = Drain(request, "");
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(o.body, "some");
  EXPECT_FALSE(o.succeeded);
  EXPECT_GE(elapsed, std::chrono::milliseconds(250));
  EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST(Inet, SilentServerBeforeTheHeadEndsAtTheReceiveTimeout) {
  RawHttpServer server({RawReply{"", true}});
  auto session = inet::OpenSession(kAgent, inet::Access::Direct);
  auto request = Open(session, server.Port(), "/");
  inet::SetTimeout(request, inet::Timeout::Receive, 300);
  Outcome o = Drain(request, "");
  EXPECT_FALSE(o.sent);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.body, "");
}

TEST(Inet, NoResponseGivesNothing) {
  auto session = inet::OpenSession(kAgent, inet::Access::Direct);
  RawHttpServer silent({RawReply{"", true}});
  struct Case {
    const char* name;
    int port;
    uint32_t flags;
  } cases[] = {
      {"refused port", testsupport::RefusedPort(), inet::kFlagReload},
      {"https to a server that speaks no TLS", silent.Port(), inet::kFlagReload | inet::kFlagSecure},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto connection = inet::Connect(session, "127.0.0.1", c.port);
    auto request = inet::OpenRequest(connection, "GET", "/", "HTTP/1.1", c.flags);
    inet::SetTimeout(request, inet::Timeout::Connect, 500);
    Outcome o = Drain(request, "");
    EXPECT_FALSE(o.sent);
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.body, "");
    EXPECT_FALSE(o.succeeded);
    Text headers = "untouched";
    size_t length = 1024;
    EXPECT_FALSE(inet::QueryRawHeaders(request, headers, length));
    EXPECT_EQ(headers, "untouched");
    EXPECT_EQ(length, 1024u);
  }
}

TEST(Inet, FollowsRedirectsAndReportsTheFinalHead) {
  RawHttpServer target({RawReply{HttpResponse("moved here", "200 OK", "X-Final: yes\n")}});
  RawHttpServer origin({RawReply{HttpResponse("gone", "302 Found", "Location: " + target.Url("/new") + "\r\n")}});
  auto session = inet::OpenSession(kAgent, inet::Access::Direct);
  auto request = Open(session, origin.Port(), "/old");
  Outcome o = Drain(request, "");
  EXPECT_EQ(o.status, 200);
  EXPECT_EQ(o.body, "moved here");
  ASSERT_TRUE(target.WaitForRequests(1));
  EXPECT_EQ(Head(target.Requests()[0], 1), "GET /new HTTP/1.1\r\n");

  // Bare LF line ends come back as CR LF.
  const Text head = "HTTP/1.1 200 OK\r\nContent-Length: 10\r\nX-Final: yes\r\n\r\n";
  Text got;
  size_t length = 1024;
  ASSERT_TRUE(inet::QueryRawHeaders(request, got, length));
  EXPECT_EQ(got, head);
  length = head.size();  // no room for the NUL
  EXPECT_FALSE(inet::QueryRawHeaders(request, got, length));
  EXPECT_EQ(length, head.size() + 1);
}

TEST(Inet, EndlessRedirectsEndInFailure) {
  RawHttpServer loop([](const std::string&) { return RawReply{HttpResponse("", "302 Found", "Location: /again\r\n")}; });
  auto session = inet::OpenSession(kAgent, inet::Access::Direct);
  auto request = Open(session, loop.Port(), "/");
  Outcome o = Drain(request, "");
  EXPECT_FALSE(o.succeeded);
  EXPECT_LE(loop.Requests().size(), 11u);
}

TEST(Inet, ProxyAccessSendsTheAbsoluteAddressToTheProxy) {
  RawHttpServer proxy({RawReply{HttpResponse("via proxy")}});
  ScopedEnv noProxy("no_proxy", "*"), noProxyUpper("NO_PROXY", "*");
  auto session = inet::OpenSession(kAgent, inet::Access::Proxy, "http=127.0.0.1:" + std::to_string(proxy.Port()));
  auto connection = inet::Connect(session, "search.zendrel.example", 8080);
  auto request = inet::OpenRequest(connection, "GET", "/?keyword=a", "HTTP/1.1", inet::kFlagReload);
  Outcome o = Drain(request, "");
  EXPECT_EQ(o.body, "via proxy");
  ASSERT_TRUE(proxy.WaitForRequests(1));
  EXPECT_EQ(Head(proxy.Requests()[0], 2),
            "GET http://search.zendrel.example:8080/?keyword=a HTTP/1.1\r\n"
            "Host: search.zendrel.example:8080\r\n");
}

TEST(Inet, DirectAccessIgnoresProxyVariablesAndPreconfigUsesThem) {
  RawHttpServer proxy({RawReply{HttpResponse("from proxy")}});
  RawHttpServer site({RawReply{HttpResponse("from site")}});
  std::string proxyAddress = "http://127.0.0.1:" + std::to_string(proxy.Port());
  ScopedEnv a("http_proxy", proxyAddress.c_str()), b("ALL_PROXY", proxyAddress.c_str()),
      c("no_proxy", nullptr), d("NO_PROXY", nullptr);

  auto direct = inet::OpenSession(kAgent, inet::Access::Direct);
  auto request = Open(direct, site.Port(), "/direct");
  EXPECT_EQ(Drain(request, "").body, "from site");

  auto preconfig = inet::OpenSession(kAgent, inet::Access::Preconfig);
  auto viaProxy = Open(preconfig, site.Port(), "/configured");
  EXPECT_EQ(Drain(viaProxy, "").body, "from proxy");
  ASSERT_TRUE(proxy.WaitForRequests(1));
  EXPECT_EQ(Head(proxy.Requests()[0], 1),
            "GET http://127.0.0.1:" + std::to_string(site.Port()) + "/configured HTTP/1.1\r\n");
  EXPECT_EQ(site.Requests().size(), 1u);
}

TEST(Inet, OneSessionServesManyThreadsAtOnce) {
  RawHttpServer server([](const std::string& request) {
    std::string path = request.substr(4, request.find(' ', 4) - 4);
    return RawReply{HttpResponse(std::string(20000, path.back()))};
  });
  auto session = inet::OpenSession(kAgent, inet::Access::Preconfig);
  ScopedEnv a("http_proxy", nullptr), b("ALL_PROXY", nullptr);
  std::vector<Bytes> bodies(6);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < bodies.size(); ++i)
    threads.emplace_back([&, i] {
      auto request = Open(session, server.Port(), "/" + std::to_string(i));
      bodies[i] = Drain(request, "").body;
    });
  for (auto& t : threads) t.join();
  for (size_t i = 0; i < bodies.size(); ++i) EXPECT_EQ(bodies[i], std::string(20000, char('0' + i)));
}

TEST(Inet, RefusesWhatWouldNotMakeAValidRequest) {
  auto session = inet::OpenSession(kAgent, inet::Access::Direct);
  struct { const char* host; int port; } badConnections[] = {
      {"", 80}, {"user@127.0.0.1", 80}, {"a b", 80}, {"h/x", 80}, {"h?x", 80}, {"h", -1}, {"h", 65536},
  };
  for (const auto& c : badConnections) EXPECT_FALSE(inet::Connect(session, c.host, c.port)) << c.host << ":" << c.port;
  EXPECT_TRUE(inet::Connect(session, "Search-1.zendrel_x.example", 0));

  auto connection = inet::Connect(session, "127.0.0.1", 80);
  for (const char* verb : {"", "GE T", "GET\r\nX: 1"})
    EXPECT_FALSE(inet::OpenRequest(connection, verb, "/", "HTTP/1.1", 0)) << verb;
  EXPECT_FALSE(inet::OpenRequest(connection, "GET", "/", "HTTP/2", 0));
  EXPECT_TRUE(inet::OpenRequest(connection, "post", "/", "", 0));
}

TEST(Inet, ControlBytesInTheObjectCannotAddLines) {
  RawHttpServer server({RawReply{HttpResponse("")}});
  auto session = inet::OpenSession(kAgent, inet::Access::Direct);
  auto request = Open(session, server.Port(), "/x\r\nEvil: 1\xb0");
  Drain(request, "");
  ASSERT_TRUE(server.WaitForRequests(1));
  EXPECT_EQ(Head(server.Requests()[0], 1), "GET /x%0D%0AEvil:%201%B0 HTTP/1.1\r\n");
}

}  // namespace
