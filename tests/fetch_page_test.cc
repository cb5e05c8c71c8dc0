#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <gtest/gtest.h>

#include "net/fetch.h"
#include "tests/support/raw_http_server.h"

using testsupport::HttpResponse;
using testsupport::RawHttpServer;
using testsupport::RawReply;

namespace {

const std::string kAgentLine = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";
const std::string kAcceptLine =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";

std::string HostLine(const RawHttpServer& server) {
  return "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
}

std::string OnlyRequest(const RawHttpServer& server) {
  EXPECT_TRUE(server.WaitForRequests(1));
  auto requests = server.Requests();
  return requests.empty() ? std::string() : requests[0];
}

TEST(FetchPage, PlainCallSendsExactlyTheFixedLines) {
  RawHttpServer server({RawReply{HttpResponse("<html>page</html>")}});
  const std::string hostPort = "127.0.0.1:" + std::to_string(server.Port());
  struct Case {
    std::string address;
    std::string object;
  } cases[] = {
      {"http://" + hostPort + "/?keyword=abc 123", "/?keyword=abc%20123"},
      {hostPort, "/"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].address);
    FetchOutcome outcome;
    EXPECT_EQ(FetchPageText(cases[i].address, {}, &outcome), "<html>page</html>");
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.status, 200);
    ASSERT_TRUE(server.WaitForRequests(i + 1));
    EXPECT_EQ(server.Requests()[i], "GET " + cases[i].object + " HTTP/1.1\r\n" + HostLine(server) + kAgentLine +
                                        kAcceptLine + "Referer: " + cases[i].address +
                                        "\r\nAccept-Language: zh-cn\r\n\r\n");
  }
}

TEST(FetchPage, CallersHeadersSuppressFixedLinesByCaseInsensitiveSubstring) {
  const std::string kReferer = "Referer: REFERER\r\n";  // REFERER stands for the address
  const std::string kLanguage = "Accept-Language: zh-cn\r\n";
  struct Case {
    std::string extra;
    std::string added;
  } cases[] = {
      {"accept: text/html\r\n", kReferer + kLanguage},
      {"X-Note: says Referer: inside\r\n", kAcceptLine + kLanguage},
      {"Accept-Language: en\r\n", kAcceptLine + kReferer},
      {"X-Accept: 1\r\n", kReferer + kLanguage},
      {"ACCEPT: */*\r\nREFERER: x\r\naccept-language: de\r\n", ""},
      {"X-Other: 1\r\n", kAcceptLine + kReferer + kLanguage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.extra);
    RawHttpServer server({RawReply{HttpResponse("ok")}});
    FetchOptions options;
    options.extraHeaders = c.extra;
    std::string address = server.Url("/h");
    EXPECT_EQ(FetchPageText(address, options), "ok");
    std::string added = c.added;
    if (size_t at = added.find("REFERER"); at != std::string::npos) added.replace(at, 7, address);
    EXPECT_EQ(OnlyRequest(server), "GET /h HTTP/1.1\r\n" + HostLine(server) + kAgentLine + c.extra + added + "\r\n");
  }
}

