// The window as a user drives it, on Qt's offscreen platform: a pointer move
// over the picture (readout only, no redraw), opening an observer's image up
// to the first picture with the grid over it, and the picture's redraw when
// the hour moves with a 4096 x 4096 image open.  Also the inverse projection
// the pointer readout runs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <cmath>
#include <memory>

#include "diskframe.h"
#include "form_main.h"
#include "picturecontrol.h"
#include "solar_files.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

// The application object is the one the benchmark program's main makes.
std::unique_ptr<TForm_Main> ShownWindow() {
  auto window = std::make_unique<TForm_Main>();
  window->SetInstantPrompt([](const UtcMinute&) { return UtcMinute{2026, 5, 1, 10, 0}; });
  window->show();
  QCoreApplication::processEvents();
  return window;
}

void BM_Locate(benchmark::State& state) {
  const DiskFrame frame = OrientedDiskFrame(499, 313, 306, 1.0, 0.1, 0.3, Orientation::Sky);
  double x = 300;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Locate(frame, x, 250.5));
    x = x < 700 ? x + 1.25 : 300;
  }
}
BENCHMARK(BM_Locate);

void BM_WindowPointerMove(benchmark::State& state) {
  const auto window = ShownWindow();
  auto* picture = window->findChild<PictureControl*>(QStringLiteral("Image1"));
  const int redraws = window->RedrawCount();
  double x = 300;
  for (auto _ : state) {
    const QPointF position(x, 250.5);
    QMouseEvent move(QEvent::MouseMove, position, picture->mapToGlobal(position), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &move);
    x = x < 700 ? x + 1.25 : 300;
  }
  state.counters["redraws"] = window->RedrawCount() - redraws;
}
BENCHMARK(BM_WindowPointerMove)->Unit(benchmark::kMicrosecond);

void OpenToFirstPicture(benchmark::State& state, const QString& path) {
  const auto window = ShownWindow();
  for (auto _ : state) window->OpenImage(path);
}

void BM_WindowOpenJpeg2048ToFirstPicture(benchmark::State& state) {
  OpenToFirstPicture(state, bench::JpegPath());
}
BENCHMARK(BM_WindowOpenJpeg2048ToFirstPicture)->Unit(benchmark::kMillisecond);

void BM_WindowOpenFits4096ToFirstPicture(benchmark::State& state) {
  OpenToFirstPicture(state, bench::FitsPath());
}
BENCHMARK(BM_WindowOpenFits4096ToFirstPicture)->Unit(benchmark::kMillisecond);

void BM_WindowHourStepOverFits4096(benchmark::State& state) {
  const auto window = ShownWindow();
  window->OpenImage(bench::FitsPath());
  auto* scrollBar = window->findChild<QScrollBar*>(QStringLiteral("ScrollBar1"));
  for (auto _ : state) scrollBar->setValue((scrollBar->value() + 1) % 8737);
}
BENCHMARK(BM_WindowHourStepOverFits4096)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace helidisk
