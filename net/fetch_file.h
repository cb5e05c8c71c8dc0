#pragma once
// Fetching a whole file over HTTP(S) as bytes.
#include <cstdint>

#include "text/text.h"

// More than any torrent a service hands out; a larger answer is refused
// rather than held in memory.
inline constexpr int64_t kMaxFileBytes = 32 * 1024 * 1024;

// What the bytes alone cannot say.
struct FileFetchOutcome {
  bool ok = false;  // a 2xx response whose whole body arrived, within the bound
  int status = 0;   // 0 when no response came
};

// The body of a GET of `address` (http or https; the fragment is not sent),
// through the system's proxy settings, over one session kept for the whole
// run. Empty when no request could be made; the body of an error page or the
// part of a body that came before a failure otherwise, and nothing past
// kMaxFileBytes. `outcome` tells whether that is the complete file.
Bytes FetchFileBytes(const Text& address, FileFetchOutcome* outcome = nullptr);

// The parts of an address FetchFileBytes requests; false for an address it
// would not request.
struct AddressParts {
  bool secure = false;
  Text host;
  int port = 0;
  Text object;  // path and query, starting with "/"
  Text user;
  Text password;
};
bool SplitAddress(const Text& address, AddressParts* parts);
// Decimal digits naming a port from 1 to 65535; false, and nothing written,
// for anything else.
bool ParsePort(const Text& digits, int* port);