TEST(FetchPage, VerbAndBodyRules) {
  const std::string dbcs = "\xc4\xe3\xba\xc3\xb0\xa1";  // three double-byte characters
  struct Case {
    const char* method;
    std::string body;
    std::string verb;
    std::string tail;  // lines after the fixed three, then the body
  } cases[] = {
      {"", "a=1", "GET", "\r\n"},
      {"get", "a=1", "GET", "\r\n"},
      {"PUT", "", "GET", "\r\n"},
      {"post", "a=1", "post",
       "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 3\r\n\r\na=1"},
      {"Post", dbcs, "Post",
       "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 6\r\n\r\n" + dbcs},
      // The platform states the empty length itself; no Content-Type is added.
      {"POST", "", "POST", "Content-Length: 0\r\n\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.method);
    RawHttpServer server({RawReply{HttpResponse("done")}});
    FetchOptions options;
    options.method = c.method;
    options.body = c.body;
    std::string address = server.Url("/form");
    EXPECT_EQ(FetchPageText(address, options), "done");
    EXPECT_EQ(OnlyRequest(server), c.verb + " /form HTTP/1.1\r\n" + HostLine(server) + kAgentLine + kAcceptLine +
                                       "Referer: " + address + "\r\nAccept-Language: zh-cn\r\n" + c.tail);
  }
}

TEST(FetchPage, ProxyGetsTheAbsoluteAddress) {
  RawHttpServer proxy({RawReply{HttpResponse("proxied")}});
  FetchOptions options;
  options.proxy = "127.0.0.1:" + std::to_string(proxy.Port());
  options.useProxy = true;
  const Text address = "http://search.zendrel.example/?keyword=x";
  EXPECT_EQ(FetchPageText(address, options), "proxied");
  std::string request = OnlyRequest(proxy);
  EXPECT_EQ(request.substr(0, request.find("\r\n") + 2), "GET " + address + " HTTP/1.1\r\n");
  EXPECT_NE(request.find("\r\nReferer: " + address + "\r\n"), std::string::npos);

  // Without the flag the proxy is not used.
  options.useProxy = false;
  RawHttpServer site({RawReply{HttpResponse("direct")}});
  EXPECT_EQ(FetchPageText(site.Url("/"), options), "direct");
  EXPECT_EQ(proxy.Requests().size(), 1u);
}

TEST(FetchPage, BodiesAndFailures) {
  std::string large;
  for (int i = 0; large.size() < 300000; ++i) large += std::to_string(i) + ",";
  RawHttpServer redirectTarget({RawReply{HttpResponse("after redirect")}});
  struct Case {
    const char* name;
    RawReply reply;
    std::string text;
    bool ok;
    int status;
  } cases[] = {
      {"large body over many blocks", {HttpResponse(large)}, large, true, 200},
      {"NUL byte ends the text", {HttpResponse(std::string("before\0after", 12))}, "before", true, 200},
      {"empty body", {HttpResponse("")}, "", true, 200},
      {"404 page", {HttpResponse("not here", "404 Not Found")}, "not here", false, 404},
      {"closed mid-body", {"HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\nfirst part"}, "first part", false, 200},
      {"redirect followed",
       {HttpResponse("", "301 Moved Permanently", "Location: " + redirectTarget.Url("/next") + "\r\n")},
       "after redirect", true, 200},
      {"not HTTP at all", {"garbage\r\n\r\n"}, "", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RawHttpServer server({c.reply});
    FetchOutcome outcome;
    EXPECT_EQ(FetchPageText(server.Url("/p"), {}, &outcome), c.text);
    EXPECT_EQ(outcome.ok, c.ok);
    EXPECT_EQ(outcome.status, c.status);
  }

  FetchOutcome outcome{true, 200, true};
  EXPECT_EQ(FetchPageText("http://127.0.0.1:" + std::to_string(testsupport::RefusedPort()) + "/", {}, &outcome), "");
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.status, 0);
}

TEST(FetchPage, BodyBeyondTheBoundIsAFailure) {
  std::string huge((64 << 20) + 1, 'x');
  RawHttpServer server({RawReply{HttpResponse(huge)}});
  huge.clear();
  FetchOutcome outcome;
  EXPECT_EQ(FetchPageText(server.Url("/huge"), {}, &outcome), "");
  EXPECT_FALSE(outcome.ok);
  EXPECT_FALSE(outcome.complete);
  EXPECT_EQ(outcome.status, 200);
}

TEST(FetchPage, CapturesTheRawHead) {
  const std::string smallHead = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nX-A: 1\r\n\r\n";
  const std::string bigHeader = "X-Big: " + std::string(1500, 'v') + "\r\n";
  const std::string bigHead = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n" + bigHeader + "\r\n";
  for (const std::string& head : {smallHead, bigHead}) {
    RawHttpServer server({RawReply{head + "hi"}});
    Text captured = "old";
    FetchOptions options;
    options.rawHeaders = &captured;
    options.capture = true;
    EXPECT_EQ(FetchPageText(server.Url("/"), options), "hi");
    EXPECT_EQ(captured, head);  // whole, also past 1024 bytes

    captured = "old";
    options.capture = false;
    EXPECT_EQ(FetchPageText(server.Url("/"), options), "hi");
    EXPECT_EQ(captured, "old");
  }

  FetchOptions options;
  Text captured = "old";
  options.rawHeaders = &captured;
  options.capture = true;
  // No connection could be set up: the output stays as it was.
  FetchPageText("http://bad host/", options);
  EXPECT_EQ(captured, "old");
  // A request went out but no response came: nothing was captured.
  FetchPageText("http://127.0.0.1:" + std::to_string(testsupport::RefusedPort()) + "/", options);
  EXPECT_EQ(captured, "");
}

// Counts how often the thread's queue is looked at: it re-posts itself each
// time it is dispatched, and Qt leaves events posted during dispatch for the
// next round.
class QueueProbe : public QObject {
 public:
  int dispatched = 0;
  bool event(QEvent* e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    ++dispatched;
    QCoreApplication::postEvent(this, new QEvent(QEvent::User));
    return true;
  }
};

TEST(FetchPage, ProcessesPendingMessagesBeforeEveryRead) {
  int argc = 1;
  char name[] = "fetch_page_test";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  struct Case {
    std::string body;
    int minimumReads;
    int maximumReads;
  } cases[] = {
      {"", 1, 1},
      {std::string(5000, 'z'), 11, 5001},
  };
  for (const auto& c : cases) {
    RawHttpServer server({RawReply{HttpResponse(c.body)}});
    QueueProbe probe;
    QCoreApplication::postEvent(&probe, new QEvent(QEvent::User));
    EXPECT_EQ(FetchPageText(server.Url("/"), {}), c.body);
    EXPECT_GE(probe.dispatched, c.minimumReads);
    EXPECT_LE(probe.dispatched, c.maximumReads);
  }
}

}  // namespace
