#include <gtest/gtest.h>

#include "net/fetch.h"

namespace {

struct Case {
  const char* address;
  const char* host;
  int32_t port;
  const char* path;
};

const Case kCases[] = {
    {"HTTP://Search.Example.COM:8080/list?keyword=a%20b&page=2", "search.example.com", 8080,
     "/list?keyword=a%20b&page=2"},
    {"Search.Example.com", "search.example.com", 80, "/"},
    {"http://Search.Example.com", "search.example.com", 80, "/"},
    {"search.example.com:81/p/q?x=1", "search.example.com", 81, "/p/q?x=1"},
    {"http://search.example.com:/x", "search.example.com", 0, "/x"},
    {"https://search.example.com/", "https", 0, "//search.example.com/"},
    // A colon behind the first "/" belongs to the path.
    {"http://search.example.com/a:b", "search.example.com", 80, "/a:b"},
    {"http://localhost:8a/", "localhost", 8, "/"},
    {"http://localhost:-5/", "localhost", -5, "/"},
    {"http://localhost:99999999999/", "localhost", 0, "/"},
    {"", "", 80, "/"},
    // Hosts whose name also occurs inside "http": the path starts behind the host.
    {"http://t/x?y", "t", 80, "/x?y"},
    {"http://TP:8080/p", "tp", 8080, "/p"},
    {"http://h", "h", 80, "/"},
};

TEST(UrlParts, SplitsAddressesIntoHostPortAndPath) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(UrlHost(c.address), c.host);
    EXPECT_EQ(UrlPort(c.address), c.port);
    EXPECT_EQ(UrlPath(c.address), c.path);
  }
}

}  // namespace
