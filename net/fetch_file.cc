#include "net/fetch_file.h"

#include <mutex>

#include "platform/inet.h"

namespace {

const Text kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr int kBlockSize = 64 * 1024;

bool HasPrefixNoCase(const Text& t, const Text& lowerPrefix) {
  return LowerText(TextLeft(t, TextLength(lowerPrefix))) == lowerPrefix;
}

// Opened at the first download and kept to the end of the run; a session
// that could not be opened is tried again next time.
std::mutex sessionMutex;
inet::Session sharedSession;

const inet::Session* SharedSession() {
  std::lock_guard<std::mutex> lock(sessionMutex);
  if (!sharedSession) sharedSession = inet::OpenSession(kUserAgent, inet::Access::Preconfig);
  return sharedSession ? &sharedSession : nullptr;
}

}  // namespace

bool ParsePort(const Text& digits, int* port) {
  if (digits.empty() || digits.size() > 5) return false;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 65535) return false;
  *port = value;
  return true;
}

bool SplitAddress(const Text& address, AddressParts* parts) {
  Text rest = address.substr(0, address.find('#'));
  AddressParts p;
  if (HasPrefixNoCase(rest, "http://")) {
    rest.erase(0, 7);
  } else if (HasPrefixNoCase(rest, "https://")) {
    rest.erase(0, 8);
    p.secure = true;
  } else {
    return false;
  }
  size_t objectAt = rest.find_first_of("/?");
  Text authority = rest.substr(0, objectAt);
  if (objectAt == Text::npos)
    p.object = "/";
  else
    p.object = (rest[objectAt] == '?' ? "/" : "") + rest.substr(objectAt);

  size_t at = authority.rfind('@');
  if (at != Text::npos) {
    Text userInfo = authority.substr(0, at);
    authority.erase(0, at + 1);
    size_t colon = userInfo.find(':');
    p.user = userInfo.substr(0, colon);
    if (colon != Text::npos) p.password = userInfo.substr(colon + 1);
  }
  size_t colon = authority.find(':');
  p.host = authority.substr(0, colon);
  p.port = p.secure ? 443 : 80;
  if (colon != Text::npos && !ParsePort(authority.substr(colon + 1), &p.port)) return false;
  if (p.host.empty()) return false;
  *parts = p;
  return true;
}

Bytes FetchFileBytes(const Text& address, FileFetchOutcome* outcome) {
  FileFetchOutcome result;
  if (outcome) *outcome = result;
  AddressParts parts;
  if (address.empty() || !SplitAddress(address, &parts)) return Bytes();
  const inet::Session* session = SharedSession();
  if (!session) return Bytes();
  inet::Connection connection =
      inet::Connect(*session, parts.host, parts.port, parts.user, parts.password);
  if (!connection) return Bytes();
  uint32_t flags = inet::kFlagReload | inet::kFlagNoCacheWrite;
  if (parts.secure) flags |= inet::kFlagSecure;
  inet::Request request = inet::OpenRequest(connection, "GET", parts.object, "HTTP/1.0", flags);
  if (!request || !inet::SendRequest(request, "Accept: */*\r\n\r\n")) return Bytes();

  Bytes body;
  Bytes block(kBlockSize, '\0');
  bool tooLarge = false;
  for (;;) {
    int n = inet::ReadData(request, block.data(), kBlockSize);
    if (n <= 0) break;
    if (static_cast<int64_t>(body.size()) + n > kMaxFileBytes) {
      tooLarge = true;
      break;
    }
    body.append(block.data(), static_cast<size_t>(n));
  }
  result.status = inet::StatusCode(request);
  result.ok = !tooLarge && result.status >= 200 && result.status < 300 &&
              inet::TransferSucceeded(request);
  if (outcome) *outcome = result;
  return body;
}
