#pragma once
// The web addresses the program talks to. Each is a constant that a command
// line option may replace for the whole run (mirrors, tests, the demo index).
#include "text/text.h"

inline constexpr const char* kHomePageHost = "www.zendrel.example";
inline constexpr const char* kSearchSiteHost = "search.zendrel.example";
inline constexpr const char* kTorrentServiceHost = "torrent.zendrel.example";

// "http://" + host [":" + port], no trailing slash.
Text SearchSiteBase();
Text TorrentServiceBase();

// Takes "http://host[:port][/]" (the scheme may be left out); false, and
// nothing changed, for anything else.
bool SetSearchSite(const Text& url);
bool SetTorrentService(const Text& url);
