// The vector canvas over a QPainter, painted onto a small raster image
// without antialiasing: what it gathers into polylines reaches the page,
// with the pen it was drawn with, and its shapes keep the SVG drawing's
// geometry.
#include "qpaintercanvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>
#include <vector>

namespace helidisk {
namespace {

constexpr int kSide = 20;
const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kBlackPixel = qRgb(0, 0, 0);
const QRgb kRedPixel = qRgb(255, 0, 0);
const QRgb kBluePixel = qRgb(0, 0, 255);
const QRgb kYellowPixel = qRgb(255, 255, 0);

QImage Painted(const std::function<void(Canvas&)>& draw) {
  QImage image(kSide, kSide, QImage::Format_RGB32);
  image.fill(kWhitePixel);
  QPainter painter(&image);
  {
    QPainterCanvas canvas(painter);
    draw(canvas);
  }
  painter.end();
  return image;
}

struct ExpectedPixel {
  int x;
  int y;
  QRgb color;
};

struct Case {
  const char* what;
  std::function<void(Canvas&)> draw;
  std::vector<ExpectedPixel> pixels;
};

TEST(QPainterCanvasTest, ShapesReachThePageWithTheirPen) {
  const Case cases[] = {
      {"a line gathered until the canvas ends",
       [](Canvas& canvas) {
         canvas.MoveTo(2, 10);
         canvas.LineTo(17, 10);
       },
       {{5, 10, kBlackPixel}, {15, 10, kBlackPixel}, {5, 9, kWhitePixel}, {5, 11, kWhitePixel}}},
      {"a new pen paints the lines before it with the old one",
       [](Canvas& canvas) {
         canvas.MoveTo(2, 5);
         canvas.LineTo(9, 5);
         canvas.SetPenColor(kRed);
         canvas.LineTo(17, 5);
       },
       {{4, 5, kBlackPixel}, {14, 5, kRedPixel}}},
      {"a move to elsewhere ends the polyline",
       [](Canvas& canvas) {
         canvas.MoveTo(2, 5);
         canvas.LineTo(6, 5);
         canvas.MoveTo(2, 15);
         canvas.LineTo(6, 15);
       },
       {{4, 5, kBlackPixel}, {4, 15, kBlackPixel}, {2, 10, kWhitePixel}}},
      {"a wide line without length is a round dot",
       [](Canvas& canvas) {
         canvas.SetPenColor(kRed);
         canvas.SetPenWidth(6);
         canvas.MoveTo(10, 10);
         canvas.LineTo(10, 10);
       },
       {{10, 10, kRedPixel}, {8, 11, kRedPixel}, {7, 7, kWhitePixel}, {14, 10, kWhitePixel}}},
      {"a thin line without length is nothing",
       [](Canvas& canvas) {
         canvas.MoveTo(10, 10);
         canvas.LineTo(10, 10);
       },
       {{10, 10, kWhitePixel}}},
      {"a fill covers Left to Right - 1",
       [](Canvas& canvas) {
         canvas.SetBrushColor(kBlue);
         canvas.FillRect({2, 3, 7, 9});
       },
       {{2, 3, kBluePixel}, {6, 8, kBluePixel}, {7, 8, kWhitePixel}, {6, 9, kWhitePixel}}},
      {"an ellipse keeps its outline inside its box",
       [](Canvas& canvas) {
         canvas.SetPenWidth(2);
         canvas.SetBrushColor(kYellow);
         canvas.Ellipse({4, 4, 16, 16});
       },
       {{10, 10, kYellowPixel},
        {4, 10, kBlackPixel},
        {15, 10, kBlackPixel},
        {3, 10, kWhitePixel},
        {16, 10, kWhitePixel}}},
      {"an inverted box paints nothing",
       [](Canvas& canvas) {
         canvas.SetBrushColor(kBlue);
         canvas.Ellipse({16, 16, 4, 4});
         canvas.FillRect({16, 16, 4, 4});
       },
       {{10, 10, kWhitePixel}}},
  };
  for (const Case& c : cases) {
    const QImage image = Painted(c.draw);
    for (const ExpectedPixel& pixel : c.pixels) {
      EXPECT_EQ(image.pixel(pixel.x, pixel.y), pixel.color)
          << c.what << " at " << pixel.x << "," << pixel.y;
    }
  }
}

}  // namespace
}  // namespace helidisk
