// A 1 MB page from a loopback server: the page fetcher with its 512-byte
// reads against one plain libcurl transfer into a string. Compare the two
// bytes_per_second figures for the fetcher's overhead.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include "net/fetch.h"
#include "tests/support/raw_http_server.h"

namespace {

constexpr size_t kPageBytes = 1 << 20;

const testsupport::RawHttpServer& Server() {
  static testsupport::RawHttpServer server([](const std::string&) {
    static const std::string page = testsupport::HttpResponse(std::string(kPageBytes, 'p'));
    return testsupport::RawReply{page};
  });
  return server;
}

size_t Append(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

void BM_FetchPageText(benchmark::State& state) {
  const std::string url = Server().Url("/?keyword=bench");
  for (auto _ : state) {
    Text page = FetchPageText(url);
    if (page.size() != kPageBytes) state.SkipWithError("short page");
    benchmark::DoNotOptimize(page);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPageBytes));
}

void BM_PlainLibcurl(benchmark::State& state) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  const std::string url = Server().Url("/?keyword=bench");
  for (auto _ : state) {
    std::string page;
    CURL* e = curl_easy_init();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PROXY, "");
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, Append);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &page);
    curl_easy_perform(e);
    curl_easy_cleanup(e);
    if (page.size() != kPageBytes) state.SkipWithError("short page");
    benchmark::DoNotOptimize(page);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPageBytes));
}

BENCHMARK(BM_FetchPageText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainLibcurl)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
