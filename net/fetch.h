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
  bool ok = false;  // a response came with a 2xx status
  int status = 0;   // 0 when no response came
};

// The body up to its first NUL byte; empty Text on every failure.
Text FetchPageText(const Text& address, const FetchOptions& options = {},
                   FetchOutcome* outcome = nullptr);

Text UrlHost(const Text& address);
int32_t UrlPort(const Text& address);
Text UrlPath(const Text& address);
