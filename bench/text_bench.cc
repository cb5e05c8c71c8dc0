// Throughput of the walking text operations over page-like input, set
// against glibc memmem scanning the same bytes for an absent needle.
//
// vs_memmem is this operation's MB/s divided by memmem's MB/s on the same
// input: 1.0 means as fast as a bare byte scan.
#include <benchmark/benchmark.h>

#include <ctime>
#include <cstring>
#include <random>

#include "text/markers.h"
#include "text/text.h"

namespace {

const char* const kTitleWords[] = {"\xE9\xAB\x98\xE6\xB8\x85", "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97\xE5\xB9\x95",
                                   "\xE7\x94\xB5\xE5\xBD\xB1", "\xE5\x9B\xBD\xE8\xAF\xAD", "1080p", "BluRay",
                                   "x264", "\xE5\x85\xA8\xE9\x9B\x86", "S01E02", "[\xE5\x90\x88\xE9\x9B\x86]"};

// Rows of the results table as the index site writes them.
Text ResultPage(size_t bytes) {
  std::mt19937 rng(7);
  Text page = "<html><head><title>search</title></head><body><table class=\"data\">\r\n";
  while (page.size() < bytes) {
    Text title;
    for (int w = 0; w < 5; ++w) title += Text(kTitleWords[rng() % 10]) + (w < 4 ? "." : "");
    char hash[41];
    for (int i = 0; i < 40; ++i) hash[i] = "0123456789ABCDEF"[rng() % 16];
    hash[40] = '\0';
    page += "<tr><td class=\"name\"><a href=\"/detail/" + std::to_string(rng() % 1000000) +
            "\" target=_blank>" + title + "</a></td><td>" + std::to_string(rng() % 100) + "." +
            std::to_string(rng() % 10) + " GB</td><td><a href=\"magnet:?xt=urn:btih:" + hash +
            "\">magnet</a></td></tr>\r\n";
  }
  page.resize(bytes);
  return page;
}

// Running Chinese prose with a little punctuation, quoted titles and markup.
Text CjkText(size_t bytes) {
  std::mt19937 rng(11);
  Text text;
  while (text.size() < bytes) {
    uint32_t cp = 0x4E00 + rng() % 0x2000;
    text += static_cast<char>(0xE0 | cp >> 12);
    text += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    text += static_cast<char>(0x80 | (cp & 0x3F));
    switch (rng() % 40) {
      case 0: text += "\xEF\xBC\x8C"; break;                   // full-width comma
      case 1: text += "\xE3\x80\x82"; break;                   // full stop
      case 2: text += "\xE3\x80\x8A"; break;                   // opening title mark
      case 3: text += "\xE3\x80\x8B"; break;                   // closing title mark
      case 4: text += "<br>"; break;
      case 5: text += " 2024 "; break;
    }
  }
  text.resize(bytes);
  return text;
}

const Text kAbsentHtml = "<div class=\"no-results\">";
const Text kAbsentCjk = "\xE6\xB2\xA1\xE6\x9C\x89\xE6\x89\xBE\xE5\x88\xB0\xE7\xA7\x8D\xE5\xAD\x90";  // U+6CA1.. not generated

const Text& Input(bool cjk, int mb) {
  static Text cache[2][21];
  Text& slot = cache[cjk][mb];
  if (slot.empty()) slot = cjk ? CjkText(size_t(mb) << 20) : ResultPage(size_t(mb) << 20);
  return slot;
}

double CpuSeconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Seconds glibc memmem needs to scan `t` for a needle that is not there.
double MemmemSeconds(const Text& t, const Text& needle) {
  double begin = CpuSeconds();
  const int rounds = 20;
  for (int round = 0; round < rounds; ++round)
    benchmark::DoNotOptimize(memmem(t.data(), t.size(), needle.data(), needle.size()));
  return (CpuSeconds() - begin) / rounds;
}

// `begun` is when the timed loop started; both sides are CPU times of this
// thread, which other work on the machine disturbs least.
void Report(benchmark::State& state, const Text& t, const Text& absent, double begun) {
  double perIteration = (CpuSeconds() - begun) / double(state.iterations());
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(t.size()));
  state.counters["vs_memmem"] = MemmemSeconds(t, absent) / perIteration;
}

// state.range(0): 0 page-like HTML, 1 CJK text; state.range(1): megabytes.
// 1 MB still sits in a core's cache and 10 MB does not, so 2 MB against
// 20 MB shows linearity without the cache step; memmem shows the step alone.
void BM_Memmem(benchmark::State& state) {
  bool cjk = state.range(0);
  const Text& t = Input(cjk, int(state.range(1)));
  const Text& absent = cjk ? kAbsentCjk : kAbsentHtml;
  for (auto _ : state) benchmark::DoNotOptimize(memmem(t.data(), t.size(), absent.data(), absent.size()));
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(t.size()));
}

void BM_FindTextAbsent(benchmark::State& state) {
  bool cjk = state.range(0);
  const Text& t = Input(cjk, int(state.range(1)));
  const Text& absent = cjk ? kAbsentCjk : kAbsentHtml;
  double begun = CpuSeconds();
  for (auto _ : state) benchmark::DoNotOptimize(FindText(t, absent));
  Report(state, t, absent, begun);
}

// What the scraping does to every title: drop each "<". Without a limit, so
// that a larger input is all walked.
void BM_ReplaceAll(benchmark::State& state) {
  bool cjk = state.range(0);
  const Text& t = Input(cjk, int(state.range(1)));
  double begun = CpuSeconds();
  for (auto _ : state) benchmark::DoNotOptimize(ReplaceAll(t, "<"));
  Report(state, t, cjk ? kAbsentCjk : kAbsentHtml, begun);
}

void BM_AllBetween(benchmark::State& state) {
  bool cjk = state.range(0);
  const Text& t = Input(cjk, int(state.range(1)));
  TextArray result;
  double begun = CpuSeconds();
  for (auto _ : state) {
    if (cjk)
      AllBetween(t, "\xE3\x80\x8A", "\xE3\x80\x8B", result);
    else
      AllBetween(t, "magnet:?", ">", result);
    benchmark::DoNotOptimize(result.data());
  }
  state.counters["pieces"] = double(result.size());
  Report(state, t, cjk ? kAbsentCjk : kAbsentHtml, begun);
}

void Inputs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"cjk", "MB"});
  for (int cjk : {0, 1})
    for (int mb : {1, 2, 10, 20}) b->Args({cjk, mb});
  b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_Memmem)->Apply(Inputs);
BENCHMARK(BM_FindTextAbsent)->Apply(Inputs);
BENCHMARK(BM_ReplaceAll)->Apply(Inputs);
BENCHMARK(BM_AllBetween)->Apply(Inputs);

}  // namespace

BENCHMARK_MAIN();
