// From choosing "下载BT" to "下载完成" for a 1 MB torrent served on loopback,
// and the parts of that time: the fetch, the check and the write. The
// whole includes the deliberate one-second wait before writing;
// "beyond_wait_ms" is what the download itself costs.
#include <benchmark/benchmark.h>

#include <chrono>

#include "app/main_window.h"
#include "net/fetch_file.h"
#include "net/sites.h"
#include "net/torrent_check.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "tests/support/support.h"
#include "tests/support/torrent_service.h"
#include "tests/support/torrents.h"
#include "tests/support/ui_support.h"

namespace {

constexpr int kOneMegabyte = 52429;  // pieces: 20 bytes each

const testsupport::TestTorrent& BigTorrent() {
  static const auto torrent = testsupport::MakeTorrent("bench.iso", kOneMegabyte);
  return torrent;
}

Text ServiceAddress(const testsupport::TorrentService& service) {
  return service.Base() + "/magnet-bt/torrent.php?magnet=" +
         testsupport::MagnetFor(BigTorrent().hexHash);
}

void EnsureWindow() {
  static bool created = false;
  if (created) return;
  testsupport::StartTestApplication();
  ui::SetShellOpenObserver([](const Text&) {});
  CreateAppWindow();
  created = true;
}

void BM_MenuToDone(benchmark::State& state) {
  EnsureWindow();
  testsupport::TorrentService service;
  testsupport::TempDir dir;
  files::SetProgramDirectoryForTesting(dir.path());
  SetTorrentService(service.Base());
  service.Answer(BigTorrent().hexHash, testsupport::Serves(BigTorrent().bytes));
  ui::DeleteAllRows(超级列表框1);
  int row = ui::InsertRow(超级列表框1);
  ui::SetCell(超级列表框1, row, 1, "bench");
  ui::SetCell(超级列表框1, row, 3, testsupport::MagnetFor(BigTorrent().hexHash));
  ui::SelectRow(超级列表框1, row);
  const Text done = codepage::Ansi("下载完成");
  double total = 0;
  for (auto _ : state) {
    ui::SetCaption(标签2, "");
    auto start = std::chrono::steady_clock::now();
    ui::ChooseMenuItem(kMenuDownload);
    testsupport::WaitUntil([&] { return ui::GetCaption(标签2) == done; });
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count() / 1000);
    total += took.count();
  }
  state.counters["beyond_wait_ms"] = total / state.iterations() - 1000;
  state.counters["torrent_bytes"] = static_cast<double>(BigTorrent().bytes.size());
  files::SetProgramDirectoryForTesting("");
}
BENCHMARK(BM_MenuToDone)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_FetchFileBytes(benchmark::State& state) {
  testsupport::TorrentService service;
  service.Answer(BigTorrent().hexHash, testsupport::Serves(BigTorrent().bytes));
  const Text address = ServiceAddress(service);
  for (auto _ : state) benchmark::DoNotOptimize(FetchFileBytes(address));
  state.SetBytesProcessed(state.iterations() * BigTorrent().bytes.size());
}
BENCHMARK(BM_FetchFileBytes)->Unit(benchmark::kMillisecond);

void BM_IsTorrentFor(benchmark::State& state) {
  const Text magnet = testsupport::MagnetFor(BigTorrent().hexHash);
  for (auto _ : state) benchmark::DoNotOptimize(IsTorrentFor(BigTorrent().bytes, magnet));
  state.SetBytesProcessed(state.iterations() * BigTorrent().bytes.size());
}
BENCHMARK(BM_IsTorrentFor)->Unit(benchmark::kMillisecond);

void BM_WriteFileAtomically(benchmark::State& state) {
  testsupport::TempDir dir;
  const std::string path = dir.path() + "/bench.torrent";
  for (auto _ : state) benchmark::DoNotOptimize(files::WriteFileAtomically(path, BigTorrent().bytes));
  state.SetBytesProcessed(state.iterations() * BigTorrent().bytes.size());
}
BENCHMARK(BM_WriteFileAtomically)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
