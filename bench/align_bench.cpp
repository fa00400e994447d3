// The steps of aligning one frame of a sequence: resampling a 2048 x 2048
// photograph into a 1024 x 1024 frame as taken and de-rotated by a day
// (the per-pixel rotation is the costly part), the time stamp, and the
// PNG with its geometry.  bench/align.sh times whole sequences.
#include <benchmark/benchmark.h>

#include <QImage>

#include "alignedsequence.h"
#include "geometryexport.h"
#include "solarrotation.h"
#include "synthetic_sun.h"

namespace helidisk {
namespace {

constexpr double kDay = 2460441.0;  // 2024-05-10 12:00 UT
constexpr int kFrameSidePx = 1024;

const QImage& Photograph() {
  static const QImage photograph =
      fakes::RedImage(fakes::MakeSun(2048, 2048, 1031.4, 1017.8, 880.6, 0.01));
  return photograph;
}

DiskFrame PhotographFrame(const SunEphemeris& sun) {
  const ImageDisk disk{1031.4, 1017.8, 880.6, DiskSource::Fit, 0, 0};
  return ImageDiskFrame(disk, sun, ImageView{Orientation::Sky, 17});
}

void Resample(benchmark::State& state, const std::optional<Derotation>& derotation) {
  const SunEphemeris sun = ComputeSun(kDay);
  const SunEphemeris shown = derotation ? ComputeSun(derotation->referenceJulianDay) : sun;
  const AlignedLayout layout = AlignedLayoutOf(kFrameSidePx);
  QImage frame;
  for (auto _ : state) {
    ResampleAligned(Photograph(), PhotographFrame(sun), kDay, layout, shown, derotation, frame);
    benchmark::DoNotOptimize(frame.constBits());
  }
}

void BM_ResampleAsTaken2048To1024(benchmark::State& state) { Resample(state, std::nullopt); }
BENCHMARK(BM_ResampleAsTaken2048To1024)->Unit(benchmark::kMillisecond);

void BM_ResampleDerotatedADay2048To1024(benchmark::State& state) {
  const RotationModel* howard = RotationModelNamed("howard");
  Resample(state, Derotation{kDay + 1, [howard](double latitudeDeg) {
                               return SiderealRateDegPerDay(*howard, latitudeDeg);
                             }});
}
BENCHMARK(BM_ResampleDerotatedADay2048To1024)->Unit(benchmark::kMillisecond);

void BM_FramePngWithGeometry1024(benchmark::State& state) {
  QImage frame;
  const AlignedLayout layout = AlignedLayoutOf(kFrameSidePx);
  const SunEphemeris sun = ComputeSun(kDay);
  ResampleAligned(Photograph(), PhotographFrame(sun), kDay, layout, sun, std::nullopt, frame);
  const std::vector<GeometryCard> cards = GeometryCards(
      {kFrameSidePx, kFrameSidePx, layout.centrePx, layout.centrePx, layout.radiusPx, 0, sun});
  for (auto _ : state) benchmark::DoNotOptimize(PngWithGeometry(frame, cards, "frame.png"));
}
BENCHMARK(BM_FramePngWithGeometry1024)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace helidisk
