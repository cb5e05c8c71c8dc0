#pragma once
// One HTTP request, the response body as Text.
#include "text/text.h"

struct FetchOptions {
  Text method;  // "POST" in any letter case selects a POST; anything else is GET
  Text proxy;   // host:port, used only with useProxy
  bool useProxy = false;
  Text extraHeaders;  // lines ending with CR LF
  Text body;          // sent only with POST
  Text* rawHeaders = nullptr;  // filled when capture is true
  bool capture = false;
};

// What FetchPageText's empty result cannot say: whether the fetch failed.
struct FetchOutcome {
  bool ok = false;        // a 2xx response whose whole body arrived
  int status = 0;         // 0 when no response came
  bool complete = false;  // the body ended as announced: not cut short, not timed out, not too large
};

// The body up to its first NUL byte; empty Text on every failure, and for a
// body beyond 64 MiB. The body of an error page is returned like any other:
// `outcome` tells the two apart. Pending messages of the calling thread are
// processed before every read.
Text FetchPageText(const Text& address, const FetchOptions& options = {},
                   FetchOutcome* outcome = nullptr);

Text UrlHost(const Text& address);
int32_t UrlPort(const Text& address);
Text UrlPath(const Text& address);
