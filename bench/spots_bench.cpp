// Sunspot detection in process: the quiet-disk fit, labelling, places and
// areas, grouping and counts on generated spotted Suns of 2048 and 4096
// pixels square (the image made once, before the first run).
#include <benchmark/benchmark.h>

#include "spotdetect.h"
#include "spotgroups.h"
#include "spotted_sun_file.h"

namespace helidisk {
namespace {

void DetectAndCount(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const DiskFrame frame = fakes::SpottedSunFrame(side, 0.45 * side);
  const GreyImage image = fakes::HeliographicSun(frame, side, side, fakes::ActiveDaySpots(), 1);
  for (auto _ : state) {
    Detection detection = DetectSpots(image, frame);
    const std::vector<SpotGroup> groups = GroupSpots(detection.spots);
    benchmark::DoNotOptimize(CountSunspots(groups));
  }
}
BENCHMARK(DetectAndCount)->Arg(2048)->Arg(4096)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace helidisk
