#include "platform/inet.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>

namespace inet {

struct SessionState {
  Text userAgent;
  Access access;
  Text proxyList;
};

struct ConnectionState {
  SessionState session;  // a copy, so that closing the session early is harmless
  Text host;
  int port;
  Text user, password;
};

namespace {

using Clock = std::chrono::steady_clock;

struct EasyCloser { void operator()(CURL* e) const { curl_easy_cleanup(e); } };
struct MultiCloser { void operator()(CURLM* m) const { curl_multi_cleanup(m); } };
struct ListCloser { void operator()(curl_slist* l) const { curl_slist_free_all(l); } };
using Easy = std::unique_ptr<CURL, EasyCloser>;
using Multi = std::unique_ptr<CURLM, MultiCloser>;
using HeaderList = std::unique_ptr<curl_slist, ListCloser>;

void InitOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

struct RequestState {
  ConnectionState connection;
  Text verb;
  Text url;
  bool http10 = false;
  bool secure = false;
  int connectMs = 60000, receiveMs = 60000, sendMs = 60000;

  // Declared before the easy handle: it must outlive it.
  Multi multi;
  Easy easy;
  HeaderList headers;
  Bytes body;
  bool attached = false;

  bool started = false;
  bool done = false;
  CURLcode result = CURLE_OK;
  bool connected = false;
  Clock::time_point lastActivity;
  curl_off_t uploaded = 0;

  // Body bytes received and not yet read. Filled only while it is empty, so
  // it never holds more than one round of the transfer.
  Bytes pending;
  size_t readPos = 0;

  // Head of the response being received; the final one wins.
  Text head;
  int headStatus = 0;
  bool headHasLocation = false;
  bool headComplete = false;

