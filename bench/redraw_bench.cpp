// A whole redraw at the window's design size on the raster canvas, as every
// step of a thumb drag runs it, and the projection it runs some ten thousand
// times.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

#include "diskgeometry.h"
#include "projection.h"
#include "qimagecanvas.h"
#include "redraw.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

class DesignSizeWindow : public FormView {
 public:
  explicit DesignSizeWindow(bool differential) : differential_(differential) {
    canvas_.SetWidth(ImageWidthOf(kGeometry));
    canvas_.SetHeight(ImageHeightOf(kGeometry));
  }

  Canvas& ImageCanvas() override { return canvas_; }
  DiskGeometry PictureGeometry() const override { return kGeometry; }
  double HourPosition() const override { return hour; }
  bool DiffRotChecked() const override { return differential_; }
  void SetReadoutCaption(ReadoutLabel label, const std::string& caption) override {
    captions_[static_cast<int>(label)] = caption;
  }
  std::int32_t CurrentYear() const override { return 2026; }
  std::string DecimalSeparator() const override { return "."; }

  std::int32_t hour = 0;

 private:
  static constexpr DiskGeometry kGeometry{999, 627, 499, 313};
  QImageCanvas canvas_;
  bool differential_;
  std::array<std::string, kReadoutLabelCount> captions_;
};

// Steps through the year as a thumb drag does, so the disk turns and tilts.
void RedrawThroughTheYear(benchmark::State& benchmarkState, bool differential) {
  DesignSizeWindow window(differential);
  for (auto _ : benchmarkState) {
    Redraw(window);
    window.hour = (window.hour + 97) % 8737;
  }
}

void BM_RedrawFixedGrid(benchmark::State& state) { RedrawThroughTheYear(state, false); }
BENCHMARK(BM_RedrawFixedGrid)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_RedrawDifferentialGrid(benchmark::State& state) { RedrawThroughTheYear(state, true); }
BENCHMARK(BM_RedrawDifferentialGrid)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_ProjectPoint(benchmark::State& benchmarkState) {
  ViewState state;
  state.Geometry = DiskGeometryOfPicture(1000, 628);
  state.SinL0 = std::sin(1.0);
  state.CosL0 = std::cos(1.0);
  state.SinB0 = std::sin(0.1);
  state.CosB0 = std::cos(0.1);
  state.SinNegP = std::sin(-0.3);
  state.CosNegP = std::cos(-0.3);
  state.DiskRadius = 301;
  double longitude = 0;
  for (auto _ : benchmarkState) {
    ProjectPoint(state, longitude, 25 * 3600.0);
    benchmark::DoNotOptimize(state.ProjX);
    longitude += 7200;
  }
}
BENCHMARK(BM_ProjectPoint);

}  // namespace
}  // namespace helidisk
