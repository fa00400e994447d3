#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "canvas.h"
#include "qimagecanvas.h"

namespace helidisk {
namespace {

// The picture at the window's design size.
constexpr std::int32_t kImageWidth = 1000;
constexpr std::int32_t kImageHeight = 628;
constexpr std::int32_t kCentreX = 499;
constexpr std::int32_t kCentreY = 313;
constexpr std::int32_t kDiskRadius = 301;

struct CanvasOp {
  enum class Kind { BrushColor, PenColor, PenWidth, FillRect, Ellipse, MoveTo, LineTo };
  Kind What;
  Color ColorValue{};
  Rect Box{};  // also the point of MoveTo and LineTo (Left, Top) and the width (Left)
};

class OpRecorder final : public Canvas {
 public:
  std::vector<CanvasOp> Ops;

  void SetBrushColor(Color color) override { Ops.push_back({CanvasOp::Kind::BrushColor, color}); }
  void SetPenColor(Color color) override { Ops.push_back({CanvasOp::Kind::PenColor, color}); }
  void SetPenWidth(std::int32_t width) override {
    Ops.push_back({CanvasOp::Kind::PenWidth, {}, {width, 0, 0, 0}});
  }
  void FillRect(const Rect& rect) override { Ops.push_back({CanvasOp::Kind::FillRect, {}, rect}); }
  void Ellipse(const Rect& rect) override { Ops.push_back({CanvasOp::Kind::Ellipse, {}, rect}); }
  void MoveTo(std::int32_t x, std::int32_t y) override {
    Ops.push_back({CanvasOp::Kind::MoveTo, {}, {x, y, 0, 0}});
  }
  void LineTo(std::int32_t x, std::int32_t y) override {
    Ops.push_back({CanvasOp::Kind::LineTo, {}, {x, y, 0, 0}});
  }
};

void Replay(const std::vector<CanvasOp>& ops, Canvas& canvas) {
  for (const CanvasOp& op : ops) {
    switch (op.What) {
      case CanvasOp::Kind::BrushColor:
        canvas.SetBrushColor(op.ColorValue);
        break;
      case CanvasOp::Kind::PenColor:
        canvas.SetPenColor(op.ColorValue);
        break;
      case CanvasOp::Kind::PenWidth:
        canvas.SetPenWidth(op.Box.Left);
        break;
      case CanvasOp::Kind::FillRect:
        canvas.FillRect(op.Box);
        break;
      case CanvasOp::Kind::Ellipse:
        canvas.Ellipse(op.Box);
        break;
      case CanvasOp::Kind::MoveTo:
        canvas.MoveTo(op.Box.Left, op.Box.Top);
        break;
      case CanvasOp::Kind::LineTo:
        canvas.LineTo(op.Box.Left, op.Box.Top);
        break;
    }
  }
}

// An orthographic view of the solar sphere.
struct SphereView {
  double SinB0 = std::sin(0.1);
  double CosB0 = std::cos(0.1);
  double SinP = std::sin(0.3);
  double CosP = std::cos(0.3);

  void Project(double longitudeDeg, double latitudeDeg, std::int32_t& x, std::int32_t& y) const {
    const double longitude = longitudeDeg * std::numbers::pi / 180;
    const double latitude = latitudeDeg * std::numbers::pi / 180;
    const double bodyX = std::cos(latitude) * std::sin(longitude);
    const double bodyY = std::sin(latitude);
    const double bodyZ = std::cos(latitude) * std::cos(longitude);
    const double tiltedY = bodyY * CosB0 - bodyZ * SinB0;
    const double screenX = bodyX * CosP + tiltedY * SinP;
    const double screenY = tiltedY * CosP - bodyX * SinP;
    x = static_cast<std::int32_t>(std::nearbyint(kCentreX + kDiskRadius * screenX));
    y = static_cast<std::int32_t>(std::nearbyint(kCentreY - kDiskRadius * screenY));
  }

