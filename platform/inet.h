#pragma once
// A small HTTP client layer, shaped after the classic session / connection /
// request handles: open a session, connect, open a request, set time-outs,
// send, read in blocks, query the raw response headers, close (by letting the
// owners go).
//
// What the layer does on its own: it writes the Host and User-Agent lines,
// follows redirects (at most 10, http and https only), escapes the request
// object so that it always makes a valid request line (a space becomes %20),
// keeps no cache and no cookies, and ends a stalled transfer when a time-out
// passes without a byte moving.
//
// Threads: a session holds only settings and may be shared by any number of
// threads; a connection and a request belong to the thread that uses them.
// Different requests never share state.
#include <cstdint>
#include <memory>

#include "text/text.h"

namespace inet {

struct SessionState;
struct ConnectionState;
struct RequestState;
struct SessionCloser { void operator()(SessionState* s) const; };
struct ConnectionCloser { void operator()(ConnectionState* c) const; };
struct RequestCloser { void operator()(RequestState* r) const; };
// Closing is releasing: reset the owner or let it go out of scope. A
// connection or request never depends on the lifetime of its parent.
using Session = std::unique_ptr<SessionState, SessionCloser>;
using Connection = std::unique_ptr<ConnectionState, ConnectionCloser>;
using Request = std::unique_ptr<RequestState, RequestCloser>;

enum class Access {
  Direct,     // never a proxy, whatever the environment says
  Proxy,      // the proxy list given to OpenSession
  Preconfig,  // the system's settings: http_proxy, HTTPS_PROXY, ALL_PROXY, NO_PROXY
};

// proxyList (Access::Proxy): entries separated by blanks or ";", each
// "scheme=host:port" for one scheme or "host:port" for every scheme. A
// request whose scheme has no entry goes direct.
Session OpenSession(const Text& userAgent, Access access, const Text& proxyList = Text());

// Checks and records where requests go; no network traffic yet. Fails (null)
// for an empty host, a host with characters outside letters, digits, ".", "-"
// and "_", or a port outside 0..65535. Port 0 means the scheme's default port.
Connection Connect(const Session& session, const Text& host, int port,
                   const Text& user = Text(), const Text& password = Text());

inline constexpr uint32_t kFlagReload = 0x80000000;        // always from the server
inline constexpr uint32_t kFlagNoCacheWrite = 0x04000000;  // nothing is cached anyway
inline constexpr uint32_t kFlagSecure = 0x00800000;        // https

// verb: a token such as "GET", "POST" or "post" (a verb other than GET that
// reads "POST" ignoring case is treated as a POST); object: path and query;
// version: "HTTP/1.1" (also when empty) or "HTTP/1.0". Null for anything
// else.
Request OpenRequest(const Connection& connection, const Text& verb, const Text& object,
                    const Text& version, uint32_t flags);

// Connect bounds making the connection; Send and Receive bound how long the
// transfer may go without a byte moving while sending, resp. receiving.
// Each defaults to 60000 ms; a value of 0 or less leaves it unchanged.
enum class Timeout { Connect, Receive, Send };
void SetTimeout(Request& request, Timeout which, int milliseconds);

// headers: lines, each ending with CR LF (empty lines are ignored). Sends the
// request with `body` (if any) and waits for the response head. True when a
// response came; false when none came (refused, unreachable, timed out, bad
// response) and then every read gives 0. A request is sent once.
bool SendRequest(Request& request, const Text& headers, const Bytes& body = Bytes());

// Copies at most `size` bytes of the body into `block` and gives their count:
// 0 at the end of the body, after a failure (bytes that came before it are
// still delivered first) and when nothing was sent.
int ReadData(Request& request, char* block, int size);

// After a read has given 0: true when the body ended as the server announced
// it, false when the transfer failed or timed out.
bool TransferSucceeded(const Request& request);

// The final response's status code; 0 when no response came.
int StatusCode(const Request& request);

// The final response's status line and header lines, each ending with CR LF,
// followed by the empty line. The block must fit in `bufferLength` bytes
// together with a terminating NUL: when it does not, false and
// `bufferLength` tells the length needed. False with `bufferLength` unchanged
// when no response came. `out` is written only on success.
bool QueryRawHeaders(const Request& request, Text& out, size_t& bufferLength);

}  // namespace inet
