// Control operations from a worker: the round trip to the user-interface
// thread, and filling the result list as a search does, with the longest
// time the user-interface thread was kept from its own events.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <thread>

#include "app/main_window.h"
#include "platform/ui.h"

namespace {

// Written by the user-interface thread's timer, read by the worker between
// measurements.
std::atomic<qint64> longestGapNs{0};
std::atomic<bool> measuring{false};

void WatchUiThread() {
  auto* timer = new QTimer(qApp);
  auto* clock = new QElapsedTimer;
  clock->start();
  timer->setTimerType(Qt::PreciseTimer);
  timer->setInterval(1);
  QObject::connect(timer, &QTimer::timeout, [clock] {
    qint64 gap = clock->nsecsElapsed();
    clock->restart();
    if (measuring) longestGapNs = std::max<qint64>(longestGapNs, gap);
  });
  timer->start();
}

void BM_ControlRoundTripFromWorker(benchmark::State& state) {
  ui::SetText(编辑框3, "2");
  for (auto _ : state) benchmark::DoNotOptimize(ui::GetText(编辑框3));
}
BENCHMARK(BM_ControlRoundTripFromWorker)->Unit(benchmark::kMicrosecond);

void BM_Append1000RowsFromWorker(benchmark::State& state) {
  const Text title(60, 't'), size = "1.2 GB", magnet = "magnet:?xt=urn:btih:" + Text(40, 'A');
  qint64 worstGapNs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ui::DeleteAllRows(超级列表框1);
    longestGapNs = 0;
    measuring = true;
    state.ResumeTiming();
    for (int i = 0; i < 1000; ++i) {
      int row = ui::InsertRow(超级列表框1);
      ui::SetCell(超级列表框1, row, 0, std::to_string(row + 1));
      ui::SetCell(超级列表框1, row, 1, title);
      ui::SetCell(超级列表框1, row, 2, size);
      ui::SetCell(超级列表框1, row, 3, magnet);
    }
    state.PauseTiming();
    measuring = false;
    worstGapNs = std::max<qint64>(worstGapNs, longestGapNs);
    state.ResumeTiming();
  }
  state.counters["ui_longest_gap_ms"] = worstGapNs / 1e6;
}
BENCHMARK(BM_Append1000RowsFromWorker)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  benchmark::Initialize(&argc, argv);
  ui::InitApplication(argc, argv);
  ui::SetShellOpenObserver([](const Text&) {});
  CreateAppWindow();
  ui::ShowMainWindow();
  WatchUiThread();
  // The benchmarks play the worker; this thread stays the user-interface
  // thread and only runs its loop.
  std::thread worker([] {
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  });
  QCoreApplication::exec();
  worker.join();
  return 0;
}
