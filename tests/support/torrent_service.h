#pragma once
// A magnet-to-torrent service on 127.0.0.1 for the download tests: it answers
// "/magnet-bt/torrent.php?magnet=..." by the btih hash in the request.
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include <thread>

#include "text/text.h"

namespace testsupport {

struct ServiceAnswer {
  int status = 200;
  Bytes body;
  bool cutShort = false;      // announces the whole body, sends half, hangs up
  bool hold = false;          // answers only after Release()
  int64_t streamedBytes = 0;  // instead of body: this many bytes, length unannounced
};

ServiceAnswer Serves(const Bytes& body, int status = 200);
ServiceAnswer CutShort(const Bytes& body);
ServiceAnswer Held(const Bytes& body);
ServiceAnswer Streamed(int64_t bytes);

struct ServiceRequest {
  std::string target;  // as it came, undecoded
  std::string version;
  std::string accept;
};

class TorrentService {
 public:
  TorrentService();
  ~TorrentService();
  TorrentService(const TorrentService&) = delete;
  TorrentService& operator=(const TorrentService&) = delete;

  // "http://127.0.0.1:port"
  Text Base() const;
  // Unknown hashes get a 404 page.
  void Answer(const Text& hash, const ServiceAnswer& answer);
  // Lets every held answer go, now and from now on.
  void Release();
  // Lets the held answers for one hash go.
  void Release(const Text& hash);
  std::vector<ServiceRequest> Requests() const;
  // Requests whose answer is held right now.
  int Waiting() const;
  // When the last answer left the handler.
  std::chrono::steady_clock::time_point LastAnswered() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable released_;
  bool release_ = false;
  std::set<Text> releasedHashes_;
  int waiting_ = 0;
  std::map<Text, ServiceAnswer> answers_;
  std::vector<ServiceRequest> requests_;
  std::chrono::steady_clock::time_point lastAnswered_;
  void AcceptLoop();
  void Serve(int fd);
  void Send(int fd, const ServiceAnswer& answer, bool known);

  int listenFd_ = -1;
  int port_ = 0;
  bool stopping_ = false;
  std::vector<int> openFds_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

}  // namespace testsupport
