#include "demo/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <thread>

struct HttpServer {
  int listenFd = -1;
  int port = 0;
  HttpRoutine routine;
  std::thread acceptor;
  std::atomic<bool> stopping = false;
  std::mutex mutex;
  std::condition_variable idle;
  int connections = 0;
};

namespace {

// Bounds on what a client can make the server hold or wait for.
constexpr size_t kMaxHead = 16 * 1024;
constexpr int kMaxConnections = 64;
constexpr int kSocketTimeoutSeconds = 10;

void SendAll(int fd, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the client has gone; nobody is left to tell
    sent += static_cast<size_t>(n);
  }
}

HttpResponse PlainError(int status) {
  HttpResponse response;
  response.status = status;
  response.contentType = "text/plain; charset=utf-8";
  response.body = StatusLine(status) + "\n";
  return response;
}

// Reads up to the blank line that ends the head; false when the client stops
// early, stalls past the timeout, or sends more than kMaxHead first.
bool ReadHead(int fd, std::string& head) {
  char block[2048];
  while (head.find("\r\n\r\n") == std::string::npos) {
    if (head.size() > kMaxHead) return false;
    ssize_t n = recv(fd, block, sizeof block, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    head.append(block, static_cast<size_t>(n));
  }
  return true;
}

void Serve(HttpServer* server, int fd) {
  timeval timeout{kSocketTimeoutSeconds, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  std::string head;
  HttpRequest request;
  HttpResponse response;
  if (!ReadHead(fd, head)) {
    response = PlainError(head.size() > kMaxHead ? 431 : 400);
  } else if (!ParseRequestHead(head, request)) {
    response = PlainError(400);
  } else if (request.method != "GET" && request.method != "HEAD") {
    response = PlainError(405);
  } else {
    response = server->routine(request);
  }
  SendAll(fd, ResponseBytes(response, request.method == "HEAD"));
  shutdown(fd, SHUT_WR);
  // Closing with unread input would reset the connection and could throw
  // away the answer before the client has read it.
  timeval drain{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &drain, sizeof drain);
  char block[4096];
  for (size_t left = 256 * 1024; left > 0;) {
    ssize_t n = recv(fd, block, sizeof block, 0);
    if (n <= 0) break;
    left -= std::min(left, static_cast<size_t>(n));
  }
  close(fd);
}

void AcceptLoop(HttpServer* server) {
  while (!server->stopping) {
    int fd = accept4(server->listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (server->stopping) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));  // out of descriptors
      continue;
    }
    {
      std::lock_guard<std::mutex> lock(server->mutex);
      if (server->connections >= kMaxConnections) {
        SendAll(fd, ResponseBytes(PlainError(503), false));
        close(fd);
        continue;
      }
      ++server->connections;
    }
    std::thread([server, fd] {
      Serve(server, fd);
      std::lock_guard<std::mutex> lock(server->mutex);
      if (--server->connections == 0) server->idle.notify_all();
    }).detach();
  }
}

}  // namespace

void HttpServerStop::operator()(HttpServer* server) const {
  server->stopping = true;
  // Wakes the accept call; Linux ends it with an error.
  shutdown(server->listenFd, SHUT_RDWR);
  if (server->acceptor.joinable()) server->acceptor.join();
  {
    std::unique_lock<std::mutex> lock(server->mutex);
    server->idle.wait(lock, [server] { return server->connections == 0; });
  }
  if (server->listenFd >= 0) close(server->listenFd);
  delete server;
}

HttpServerHandle StartHttpServer(int port, HttpRoutine routine) {
  HttpServerHandle server(new HttpServer);
  server->routine = std::move(routine);
  server->listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (server->listenFd < 0) return nullptr;
  int yes = 1;
  setsockopt(server->listenFd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(server->listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(server->listenFd, 128) != 0 ||
      getsockname(server->listenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return nullptr;
  server->port = ntohs(address.sin_port);
  HttpServer* running = server.get();
  server->acceptor = std::thread([running] { AcceptLoop(running); });
  return server;
}

int HttpServerPort(const HttpServer& server) { return server.port; }

std::string StatusLine(int status) {
  switch (status) {
    case 200: return "200 OK";
    case 400: return "400 Bad Request";
    case 404: return "404 Not Found";
    case 405: return "405 Method Not Allowed";
    case 431: return "431 Request Header Fields Too Large";
    case 503: return "503 Service Unavailable";
    default: return std::to_string(status) + " Error";
  }
}

std::string ResponseBytes(const HttpResponse& response, bool headOnly) {
  std::string bytes = "HTTP/1.1 " + StatusLine(response.status) + "\r\n";
  if (!response.contentType.empty()) bytes += "Content-Type: " + response.contentType + "\r\n";
  for (const auto& [name, value] : response.headers) bytes += name + ": " + value + "\r\n";
  bytes += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  bytes += "Connection: close\r\n\r\n";
  return headOnly ? bytes : bytes + response.body;
}

bool ParseRequestHead(const std::string& head, HttpRequest& request) {
  const std::string line = head.substr(0, head.find("\r\n"));
  const size_t firstSpace = line.find(' ');
  const size_t lastSpace = line.rfind(' ');
  if (firstSpace == std::string::npos || lastSpace == firstSpace) return false;
  const std::string version = line.substr(lastSpace + 1);
  if (version != "HTTP/1.1" && version != "HTTP/1.0") return false;
  request.method = line.substr(0, firstSpace);
  request.target = line.substr(firstSpace + 1, lastSpace - firstSpace - 1);
  return !request.method.empty() && !request.target.empty() && request.target[0] == '/' &&
         request.target.find(' ') == std::string::npos;
}