  ~RequestState() {
    if (attached) curl_multi_remove_handle(multi.get(), easy.get());
  }
};

void SessionCloser::operator()(SessionState* s) const { delete s; }
void ConnectionCloser::operator()(ConnectionState* c) const { delete c; }
void RequestCloser::operator()(RequestState* r) const { delete r; }

namespace {

bool IsHostChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-' || c == '_';
}

bool IsTokenChar(unsigned char c) {
  return c > 0x20 && c < 0x7f && !std::strchr("()<>@,;:\\\"/[]?={}", c);
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool StartsWithNoCase(const Text& t, const char* prefix) {
  size_t n = std::strlen(prefix);
  if (t.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (LowerAscii(t[i]) != LowerAscii(prefix[i])) return false;
  return true;
}

bool IsPostVerb(const Text& verb) {
  if (verb.size() != 4) return false;
  return StartsWithNoCase(verb, "POST");
}

// Bytes that cannot stand in a request line are sent percent-escaped, so a
// keyword with a blank still makes a valid request.
Text EscapeObject(const Text& object) {
  static const char hex[] = "0123456789ABCDEF";
  Text out;
  if (object.empty() || object[0] != '/') out += '/';
  for (unsigned char c : object) {
    if (c <= 0x20 || c >= 0x7f) {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += char(c);
    }
  }
  return out;
}

// The proxy for one scheme from a list such as "http=host:port".
Text ProxyFor(const Text& list, const Text& scheme) {
  Text fallback;
  size_t i = 0;
  while (i < list.size()) {
    size_t end = list.find_first_of(" ;\t", i);
    if (end == Text::npos) end = list.size();
    Text entry = list.substr(i, end - i);
    i = end + 1;
    if (entry.empty()) continue;
    size_t eq = entry.find('=');
    if (eq == Text::npos) {
      if (fallback.empty()) fallback = entry;
    } else if (StartsWithNoCase(entry, scheme.c_str()) && eq == scheme.size()) {
      return entry.substr(eq + 1);
    }
  }
  return fallback;
}

Text LineOf(const char* data, size_t n) {
  Text line(data, n);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

bool IsFollowedRedirect(int status, bool hasLocation) {
  return hasLocation && (status == 301 || status == 302 || status == 303 || status == 307 ||
                         status == 308);
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto& r = *static_cast<RequestState*>(user);
  size_t n = size * count;
  r.lastActivity = Clock::now();
  Text line = LineOf(data, n);
  if (StartsWithNoCase(line, "HTTP/")) {
    r.head.clear();
    r.headComplete = false;
    r.headHasLocation = false;
    size_t blank = line.find(' ');
    r.headStatus = blank == Text::npos ? 0 : std::atoi(line.c_str() + blank + 1);
  } else if (StartsWithNoCase(line, "Location:")) {
    r.headHasLocation = true;
  }
  r.head += line + "\r\n";
  if (line.empty() && r.headStatus >= 200 && !IsFollowedRedirect(r.headStatus, r.headHasLocation))
    r.headComplete = true;
  return n;
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto& r = *static_cast<RequestState*>(user);
  r.lastActivity = Clock::now();
  r.pending.append(data, size * count);
  return size * count;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t ulnow) {
  auto& r = *static_cast<RequestState*>(user);
  if (ulnow != r.uploaded) {
    r.uploaded = ulnow;
    r.lastActivity = Clock::now();
  }
  return 0;
}

// Called once a connection stands and before the request goes out: from here
// on the send and receive time-outs bound the silence.
int OnConnected(void* user, char*, char*, int, int) {
  auto& r = *static_cast<RequestState*>(user);
  r.connected = true;
  r.lastActivity = Clock::now();
  return CURL_PREREQFUNC_OK;
}

int StallLimitMs(const RequestState& r) {
  bool sending = r.uploaded < curl_off_t(r.body.size());
  return sending ? r.sendMs : r.receiveMs;
}

void Finish(RequestState& r, CURLcode result) {
  r.done = true;
  r.result = result;
}

// One round of the transfer: lets curl work, then waits briefly for the
// socket unless something arrived.
void Pump(RequestState& r) {
  int running = 0;
  curl_multi_perform(r.multi.get(), &running);
  int left = 0;
  while (CURLMsg* msg = curl_multi_info_read(r.multi.get(), &left))
    if (msg->msg == CURLMSG_DONE) Finish(r, msg->data.result);
  if (r.done || r.readPos < r.pending.size() || r.headComplete) return;

  long waitMs = 100;
  if (r.connected) {
    auto silent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - r.lastActivity);
    long left = StallLimitMs(r) - long(silent.count());
    if (left <= 0) return Finish(r, CURLE_OPERATION_TIMEDOUT);
    waitMs = std::min(waitMs, left);
  }
  long curlMs = -1;
  curl_multi_timeout(r.multi.get(), &curlMs);
  if (curlMs >= 0) waitMs = std::min(waitMs, curlMs);
  if (waitMs > 0) curl_multi_poll(r.multi.get(), nullptr, 0, int(waitMs), nullptr);
}

HeaderList BuildHeaders(const Text& text, bool isPost) {
  curl_slist* list = nullptr;
  bool hasAccept = false, hasContentType = false;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = text.find_first_of("\r\n", i);
    if (end == Text::npos) end = text.size();
    Text line = text.substr(i, end - i);
    i = end + 1;
    if (line.empty()) continue;
    hasAccept = hasAccept || StartsWithNoCase(line, "Accept:");
    hasContentType = hasContentType || StartsWithNoCase(line, "Content-Type:");
    // "Name:" alone would tell curl to drop the header; "Name;" sends it empty.
    if (line.back() == ':' && line.find(':') == line.size() - 1) line.back() = ';';
    list = curl_slist_append(list, line.c_str());
  }
  // Only the lines the caller wrote: none of curl's own defaults.
  if (!hasAccept) list = curl_slist_append(list, "Accept:");
  if (isPost && !hasContentType) list = curl_slist_append(list, "Content-Type:");
  list = curl_slist_append(list, "Expect:");
  return HeaderList(list);
}

void ApplyProxy(CURL* e, const RequestState& r) {
  const SessionState& s = r.connection.session;
  if (s.access == Access::Preconfig) return;  // curl reads the environment itself
  Text proxy = s.access == Access::Proxy ? ProxyFor(s.proxyList, r.secure ? "https" : "http") : Text();
  if (!proxy.empty() && proxy.find("://") == Text::npos) proxy = "http://" + proxy;
  // Empty strings also override the proxy environment variables, the
  // bypass list included.
  curl_easy_setopt(e, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(e, CURLOPT_NOPROXY, "");
}

void Configure(RequestState& r, bool isPost) {
  CURL* e = r.easy.get();
  curl_easy_setopt(e, CURLOPT_URL, r.url.c_str());
  curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(e, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(e, CURLOPT_HTTP_VERSION,
                   r.http10 ? long(CURL_HTTP_VERSION_1_0) : long(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(e, CURLOPT_USERAGENT, r.connection.session.userAgent.c_str());
  if (!r.connection.user.empty() || !r.connection.password.empty()) {
    curl_easy_setopt(e, CURLOPT_USERNAME, r.connection.user.c_str());
    curl_easy_setopt(e, CURLOPT_PASSWORD, r.connection.password.c_str());
  }
  ApplyProxy(e, r);
  curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(r.connectMs));
  curl_easy_setopt(e, CURLOPT_HTTPHEADER, r.headers.get());

  if (isPost || !r.body.empty()) {
    curl_easy_setopt(e, CURLOPT_POST, 1L);
    curl_easy_setopt(e, CURLOPT_POSTFIELDS, r.body.data());
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(r.body.size()));
  }
  if (r.verb != "GET" && r.verb != "POST") curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, r.verb.c_str());

  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, &r);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, &r);
  curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(e, CURLOPT_XFERINFODATA, &r);
  curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, OnConnected);
  curl_easy_setopt(e, CURLOPT_PREREQDATA, &r);
}

}  // namespace

