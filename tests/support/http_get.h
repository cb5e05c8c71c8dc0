#pragma once
// A bare HTTP client for tests of our own loopback servers: the request goes
// out byte for byte as given, so that malformed requests can be sent too.
#include <string>

namespace testsupport {

struct HttpReply {
  int status = 0;  // 0 when no reply came
  std::string head;
  std::string body;
};

// Sends `request` whole to 127.0.0.1:port and reads the reply until the
// server closes the connection.
HttpReply HttpExchange(int port, const std::string& request);
// A GET of `target`, sent exactly as written.
HttpReply HttpGet(int port, const std::string& target);
// The value of a header line of the reply's head; empty when it has none.
std::string HeaderValue(const HttpReply& reply, const std::string& name);

}  // namespace testsupport
