#include "tests/support/result_site.h"

#include <httplib.h>

namespace testsupport {
namespace {

const std::string kRegionStart = "搜索到与";
const std::string kFooter = "Copyright  © 2024 the index";

std::string EntryRow(const ResultEntry& e) {
  std::string link = e.magnet ? "<a href=\"magnet:?" + e.hash + "\">magnet</a>" : "";
  std::string size = e.sizeCell ? "\n<td>" + e.size + "</td>" : "</td>";
  return "<tr><td>" + link + "</td><td><a href=\"/detail\" target=\"_blank\">" + e.title +
         "</a></td>" + size + "</tr>\n";
}

}  // namespace

std::string ResultPage(const std::vector<ResultEntry>& entries, const std::vector<int>& linkedPages,
                       int extraHashes) {
  std::string page = "<html><head><title>index</title></head><body>\n<p>" + kRegionStart +
                     " the keyword, results:</p>\n<table>\n";
  for (const ResultEntry& e : entries) page += EntryRow(e);
  for (int i = 0; i < extraHashes; ++i)
    page += "<tr><td><a href=\"magnet:?xt=urn:btih:extra" + std::to_string(i) + "\">m</a></td></tr>\n";
  page += "</table>\n<div class=\"pages\">";
  for (int n : linkedPages)
    page += "<a href=\"/?keyword=k&page=" + std::to_string(n) + "\">" + std::to_string(n) + "</a> ";
  page += "</div>\n<p>" + kFooter + "</p></body></html>\n";
  return page;
}

std::vector<ResultEntry> NumberedEntries(const std::string& tag, int count) {
  std::vector<ResultEntry> entries;
  for (int i = 1; i <= count; ++i) {
    std::string n = std::to_string(i);
    entries.push_back({tag + " title " + n, "xt=urn:btih:" + tag + n, n + "." + tag + " MB"});
  }
  return entries;
}

ResultSite::ResultSite() : server_(std::make_unique<httplib::Server>()) {
  server_->Get("/", [this](const httplib::Request& req, httplib::Response& res) {
    std::string asked = req.has_param("page") ? req.get_param_value("page") : "1";
    int page = std::atoi(asked.c_str());
    std::unique_lock lock(mutex_);
    pagesAsked_.push_back(asked);
    keywords_.push_back(req.get_param_value("keyword"));
    targets_.push_back(req.target);
    waiting_.insert(page);
    changed_.notify_all();
    changed_.wait(lock, [&] { return stopping_ || !held_.count(page); });
    waiting_.erase(page);
    auto found = pages_.find(page);
    if (found == pages_.end()) {
      res.set_content("<html><body>nothing here</body></html>", "text/html; charset=utf-8");
      return;
    }
    res.status = found->second.status;
    res.set_content(found->second.body, "text/html; charset=utf-8");
  });
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) return;  // base() then names port 0, and every fetch fails
  thread_ = std::thread([this] {
    server_->listen_after_bind();
    listenEnded_ = true;
  });
  // stop() is lost on a server that is not yet running.
  while (!server_->is_running() && !listenEnded_) std::this_thread::yield();
}

ResultSite::~ResultSite() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

std::string ResultSite::base() const { return "http://127.0.0.1:" + std::to_string(port_); }

void ResultSite::SetPage(int page, const std::string& body, int status) {
  std::lock_guard lock(mutex_);
  pages_[page] = Reply{body, status};
}

void ResultSite::Clear() {
  std::lock_guard lock(mutex_);
  pages_.clear();
  pagesAsked_.clear();
  keywords_.clear();
  targets_.clear();
}

void ResultSite::Hold(int page) {
  std::lock_guard lock(mutex_);
  held_.insert(page);
}

void ResultSite::Release(int page) {
  {
    std::lock_guard lock(mutex_);
    held_.erase(page);
  }
  changed_.notify_all();
}

bool ResultSite::IsWaiting(int page) const {
  std::lock_guard lock(mutex_);
  return waiting_.count(page) > 0;
}

std::vector<std::string> ResultSite::requestedPages() const {
  std::lock_guard lock(mutex_);
  return pagesAsked_;
}

std::vector<std::string> ResultSite::keywords() const {
  std::lock_guard lock(mutex_);
  return keywords_;
}

std::vector<std::string> ResultSite::targets() const {
  std::lock_guard lock(mutex_);
  return targets_;
}

}  // namespace testsupport
