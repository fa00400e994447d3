// The raster canvas alone: the drawing operations of one whole redraw at the
// window's design size, recorded once and replayed, so that the time the
// pixels take can be told from the time the astronomy and projection take.
#include <benchmark/benchmark.h>

#include <vector>

#include "diskgeometry.h"
#include "qimagecanvas.h"
#include "recording_canvas.h"
#include "redraw.h"

namespace helidisk {
namespace {

using fakes::CanvasOp;
using fakes::Op;

std::vector<CanvasOp> RedrawOps(bool differential) {
  fakes::FakeForm form;
  form.year = 2026;
  form.scrollPosition = 4417;
  form.diffRotChecked = differential;
  Redraw(form);
  return form.canvas.ops;
}

void Replay(const std::vector<CanvasOp>& ops, Canvas& canvas) {
  for (const CanvasOp& op : ops) {
    switch (op.kind) {
      case Op::BrushColor:
        canvas.SetBrushColor(op.color);
        break;
      case Op::PenColor:
        canvas.SetPenColor(op.color);
        break;
      case Op::PenWidth:
        canvas.SetPenWidth(op.width);
        break;
      case Op::FillRect:
        canvas.FillRect(op.rect);
        break;
      case Op::Ellipse:
        canvas.Ellipse(op.rect);
        break;
      case Op::MoveTo:
        canvas.MoveTo(op.x, op.y);
        break;
      case Op::LineTo:
        canvas.LineTo(op.x, op.y);
        break;
    }
  }
}

void ReplayOnDesignSizeImage(benchmark::State& benchmarkState, const std::vector<CanvasOp>& ops) {
  QImageCanvas canvas;
  const DiskGeometry designSize = fakes::FakeForm().geometry;
  canvas.SetWidth(ImageWidthOf(designSize));
  canvas.SetHeight(ImageHeightOf(designSize));
  for (auto _ : benchmarkState) {
    Replay(ops, canvas);
    benchmark::DoNotOptimize(canvas.Image().constBits());
    benchmark::ClobberMemory();
  }
  std::int64_t lines = 0;
  for (const CanvasOp& op : ops) lines += op.kind == Op::LineTo ? 1 : 0;
  benchmarkState.counters["LineTo"] = static_cast<double>(lines);
  benchmarkState.counters["ops"] = static_cast<double>(ops.size());
}

void BM_CanvasFixedGridRedrawOps(benchmark::State& benchmarkState) {
  ReplayOnDesignSizeImage(benchmarkState, RedrawOps(false));
}
BENCHMARK(BM_CanvasFixedGridRedrawOps)->Unit(benchmark::kMicrosecond);

void BM_CanvasDifferentialGridRedrawOps(benchmark::State& benchmarkState) {
  ReplayOnDesignSizeImage(benchmarkState, RedrawOps(true));
}
BENCHMARK(BM_CanvasDifferentialGridRedrawOps)->Unit(benchmark::kMicrosecond);

// The part of every redraw that does not depend on the instant's grid:
// background and disk.
void BM_CanvasBackgroundAndDisk(benchmark::State& benchmarkState) {
  const std::vector<CanvasOp> all = RedrawOps(false);
  ReplayOnDesignSizeImage(benchmarkState, std::vector<CanvasOp>(all.begin(), all.begin() + 4));
}
BENCHMARK(BM_CanvasBackgroundAndDisk)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace helidisk
