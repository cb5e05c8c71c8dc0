#include "tests/support/raw_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace testsupport {

namespace {

constexpr size_t kMaxRequest = 16 << 20;

int ListenOnLoopback(int& port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 64) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    close(fd);
    return -1;
  }
  port = ntohs(addr.sin_port);
  return fd;
}

size_t ContentLength(const std::string& head) {
  std::string lower(head);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  size_t at = lower.find("\r\ncontent-length:");
  if (at == std::string::npos) return 0;
  return std::strtoul(lower.c_str() + at + 17, nullptr, 10);
}

// The head up to the empty line, then the announced body; what arrived so far
// when the peer stops early.
std::string ReadRequest(int fd) {
  std::string data;
  char buf[8192];
  size_t want = std::string::npos;
  while (data.size() < std::min(want, kMaxRequest)) {
    ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    data.append(buf, size_t(n));
    if (want == std::string::npos) {
      size_t end = data.find("\r\n\r\n");
      if (end != std::string::npos) want = end + 4 + ContentLength(data.substr(0, end + 2));
    }
  }
  return data;
}

bool SendAll(int fd, const char* data, size_t size) {
  size_t sent = 0;
  while (sent < size) {
    ssize_t n = send(fd, data + sent, size - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += size_t(n);
  }
  return true;
}

bool SendAll(int fd, const std::string& bytes) { return SendAll(fd, bytes.data(), bytes.size()); }

bool SendFiller(int fd, const RawReply& reply) {
  if (reply.filler.empty()) return true;
  // Whole copies gathered into blocks of about a MiB keep the system calls few.
  std::string block;
  while (block.size() < (size_t(1) << 20)) block += reply.filler;
  for (int64_t left = reply.fillerBytes; left > 0;) {
    size_t n = size_t(std::min<int64_t>(left, int64_t(block.size())));
    if (!SendAll(fd, block.data(), n)) return false;
    left -= int64_t(n);
  }
  return true;
}

void Reset(int fd) {
  linger hard{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
}

}  // namespace

RawHttpServer::RawHttpServer(std::vector<RawReply> script)
    : RawHttpServer([script = std::move(script), next = size_t(0)](const std::string&) mutable {
        if (script.empty()) return RawReply{};
        RawReply reply = script[std::min(next, script.size() - 1)];
        ++next;
        return reply;
      }) {}

RawHttpServer::RawHttpServer(std::function<RawReply(const std::string&)> answer)
    : answer_(std::move(answer)) {
  listenFd_ = ListenOnLoopback(port_);
  if (listenFd_ >= 0) acceptor_ = std::thread([this] { AcceptLoop(); });
}

RawHttpServer::~RawHttpServer() {
  stopping_ = true;
  if (listenFd_ >= 0) shutdown(listenFd_, SHUT_RDWR);
  if (acceptor_.joinable()) acceptor_.join();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int fd : openFds_) shutdown(fd, SHUT_RDWR);
  }
  for (auto& t : workers_) t.join();
  if (listenFd_ >= 0) close(listenFd_);
}

std::string RawHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> RawHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

bool RawHttpServer::WaitForRequests(size_t count, std::chrono::milliseconds timeout) const {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (Requests().size() < count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void RawHttpServer::AcceptLoop() {
  while (!stopping_) {
    int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (stopping_) return;
      continue;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
      close(fd);
      return;
    }
    openFds_.push_back(fd);
    workers_.emplace_back([this, fd] { Serve(fd); });
  }
}

void RawHttpServer::Serve(int fd) {
  std::string request = ReadRequest(fd);
  RawReply reply;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
    reply = answer_(request);
  }
  if (SendAll(fd, reply.bytes) && SendFiller(fd, reply)) SendAll(fd, reply.tail);
  if (reply.reset) Reset(fd);
  if (reply.stall) {
    char c;
    while (!stopping_ && recv(fd, &c, 1, 0) > 0) {
    }
  }
  if (!reply.reset) shutdown(fd, SHUT_WR);
  std::lock_guard<std::mutex> lock(mutex_);
  openFds_.erase(std::find(openFds_.begin(), openFds_.end(), fd));
  close(fd);
}

int RefusedPort() {
  int port = 0;
  int fd = ListenOnLoopback(port);
  if (fd >= 0) close(fd);
  return port;
}

std::string HttpResponse(const std::string& body, const std::string& status,
                         const std::string& extraHeaders) {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
         extraHeaders + "\r\n" + body;
}

}  // namespace testsupport
