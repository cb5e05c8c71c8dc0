#include "net/fetch.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/inet.h"
#include "platform/ui.h"

namespace {

const Text kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
const Text kAcceptLine =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
constexpr int kTimeoutMs = 18000;
constexpr int kReadBlock = 512;
constexpr size_t kRawHeaderBuffer = 1024;
// A result page is a few hundred KiB; past this the answer is not a page.
constexpr size_t kMaxPageBytes = size_t(64) << 20;

bool HasPrefix(const Text& address) { return CompareText(TextLeft(address, 7), "http://", false) == 0; }

// The host with its ":" + port, before the first "/".
Text HostPart(const Text& address) {
  if (HasPrefix(address)) {
    int slash = FindText(address, "/", 8);
    if (slash > 0) return TextMid(address, 8, slash - 8);
    return ReplaceAt(address, 1, 7);
  }
  int slash = FindText(address, "/");
  if (slash > 0) return TextLeft(address, slash - 1);
  return address;
}

Text CompleteHeaders(Text headers, const Text& address) {
  if (FindText(headers, "Accept: ", 1, true) < 0) headers += kAcceptLine;
  if (FindText(headers, "Referer: ", 1, true) < 0) headers += "Referer: " + address + "\r\n";
  if (FindText(headers, "Accept-Language: ", 1, true) < 0) headers += "Accept-Language: zh-cn\r\n";
  return headers;
}

// The whole head, also when it outgrows the classic 1024-byte buffer; empty
// when no response came.
Text RawHeaders(const inet::Request& request) {
  Text head;
  size_t length = kRawHeaderBuffer;
  if (inet::QueryRawHeaders(request, head, length)) return head;
  if (length > kRawHeaderBuffer && inet::QueryRawHeaders(request, head, length)) return head;
  return Text();
}

}  // namespace

Text FetchPageText(const Text& address, const FetchOptions& options, FetchOutcome* outcome) {
  if (outcome) *outcome = FetchOutcome{};
  inet::Session session = options.useProxy
                              ? inet::OpenSession(kUserAgent, inet::Access::Proxy, "http=" + options.proxy)
                              : inet::OpenSession(kUserAgent, inet::Access::Direct);
  if (!session) return Text();
  inet::Connection connection = inet::Connect(session, UrlHost(address), UrlPort(address));
  if (!connection) return Text();

  const Text verb = UpperText(options.method) == "POST" ? options.method : Text("GET");
  inet::Request request = inet::OpenRequest(connection, verb, UrlPath(address), "HTTP/1.1", inet::kFlagReload);
  if (!request) return Text();
  inet::SetTimeout(request, inet::Timeout::Connect, kTimeoutMs);
  inet::SetTimeout(request, inet::Timeout::Receive, kTimeoutMs);
  inet::SetTimeout(request, inet::Timeout::Send, kTimeoutMs);

  Text headers = CompleteHeaders(options.extraHeaders, address);
  if (verb == "GET") {
    inet::SendRequest(request, headers);
  } else {
    if (!options.body.empty()) {
      headers += "Content-Type: application/x-www-form-urlencoded\r\n";
      headers += "Content-Length: " + std::to_string(options.body.size()) + "\r\n";
    }
    inet::SendRequest(request, headers, options.body);
  }

  Bytes body;
  bool tooLarge = false;
  int32_t count = 1;
  while (count > 0) {
    char block[kReadBlock] = {};
    ui::ProcessPendingMessages();
    count = inet::ReadData(request, block, kReadBlock);
    if (count > 0) body.append(block, size_t(count));
    if (body.size() > kMaxPageBytes) {
      tooLarge = true;
      break;
    }
  }

  if (options.capture && options.rawHeaders) *options.rawHeaders = RawHeaders(request);
  const int status = inet::StatusCode(request);
  if (outcome) {
    outcome->status = status;
    outcome->complete = !tooLarge && inet::TransferSucceeded(request);
    outcome->ok = outcome->complete && status >= 200 && status <= 299;
  }
  if (tooLarge) return Text();
  // Cut in place rather than copy: a page can be tens of megabytes.
  body.resize(std::min(body.size(), body.find('\0')));
  return body;
}

Text UrlHost(const Text& address) {
  Text host = HostPart(address);
  int colon = FindText(host, ":");
  if (colon > 0) host = TextLeft(host, colon - 1);
  return LowerText(host);
}

int32_t UrlPort(const Text& address) {
  Text host = HostPart(address);
  int colon = FindText(host, ":");
  Text port = colon > 0 ? TextRight(host, TextLength(host) - colon) : Text("80");
  // Truncated toward zero; a value no 32-bit port could hold is no port.
  double number = std::trunc(TextToNumber(port));
  if (!(number >= -2147483648.0 && number <= 2147483647.0)) return 0;
  return int32_t(number);
}

Text UrlPath(const Text& address) {
  // The host is looked for behind the scheme: a host such as "t" or "tp"
  // must not be found inside "http" itself.
  int host = FindText(address, UrlHost(address), HasPrefix(address) ? 8 : 1, true);
  int slash = FindText(address, "/", host);
  if (slash > 0) return TextRight(address, TextLength(address) - slash + 1);
  return "/";
}
