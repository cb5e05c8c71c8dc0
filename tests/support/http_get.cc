#include "tests/support/http_get.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace testsupport {

HttpReply HttpExchange(int port, const std::string& request) {
  HttpReply reply;
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return reply;
  timeval timeout{20, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string raw;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
          static_cast<ssize_t>(request.size())) {
    shutdown(fd, SHUT_WR);  // a cut-off request is answered now, not at a timeout
    char block[4096];
    for (ssize_t n; (n = recv(fd, block, sizeof block, 0)) > 0;) raw.append(block, n);
  }
  close(fd);
  const size_t end = raw.find("\r\n\r\n");
  if (raw.rfind("HTTP/1.", 0) != 0 || end == std::string::npos || raw.size() < 12) return reply;
  reply.status = std::atoi(raw.c_str() + 9);
  reply.head = raw.substr(0, end + 2);
  reply.body = raw.substr(end + 4);
  return reply;
}

HttpReply HttpGet(int port, const std::string& target) {
  return HttpExchange(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
}

std::string HeaderValue(const HttpReply& reply, const std::string& name) {
  const std::string key = "\r\n" + name + ": ";
  const size_t at = reply.head.find(key);
  if (at == std::string::npos) return std::string();
  const size_t begin = at + key.size();
  return reply.head.substr(begin, reply.head.find("\r\n", begin) - begin);
}

}  // namespace testsupport
