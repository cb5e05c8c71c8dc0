// Splitting request addresses: UrlHost, UrlPort and UrlPath against their
// literal rules and on addresses built from known parts; SplitAddress on
// anything.
#include <cmath>
#include <cstdint>

#include "fuzz/reference.h"
#include "fuzz/support/fuzz_input.h"
#include "net/fetch.h"
#include "net/fetch_file.h"

using fuzzinput::Check;
using fuzzinput::TakeText;

namespace {

bool HasPrefix(const Text& a) { return a.size() >= 7 && ref::MapCase(a.substr(0, 7), false) == "http://"; }

Text HostPart(const Text& a) {
  if (HasPrefix(a)) {
    int slash = ref::Find(a, "/", 8);
    return slash > 0 ? ref::Mid(a, 8, slash - 8) : a.substr(7);
  }
  int slash = ref::Find(a, "/");
  return slash > 0 ? ref::Left(a, slash - 1) : a;
}

Text Host(const Text& a) {
  Text host = HostPart(a);
  int colon = ref::Find(host, ":");
  return ref::MapCase(colon > 0 ? ref::Left(host, colon - 1) : host, false);
}

// The host is looked for behind the scheme, so that a host such as "tp" is
// not found inside "http".
Text Path(const Text& a) {
  int h = ref::Find(a, Host(a), HasPrefix(a) ? 8 : 1, true);
  int s = ref::Find(a, "/", h);
  return s > 0 ? a.substr(size_t(s) - 1) : Text("/");
}

void CheckAnyAddress(const Text& a) {
  Check(UrlHost(a) == Host(a), "UrlHost");
  Check(UrlPath(a) == Path(a), "UrlPath");
  Text host = HostPart(a);
  int colon = ref::Find(host, ":");
  if (colon <= 0) Check(UrlPort(a) == 80, "UrlPort default");
  Text digits = colon > 0 ? host.substr(size_t(colon)) : Text();
  if (colon > 0 && !digits.empty() && digits.size() <= 9 &&
      digits.find_first_not_of("0123456789") == Text::npos)
    Check(UrlPort(a) == std::atoi(digits.c_str()), "UrlPort digits");

  AddressParts parts;
  if (SplitAddress(a, &parts)) {
    Check(!parts.host.empty(), "SplitAddress host");
    Check(parts.port >= 1 && parts.port <= 65535, "SplitAddress port");
    Check(!parts.object.empty() && parts.object[0] == '/', "SplitAddress object");
    Check(parts.object.find('#') == Text::npos, "SplitAddress keeps the fragment back");
  }
}

// "http://" + host [":" + port] [path]: each part comes back as it went in.
void CheckBuiltAddress(FuzzedDataProvider& in) {
  Text host = in.ConsumeRandomLengthString(20);
  for (char& c : host) c = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJ0123456789.-"[static_cast<unsigned char>(c) % 48];
  if (host.empty()) host = "h";
  bool withPort = in.ConsumeBool();
  int port = in.ConsumeIntegralInRange<int>(1, 65535);
  bool upperScheme = in.ConsumeBool();
  Text path = TakeText(in, 64);
  if (!path.empty()) path = "/" + path;
  Text address = Text(upperScheme ? "HTTP://" : "http://") + host +
                 (withPort ? ":" + std::to_string(port) : Text()) + path;
  Check(UrlHost(address) == ref::MapCase(host, false), "built UrlHost");
  Check(UrlPort(address) == (withPort ? port : 80), "built UrlPort");
  Check(UrlPath(address) == (path.empty() ? Text("/") : path), "built UrlPath");
  Check(UrlHost(address.substr(7)) == UrlHost(address), "built UrlHost without scheme");

  AddressParts parts;
  Text plain = "http://" + host + (withPort ? ":" + std::to_string(port) : Text()) + path;
  if (path.find('#') == Text::npos && path.find('@') == Text::npos) {
    Check(SplitAddress(plain, &parts), "built SplitAddress");
    Check(parts.host == host && parts.port == (withPort ? port : 80), "built SplitAddress parts");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  if (in.ConsumeBool()) {
    CheckBuiltAddress(in);
  } else {
    Text prefix = in.ConsumeBool() ? "http://" : "";
    CheckAnyAddress(prefix + TakeText(in, 256));
  }
  return 0;
}
