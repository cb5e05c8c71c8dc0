#include "demo/demo_site.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "demo/catalogue.h"
#include "demo/result_pages.h"

struct DemoSite {
  httplib::Server server;
  std::thread listener;
  int port = 0;
};

namespace {

const char kHtml[] = "text/html; charset=utf-8";

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// 0 for anything but a positive decimal number; numbers past any real page
// all read as the same page beyond the last.
int PageNumber(const std::string& text) {
  if (text.empty()) return 1;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return 0;
  if (text.size() > 9) return 1 << 30;
  return std::stoi(text);
}

void AnswerSearch(const httplib::Request& req, httplib::Response& res) {
  const int page = PageNumber(req.get_param_value("page"));
  if (page < 1) {
    res.status = 400;
    res.set_content(ErrorPageHtml("400 Bad Request", "页码必须是正整数"), kHtml);
    return;
  }
  res.set_content(ResultPageHtml(req.get_param_value("keyword"), page), kHtml);
}

void AnswerTorrent(const httplib::Request& req, httplib::Response& res) {
  // The program puts the magnet address into the query unescaped, so its own
  // "&dn=" would split it as a parameter: read the raw target instead.
  const std::string& target = req.target;
  const size_t at = target.find("magnet=");
  const Text magnet =
      at == std::string::npos ? Text() : httplib::detail::decode_url(target.substr(at + 7), false);
  const CatalogueEntry* entry = EntryByHash(MagnetHash(magnet));
  if (!entry) {
    res.status = 404;
    res.set_content(ErrorPageHtml("404 Not Found", "没有这个种子: " + magnet), kHtml);
    return;
  }
  res.set_header("Content-Disposition", "attachment; filename=\"" + entry->btih + ".torrent\"");
  res.set_content(entry->torrent, "application/x-bittorrent");
}

}  // namespace

void DemoSiteStop::operator()(DemoSite* site) const {
  site->server.stop();
  if (site->listener.joinable()) site->listener.join();
  delete site;
}

DemoSiteHandle StartDemoSite(int port, int latencyMs) {
  Catalogue();  // built before the first request, not during it
  DemoSiteHandle site(new DemoSite);
  httplib::Server& server = site->server;
  server.set_pre_routing_handler([latencyMs](const httplib::Request&, httplib::Response&) {
    if (latencyMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(latencyMs));
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server.Get("/", AnswerSearch);
  server.Get("/magnet-bt/torrent.php", AnswerTorrent);
  server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty())
      res.set_content(ErrorPageHtml(std::to_string(res.status), "这里没有页面"), kHtml);
  });
  if (port == 0)
    site->port = server.bind_to_any_port("127.0.0.1");
  else
    site->port = server.bind_to_port("127.0.0.1", port) ? port : -1;
  if (site->port <= 0) return nullptr;
  DemoSite* running = site.get();
  site->listener = std::thread([running] { running->server.listen_after_bind(); });
  return site;
}

int DemoSitePort(const DemoSite& site) { return site.port; }

Text DemoSiteAddress(const DemoSite& site) {
  return "http://127.0.0.1:" + std::to_string(site.port);
}

Text MagnetHash(const Text& magnet) {
  Text lower = magnet;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  const size_t at = lower.find("btih:");
  if (at == Text::npos) return Text();
  Text hash = magnet.substr(at + 5, 40);
  if (hash.size() != 40 || !std::all_of(hash.begin(), hash.end(), IsHex)) return Text();
  if (at + 45 < magnet.size() && IsHex(magnet[at + 45])) return Text();
  for (char& c : hash)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return hash;
}
