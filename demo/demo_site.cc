#include "demo/demo_site.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "demo/catalogue.h"
#include "demo/http_server.h"
#include "demo/result_pages.h"

struct DemoSite {
  HttpServerHandle server;
};

namespace {

const char kHtml[] = "text/html; charset=utf-8";

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }

// %XX escapes undone; a "%" without two hex digits stays as it is.
Text PercentDecode(const Text& t, bool plusIsSpace) {
  Text out;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '%' && i + 2 < t.size() && IsHex(t[i + 1]) &&
        IsHex(t[i + 2])) {
      out += static_cast<char>(HexValue(t[i + 1]) * 16 + HexValue(t[i + 2]));
      i += 2;
    } else {
      out += plusIsSpace && t[i] == '+' ? ' ' : t[i];
    }
  }
  return out;
}

// The decoded value of `name` in a query; empty when it is not there.
Text QueryValue(const Text& query, const Text& name) {
  size_t begin = 0;
  while (begin <= query.size()) {
    size_t end = std::min(query.find('&', begin), query.size());
    const Text pair = query.substr(begin, end - begin);
    if (pair.compare(0, name.size() + 1, name + "=") == 0)
      return PercentDecode(pair.substr(name.size() + 1), true);
    begin = end + 1;
  }
  return Text();
}

// 0 for anything but a positive decimal number; numbers past any real page
// all read as the same page beyond the last.
int PageNumber(const Text& text) {
  if (text.empty()) return 1;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return 0;
  if (text.size() > 9) return 1 << 30;
  return std::stoi(text);
}

HttpResponse Html(int status, const Text& body) {
  HttpResponse response;
  response.status = status;
  response.contentType = kHtml;
  response.body = body;
  return response;
}

HttpResponse AnswerSearch(const Text& query) {
  const int page = PageNumber(QueryValue(query, "page"));
  if (page < 1) return Html(400, ErrorPageHtml("400 Bad Request", "页码必须是正整数"));
  return Html(200, ResultPageHtml(QueryValue(query, "keyword"), page));
}

HttpResponse AnswerTorrent(const Text& query) {
  // The program sends the magnet address unescaped, so its own "&dn=" would
  // look like a parameter of ours: the address is all that follows "magnet=".
  const Text key = "magnet=";
  const Text magnet =
      query.compare(0, key.size(), key) == 0 ? PercentDecode(query.substr(key.size()), false) : "";
  const CatalogueEntry* entry = EntryByHash(MagnetHash(magnet));
  if (!entry) return Html(404, ErrorPageHtml("404 Not Found", "没有这个种子: " + magnet));
  HttpResponse response;
  response.contentType = "application/x-bittorrent";
  response.headers.push_back(
      {"Content-Disposition", "attachment; filename=\"" + entry->btih + ".torrent\""});
  response.body = entry->torrent;
  return response;
}

HttpResponse Answer(const HttpRequest& request, int latencyMs) {
  if (latencyMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(latencyMs));
  const size_t mark = request.target.find('?');
  const Text path = request.target.substr(0, mark);
  const Text query = mark == Text::npos ? Text() : request.target.substr(mark + 1);
  if (path == "/") return AnswerSearch(query);
  if (path == "/magnet-bt/torrent.php") return AnswerTorrent(query);
  return Html(404, ErrorPageHtml("404 Not Found", "这里没有页面: " + PercentDecode(path, false)));
}

}  // namespace

void DemoSiteStop::operator()(DemoSite* site) const { delete site; }

DemoSiteHandle StartDemoSite(int port, int latencyMs) {
  Catalogue();  // built before the first request, not during it
  HttpServerHandle server = StartHttpServer(
      port, [latencyMs](const HttpRequest& request) { return Answer(request, latencyMs); });
  if (!server) return nullptr;
  DemoSiteHandle site(new DemoSite);
  site->server = std::move(server);
  return site;
}

int DemoSitePort(const DemoSite& site) { return HttpServerPort(*site.server); }

Text DemoSiteAddress(const DemoSite& site) {
  return "http://127.0.0.1:" + std::to_string(DemoSitePort(site));
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