Session OpenSession(const Text& userAgent, Access access, const Text& proxyList) {
  InitOnce();
  return Session(new SessionState{userAgent, access, proxyList});
}

Connection Connect(const Session& session, const Text& host, int port, const Text& user,
                   const Text& password) {
  if (!session || host.empty() || host.size() > 253 || port < 0 || port > 65535) return nullptr;
  for (unsigned char c : host)
    if (!IsHostChar(c)) return nullptr;
  return Connection(new ConnectionState{*session, host, port, user, password});
}

Request OpenRequest(const Connection& connection, const Text& verb, const Text& object,
                    const Text& version, uint32_t flags) {
  if (!connection || verb.empty()) return nullptr;
  for (unsigned char c : verb)
    if (!IsTokenChar(c)) return nullptr;
  if (!version.empty() && version != "HTTP/1.1" && version != "HTTP/1.0") return nullptr;

  Request r(new RequestState);
  r->connection = *connection;
  r->verb = verb;
  r->http10 = version == "HTTP/1.0";
  r->secure = (flags & kFlagSecure) != 0;
  int port = connection->port;
  int defaultPort = r->secure ? 443 : 80;
  r->url = Text(r->secure ? "https://" : "http://") + connection->host;
  if (port != 0 && port != defaultPort) r->url += ":" + std::to_string(port);
  r->url += EscapeObject(object);
  r->multi.reset(curl_multi_init());
  r->easy.reset(curl_easy_init());
  if (!r->multi || !r->easy) return nullptr;
  return r;
}

void SetTimeout(Request& request, Timeout which, int milliseconds) {
  if (!request || milliseconds <= 0) return;
  int& slot = which == Timeout::Connect   ? request->connectMs
              : which == Timeout::Receive ? request->receiveMs
                                          : request->sendMs;
  slot = milliseconds;
}

bool SendRequest(Request& request, const Text& headers, const Bytes& body) {
  if (!request || request->started) return false;
  RequestState& r = *request;
  r.started = true;
  bool isPost = IsPostVerb(r.verb);
  r.body = body;
  r.headers = BuildHeaders(headers, isPost);
  Configure(r, isPost);
  r.lastActivity = Clock::now();
  if (curl_multi_add_handle(r.multi.get(), r.easy.get()) != CURLM_OK) {
    Finish(r, CURLE_FAILED_INIT);
    return false;
  }
  r.attached = true;
  while (!r.done && !r.headComplete && r.readPos == r.pending.size()) Pump(r);
  return StatusCode(request) != 0;
}

int ReadData(Request& request, char* block, int size) {
  if (!request || !block || size <= 0 || !request->started) return 0;
  RequestState& r = *request;
  while (r.readPos == r.pending.size() && !r.done) {
    r.headComplete = false;  // from here on only body bytes end the wait
    Pump(r);
  }
  size_t n = std::min(r.pending.size() - r.readPos, size_t(size));
  std::memcpy(block, r.pending.data() + r.readPos, n);
  r.readPos += n;
  if (r.readPos == r.pending.size()) {
    r.pending.clear();
    r.readPos = 0;
  }
  return int(n);
}

bool TransferSucceeded(const Request& request) {
  return request && request->done && request->result == CURLE_OK;
}

int StatusCode(const Request& request) {
  if (!request || !request->started) return 0;
  long code = 0;
  curl_easy_getinfo(request->easy.get(), CURLINFO_RESPONSE_CODE, &code);
  return int(code);
}

bool QueryRawHeaders(const Request& request, Text& out, size_t& bufferLength) {
  if (StatusCode(request) == 0 || request->head.empty()) return false;
  const Text& head = request->head;
  size_t needed = head.size() + 1;
  if (needed > bufferLength) {
    bufferLength = needed;
    return false;
  }
  out = head.substr(0, head.find('\0'));
  return true;
}

}  // namespace inet
