#pragma once
// A loopback HTTP server for tests that speaks raw bytes: it records every
// request exactly as it came and answers with scripted bytes.
//
//   RawHttpServer server({RawReply{"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhi"}});
//   ... fetch server.Url("/path") ...
//   server.WaitForRequests(1);
//   EXPECT_EQ(server.Requests()[0], "GET /path HTTP/1.1\r\n...");
//
// It listens on 127.0.0.1 on a port the system chooses. Each connection
// reads one request (the head up to the empty line, then as many body bytes
// as its Content-Length says), records it, sends the next reply of the script
// (the last one again when the script has run out) and closes. Connections are
// served in parallel. The destructor ends stalled connections and joins every
// thread.
#include <atomic>
#include <cstdint>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

struct RawReply {
  std::string bytes;      // sent as they stand, e.g. a head that promises more than follows
  bool stall = false;  // after the bytes, keep the connection open and silent until the server ends
  // Large bodies without holding them: `filler` repeated until `fillerBytes`
  // bytes of it went out (the last copy cut short), then `tail`. Sending stops
  // when the client hangs up.
  std::string filler{};
  int64_t fillerBytes = 0;
  std::string tail{};
  bool reset = false;  // end the connection with a reset instead of a close
};

class RawHttpServer {
 public:
  explicit RawHttpServer(std::vector<RawReply> script);
  // The reply is computed from the recorded request (e.g. by its path).
  explicit RawHttpServer(std::function<RawReply(const std::string& request)> answer);
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  int Port() const { return port_; }
  // "http://127.0.0.1:PORT" + path.
  std::string Url(const std::string& path = "/") const;
  // Every request so far, in the order they were read.
  std::vector<std::string> Requests() const;
  bool WaitForRequests(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

 private:
  void AcceptLoop();
  void Serve(int fd);

  std::function<RawReply(const std::string&)> answer_;
  int listenFd_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<int> openFds_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

// A loopback port that nothing listens on (connections to it are refused).
int RefusedPort();

// "HTTP/1.1 <status>\r\nContent-Length: N\r\n<extra>\r\n" + body.
std::string HttpResponse(const std::string& body, const std::string& status = "200 OK",
                         const std::string& extraHeaders = "");

}  // namespace testsupport
