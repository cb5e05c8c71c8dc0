#include "tests/support/torrent_service.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace testsupport {
namespace {

Text HashIn(const std::string& target) {
  size_t at = target.find("btih:");
  if (at == std::string::npos) return Text();
  at += 5;
  return target.substr(at, target.find('&', at) - at);
}

// The request line's target and version, and the Accept line's value.
ServiceRequest Parse(const std::string& head) {
  ServiceRequest parsed;
  std::string line = head.substr(0, head.find("\r\n"));
  size_t first = line.find(' '), last = line.rfind(' ');
  if (first != std::string::npos && last > first) {
    parsed.target = line.substr(first + 1, last - first - 1);
    parsed.version = line.substr(last + 1);
  }
  size_t accept = head.find("\r\nAccept: ");
  if (accept != std::string::npos) {
    accept += 10;
    parsed.accept = head.substr(accept, head.find("\r\n", accept) - accept);
  }
  return parsed;
}

std::string ReadHead(int fd) {
  std::string head;
  char c;
  while (head.size() < 65536 && head.find("\r\n\r\n") == std::string::npos &&
         recv(fd, &c, 1, 0) == 1)
    head += c;
  return head;
}

bool SendAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool SendAll(int fd, const std::string& bytes) { return SendAll(fd, bytes.data(), bytes.size()); }

std::string Head(int status, int64_t length) {
  std::string head = "HTTP/1.0 " + std::to_string(status) + (status < 400 ? " OK" : " Error") +
                     "\r\nContent-Type: application/x-bittorrent\r\n";
  if (length >= 0) head += "Content-Length: " + std::to_string(length) + "\r\n";
  return head + "\r\n";
}

}  // namespace

ServiceAnswer Serves(const Bytes& body, int status) {
  ServiceAnswer answer;
  answer.body = body;
  answer.status = status;
  return answer;
}

ServiceAnswer CutShort(const Bytes& body) {
  ServiceAnswer answer = Serves(body);
  answer.cutShort = true;
  return answer;
}

ServiceAnswer Held(const Bytes& body) {
  ServiceAnswer answer = Serves(body);
  answer.hold = true;
  return answer;
}

ServiceAnswer Streamed(int64_t bytes) {
  ServiceAnswer answer;
  answer.streamedBytes = bytes;
  return answer;
}

TorrentService::TorrentService() {
  listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(listenFd_, 64) != 0 ||
      getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return;
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

TorrentService::~TorrentService() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    release_ = true;
    for (int fd : openFds_) shutdown(fd, SHUT_RDWR);
  }
  released_.notify_all();
  if (listenFd_ >= 0) shutdown(listenFd_, SHUT_RDWR);
  if (acceptor_.joinable()) acceptor_.join();
  for (auto& worker : workers_) worker.join();
  if (listenFd_ >= 0) close(listenFd_);
}

void TorrentService::AcceptLoop() {
  for (;;) {
    int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
      if (fd >= 0) close(fd);
      return;
    }
    if (fd < 0) continue;
    openFds_.push_back(fd);
    workers_.emplace_back([this, fd] { Serve(fd); });
  }
}

void TorrentService::Serve(int fd) {
  ServiceRequest request = Parse(ReadHead(fd));
  ServiceAnswer answer;
  bool known = false;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    requests_.push_back(request);
    auto found = answers_.find(HashIn(request.target));
    known = request.target.rfind("/magnet-bt/torrent.php?magnet=", 0) == 0 &&
            found != answers_.end();
    if (known) answer = found->second;
    if (known && answer.hold) {
      ++waiting_;
      const Text hash = HashIn(request.target);
      released_.wait_for(lock, std::chrono::seconds(20),
                         [&] { return release_ || releasedHashes_.count(hash) > 0; });
      --waiting_;
    }
    lastAnswered_ = std::chrono::steady_clock::now();
  }
  Send(fd, answer, known);
  shutdown(fd, SHUT_WR);
  char c;
  while (recv(fd, &c, 1, 0) > 0) {
  }
  std::lock_guard<std::mutex> lock(mutex_);
  openFds_.erase(std::find(openFds_.begin(), openFds_.end(), fd));
  close(fd);
}

void TorrentService::Send(int fd, const ServiceAnswer& answer, bool known) {
  if (!known) {
    const std::string page = "<html><body>No such torrent</body></html>";
    SendAll(fd, Head(404, static_cast<int64_t>(page.size())) + page);
  } else if (answer.streamedBytes > 0) {
    // No length: the body ends when the connection does.
    if (!SendAll(fd, Head(answer.status, -1))) return;
    const std::string chunk(1 << 20, 'x');
    for (int64_t sent = 0; sent < answer.streamedBytes; sent += static_cast<int64_t>(chunk.size()))
      if (!SendAll(fd, chunk)) return;
  } else if (answer.cutShort) {
    SendAll(fd, Head(answer.status, static_cast<int64_t>(answer.body.size())) +
                    answer.body.substr(0, answer.body.size() / 2));
  } else {
    SendAll(fd, Head(answer.status, static_cast<int64_t>(answer.body.size())) + answer.body);
  }
}

Text TorrentService::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

void TorrentService::Answer(const Text& hash, const ServiceAnswer& answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[hash] = answer;
}

void TorrentService::Release() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    release_ = true;
  }
  released_.notify_all();
}

void TorrentService::Release(const Text& hash) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    releasedHashes_.insert(hash);
  }
  released_.notify_all();
}

std::vector<ServiceRequest> TorrentService::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

int TorrentService::Waiting() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return waiting_;
}

std::chrono::steady_clock::time_point TorrentService::LastAnswered() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastAnswered_;
}

}  // namespace testsupport
