#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the demo index: GET and HEAD, one
// request per connection, each answered by one routine on a thread of its
// own. The request target is handed over exactly as it came: magnet
// addresses arrive unescaped, "?" and all, and general-purpose servers turn
// such targets away.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct HttpRequest {
  std::string method;
  std::string target;  // undecoded
};

struct HttpResponse {
  int status = 200;
  std::string contentType;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;  // more header lines
};

using HttpRoutine = std::function<HttpResponse(const HttpRequest&)>;

struct HttpServer;
struct HttpServerStop {
  void operator()(HttpServer* server) const;  // waits for the answers under way
};
using HttpServerHandle = std::unique_ptr<HttpServer, HttpServerStop>;

// Port 0 takes a free port. Null when the port cannot be had.
HttpServerHandle StartHttpServer(int port, HttpRoutine routine);
int HttpServerPort(const HttpServer& server);

// "404 Not Found" for 404, and so on for the statuses the demo uses.
std::string StatusLine(int status);
// The whole response as it goes on the wire; HEAD gets the head alone.
std::string ResponseBytes(const HttpResponse& response, bool headOnly);
// Method and target of a request head; false when the head is no HTTP/1.x
// request line.
bool ParseRequestHead(const std::string& head, HttpRequest& request);
