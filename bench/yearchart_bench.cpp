// How long View -> Year chart takes to open: the dock made, the year's
// curves computed and the chart painted once, under the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMainWindow>
#include <QPixmap>

#include "yearchart.h"

namespace helidisk {
namespace {

void OpenYearChart(benchmark::State& benchmarkState) {
  for (auto _ : benchmarkState) {
    QMainWindow window;
    auto* chart = new YearChartDock(&window);
    chart->Follow(2026, 4417);
    window.show();
    chart->show();
    benchmark::DoNotOptimize(chart->grab());
  }
}

// The first time in the process, when Qt Charts and the fonts are loaded.
void BM_OpenYearChartFirstTime(benchmark::State& state) { OpenYearChart(state); }
BENCHMARK(BM_OpenYearChartFirstTime)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_OpenYearChart(benchmark::State& state) { OpenYearChart(state); }
BENCHMARK(BM_OpenYearChart)->Unit(benchmark::kMillisecond);

// What the hidden chart adds to the window's start.
void BM_MakeHiddenYearChart(benchmark::State& benchmarkState) {
  for (auto _ : benchmarkState) {
    QMainWindow window;
    benchmark::DoNotOptimize(new YearChartDock(&window));
  }
}
BENCHMARK(BM_MakeHiddenYearChart)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace helidisk

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