  // Moves to the first sample, then lines to every sample, the first included.
  // The real grids only move over the samples on the far hemisphere; drawing
  // them all makes this an upper bound on the number of lines.
  template <typename Sample>
  void Trace(Canvas& canvas, int samples, Sample sample) const {
    std::int32_t x = 0, y = 0;
    double longitude = 0, latitude = 0;
    sample(0, longitude, latitude);
    Project(longitude, latitude, x, y);
    canvas.MoveTo(x, y);
    for (int i = 0; i < samples; ++i) {
      sample(i, longitude, latitude);
      Project(longitude, latitude, x, y);
      canvas.LineTo(x, y);
    }
  }
};

void DrawMarker(Canvas& canvas, std::int32_t x, std::int32_t y, double theta) {
  const auto forwardX = static_cast<std::int32_t>(std::nearbyint(x + 18 * std::cos(theta)));
  const auto forwardY = static_cast<std::int32_t>(std::nearbyint(y + 18 * std::sin(theta)));
  const auto rearX = static_cast<std::int32_t>(std::nearbyint(x - 18 * std::cos(theta)));
  const auto rearY = static_cast<std::int32_t>(std::nearbyint(y - 18 * std::sin(theta)));
  canvas.SetPenWidth(13);
  canvas.SetPenColor(kGrey);
  canvas.MoveTo(forwardX, forwardY);
  canvas.LineTo(rearX, rearY);
  canvas.SetPenWidth(8);
  canvas.SetPenColor(kBlack);
  canvas.MoveTo(x, y);
  canvas.LineTo(forwardX, forwardY);
  canvas.SetPenColor(kWhite);
  canvas.MoveTo(x, y);
  canvas.LineTo(rearX, rearY);
  canvas.SetPenWidth(10);
  canvas.SetPenColor(kGrey);
  canvas.MoveTo(x, y);
  canvas.LineTo(x, y);
}

// The operations of one whole redraw of the picture: background, disk, about
// 6,300 grey 1-px grid lines, two coloured 2-px meridians and the limb (about
// 900 2-px lines), ten axis markers (40 lines with pens of 8 to 13 px) and the
// centre cross.
std::vector<CanvasOp> TypicalRedrawOps() {
  OpRecorder recorder;
  Canvas& canvas = recorder;
  const SphereView view;
  canvas.SetBrushColor(kBlack);
  canvas.FillRect({0, 0, kImageWidth, kImageHeight});
  canvas.SetBrushColor(kYellow);
  canvas.Ellipse({kCentreX - kDiskRadius, kCentreY - kDiskRadius, kCentreX + kDiskRadius,
                  kCentreY + kDiskRadius});
  canvas.SetPenColor(kGrey);
  canvas.SetPenWidth(1);
  for (int parallel = -80; parallel <= 80; parallel += 10) {
    view.Trace(canvas, 182, [parallel](int i, double& longitude, double& latitude) {
      longitude = 2.0 * i;
      latitude = parallel;
    });
  }
  for (int meridian = 0; meridian < 360; meridian += 20) {
    view.Trace(canvas, 179, [meridian](int i, double& longitude, double& latitude) {
      longitude = meridian;
      latitude = -89.0 + i;
    });
  }
  canvas.SetPenWidth(2);
  for (const auto& [meridian, color] : {std::pair{280.0, kRed}, std::pair{100.0, kBlue}}) {
    canvas.SetPenColor(color);
    view.Trace(canvas, 271, [meridian = meridian](int i, double& longitude, double& latitude) {
      longitude = meridian;
      latitude = -90.0 + i * 2.0 / 3;
    });
  }
  for (int marker = 0; marker < 10; ++marker) {
    std::int32_t x = 0, y = 0, northX = 0, northY = 0, southX = 0, southY = 0;
    const double longitude = marker * 36.0;
    view.Project(longitude, 0, x, y);
    view.Project(longitude, 3, northX, northY);
    view.Project(longitude, -3, southX, southY);
    DrawMarker(canvas, x, y, std::atan2(southY - northY, southX - northX));
  }
  canvas.SetPenWidth(2);
  canvas.SetPenColor(kBlack);
  canvas.MoveTo(kCentreX + kDiskRadius, kCentreY);
  for (int angle = 0; angle <= 360; ++angle) {
    const double radians = angle * std::numbers::pi / 180;
    canvas.LineTo(
        static_cast<std::int32_t>(std::nearbyint(std::cos(radians) * kDiskRadius + kCentreX)),
        static_cast<std::int32_t>(std::nearbyint(std::sin(radians) * kDiskRadius + kCentreY)));
  }
  canvas.MoveTo(kCentreX - 6, kCentreY);
  canvas.LineTo(kCentreX + 6, kCentreY);
  canvas.MoveTo(kCentreX, kCentreY - 6);
  canvas.LineTo(kCentreX, kCentreY + 6);
  return recorder.Ops;
}

void ReplayOnDesignSizeImage(benchmark::State& benchmarkState, const std::vector<CanvasOp>& ops) {
  QImageCanvas canvas;
  canvas.SetWidth(kImageWidth);
  canvas.SetHeight(kImageHeight);
  for (auto _ : benchmarkState) {
    Replay(ops, canvas);
    benchmark::DoNotOptimize(canvas.Image().constBits());
    benchmark::ClobberMemory();
  }
  std::int64_t lines = 0;
  for (const CanvasOp& op : ops) lines += op.What == CanvasOp::Kind::LineTo ? 1 : 0;
  benchmarkState.counters["LineTo"] = static_cast<double>(lines);
  benchmarkState.counters["ops"] = static_cast<double>(ops.size());
}

void BM_CanvasTypicalRedrawOps(benchmark::State& benchmarkState) {
  ReplayOnDesignSizeImage(benchmarkState, TypicalRedrawOps());
}
BENCHMARK(BM_CanvasTypicalRedrawOps)->Unit(benchmark::kMicrosecond);

// The part of the redraw that is the same for every instant: background and disk.
void BM_CanvasBackgroundAndDisk(benchmark::State& benchmarkState) {
  const std::vector<CanvasOp> all = TypicalRedrawOps();
  ReplayOnDesignSizeImage(benchmarkState, std::vector<CanvasOp>(all.begin(), all.begin() + 4));
}
BENCHMARK(BM_CanvasBackgroundAndDisk)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace helidisk
