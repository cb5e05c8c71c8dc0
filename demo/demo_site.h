#pragma once
// The demo index served over HTTP on 127.0.0.1, from threads of its own, so
// that the program can run against it in-process or from another process.
//
//   /?keyword=K[&page=N]                 result pages
//   /magnet-bt/torrent.php?magnet=M      the .torrent of the magnet's hash, or 404
#include <memory>

#include "text/text.h"

struct DemoSite;
struct DemoSiteStop {
  void operator()(DemoSite* site) const;
};
// Stops the site when it goes.
using DemoSiteHandle = std::unique_ptr<DemoSite, DemoSiteStop>;

// Port 0 takes a free port. Every answer waits latencyMs first. Null when the
// port cannot be had.
DemoSiteHandle StartDemoSite(int port = 0, int latencyMs = 0);
int DemoSitePort(const DemoSite& site);
// "http://127.0.0.1:PORT"
Text DemoSiteAddress(const DemoSite& site);

// The hex info hash named in a magnet address ("...btih:HASH..."), upper
// case; empty when it holds none of 40 hex digits.
Text MagnetHash(const Text& magnet);
