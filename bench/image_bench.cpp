// Opening an observer's image and finding its disk, as the window does on
// File -> Open: a 2048 x 2048 JPEG photograph with the limb fit, and a
// 4096 x 4096 16-bit FITS image placed from its header.  The files are
// generated once, before the first run.
#include <benchmark/benchmark.h>

#include <QImage>

#include "solar_files.h"
#include "solarimage.h"

namespace helidisk {
namespace {

using bench::FitsPath;
using bench::JpegPath;

void OpenAndLocate(benchmark::State& state, const QString& path) {
  for (auto _ : state) {
    const SolarImage image = LoadSolarImage(path);
    benchmark::DoNotOptimize(LocateDisk(image));
  }
}

void BM_JpegOpenAndLimbFit2048(benchmark::State& state) { OpenAndLocate(state, JpegPath()); }
BENCHMARK(BM_JpegOpenAndLimbFit2048)->Unit(benchmark::kMillisecond);

void BM_FitsOpenAndHeaderPlacement4096(benchmark::State& state) {
  OpenAndLocate(state, FitsPath());
}
BENCHMARK(BM_FitsOpenAndHeaderPlacement4096)->Unit(benchmark::kMillisecond);

void BM_LimbFit2048(benchmark::State& state) {
  const QImage image = LoadSolarImage(JpegPath()).display;
  for (auto _ : state) benchmark::DoNotOptimize(FitLimb(image));
}
BENCHMARK(BM_LimbFit2048)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace helidisk
