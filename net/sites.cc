#include "net/sites.h"

#include "net/fetch_file.h"

#include <cctype>
#include <optional>

namespace {

Text searchSite = Text("http://") + kSearchSiteHost;
Text torrentService = Text("http://") + kTorrentServiceHost;

bool IsHostChar(unsigned char c) { return std::isalnum(c) || c == '.' || c == '-' || c == '_'; }

std::optional<Text> NormaliseBase(Text url) {
  const Text scheme = "http://";
  if (url.size() >= scheme.size() && LowerText(url.substr(0, scheme.size())) == scheme)
    url.erase(0, scheme.size());
  else if (url.find("://") != Text::npos)
    return std::nullopt;  // only plain http is spoken
  if (!url.empty() && url.back() == '/') url.pop_back();
  size_t colon = url.find(':');
  Text host = LowerText(url.substr(0, colon));
  if (host.empty()) return std::nullopt;
  for (unsigned char c : host)
    if (!IsHostChar(c)) return std::nullopt;
  if (colon == Text::npos) return scheme + host;
  Text port = url.substr(colon + 1);
  int number = 0;
  if (!ParsePort(port, &number)) return std::nullopt;
  return scheme + host + ":" + port;
}

bool Replace(Text& slot, const Text& url) {
  auto base = NormaliseBase(url);
  if (!base) return false;
  slot = *base;
  return true;
}

}  // namespace

Text SearchSiteBase() { return searchSite; }
Text TorrentServiceBase() { return torrentService; }
bool SetSearchSite(const Text& url) { return Replace(searchSite, url); }
bool SetTorrentService(const Text& url) { return Replace(torrentService, url); }
