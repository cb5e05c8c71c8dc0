#pragma once
// A search site on 127.0.0.1 for tests and benchmarks: serves result pages
// built from small templates and records which pages were asked for.
#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace testsupport {

// Bytes as the site writes them (UTF-8).
struct ResultEntry {
  std::string title;
  std::string hash;  // the magnet link's query, e.g. "xt=urn:btih:..."
  std::string size;  // the size cell's text after "<td>"
  bool magnet = true;    // false: the row has no magnet link
  bool sizeCell = true;  // false: the title's cell is closed twice, leaving no size cell
};

// A result page: the results region with one table row per entry, links to
// `linkedPages`, the footer. `extraHashes` adds magnet links without a title.
std::string ResultPage(const std::vector<ResultEntry>& entries, const std::vector<int>& linkedPages,
                       int extraHashes = 0);
// `count` entries whose titles, hashes and sizes carry `tag` and their index.
std::vector<ResultEntry> NumberedEntries(const std::string& tag, int count);

class ResultSite {
 public:
  ResultSite();
  ~ResultSite();
  ResultSite(const ResultSite&) = delete;
  ResultSite& operator=(const ResultSite&) = delete;

  std::string base() const;  // "http://127.0.0.1:port"
  // Page 1 is the request without "&page=". Pages not set get an empty 200.
  void SetPage(int page, const std::string& body, int status = 200);
  void Clear();
  // A request for `page` waits until Release(page) (or the site goes down).
  void Hold(int page);
  void Release(int page);
  // Whether a request for `page` is waiting now. Poll it with WaitUntil: the
  // user-interface thread must keep running for the search to get there.
  bool IsWaiting(int page) const;

  // In arrival order: the "page" parameter ("1" when absent), the decoded
  // "keyword" parameter, the raw request target.
  std::vector<std::string> requestedPages() const;
  std::vector<std::string> keywords() const;
  std::vector<std::string> targets() const;

 private:
  struct Reply {
    std::string body;
    int status;
  };
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  std::atomic<bool> listenEnded_ = false;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::map<int, Reply> pages_;
  std::set<int> held_;
  std::set<int> waiting_;
  bool stopping_ = false;
  std::vector<std::string> pagesAsked_, keywords_, targets_;
};

}  // namespace testsupport
