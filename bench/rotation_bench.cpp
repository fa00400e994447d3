// A feature carried through time: the rotation and the view are a few
// trigonometric functions, the crossings a few hundred ephemerides, which
// the window's table of points at the shown instant pays for every point at
// every redraw.
#include <benchmark/benchmark.h>

#include "featurerotation.h"
#include "sun.h"

namespace helidisk {
namespace {

constexpr double kStartJulianDay = 2461385.0;

void BM_RotatedPositionOnDisk(benchmark::State& benchmarkState) {
  const RotationModel& model = *RotationModelNamed("howard");
  const SunEphemeris sun = ComputeSun(kStartJulianDay);
  const DiskFrame frame =
      OrientedDiskFrame(499, 313, 306, sun.l0Rad, sun.b0Rad, sun.pRad, Orientation::Sky);
  double days = 0;
  for (auto _ : benchmarkState) {
    const FeatureOnDisk seen = FeatureOnDiskOf(RotatedPosition(model, {15, 120}, days), frame);
    benchmark::DoNotOptimize(seen);
    days += 0.25;
  }
}
BENCHMARK(BM_RotatedPositionOnDisk);

void BM_NextCrossings(benchmark::State& benchmarkState) {
  const RotationModel& model = *RotationModelNamed("howard");
  double longitudeDeg = 0;
  for (auto _ : benchmarkState) {
    const FeatureCrossings crossings = NextCrossings(model, {-20, longitudeDeg}, kStartJulianDay);
    benchmark::DoNotOptimize(crossings);
    longitudeDeg = longitudeDeg < 350 ? longitudeDeg + 10 : 0;
  }
}
BENCHMARK(BM_NextCrossings);

}  // namespace
}  // namespace helidisk
