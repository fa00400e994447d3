#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "pdfpage.h"
#include "picture.h"
#include "qimagecanvas.h"
#include "svgcanvas.h"

namespace helidisk {
namespace {

PictureRequest DesignSizeAt4417() {
  PictureRequest request;
  request.year = 2021;
  request.hourPosition = 4417;
  request.decimalSeparator = ".";
  return request;
}

// The redraw alone, onto the raster image.
void BM_RedrawOntoRasterImage(benchmark::State& benchmarkState) {
  const PictureRequest options = DesignSizeAt4417();
  QImageCanvas canvas;
  canvas.SetWidth(ImageWidthOf(options));
  canvas.SetHeight(ImageHeightOf(options));
  for (auto _ : benchmarkState) {
    benchmark::DoNotOptimize(DrawPicture(options, canvas));
  }
}
BENCHMARK(BM_RedrawOntoRasterImage)->Unit(benchmark::kMillisecond);

// What helidisk-render does for a picture, short of starting up and
// writing the file: sizing the image, the redraw and the encoding.
void RenderInFormat(benchmark::State& benchmarkState, PictureFormat format) {
  const PictureRequest request = DesignSizeAt4417();
  for (auto _ : benchmarkState) {
    RedrawResult result;
    const std::string picture = RenderPicture(request, format, PageOptions{}, result);
    benchmarkState.counters["bytes"] = static_cast<double>(picture.size());
  }
}

void BM_RenderPng(benchmark::State& state) { RenderInFormat(state, PictureFormat::Png); }
BENCHMARK(BM_RenderPng)->Unit(benchmark::kMillisecond);

void BM_RenderSvg(benchmark::State& state) { RenderInFormat(state, PictureFormat::Svg); }
BENCHMARK(BM_RenderSvg)->Unit(benchmark::kMillisecond);

// The page at 150 mm on A4: two redraws (the record, then the drawing onto
// the page), the texts set in Qt's fonts, and the PDF written.
void BM_RenderPdf(benchmark::State& state) {
  const std::unique_ptr<QGuiApplication> fonts = StartFontSession();
  RenderInFormat(state, PictureFormat::Pdf);
}
BENCHMARK(BM_RenderPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace helidisk
