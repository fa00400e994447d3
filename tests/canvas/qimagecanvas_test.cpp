#include "qimagecanvas_test.h"

#include <QColor>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <set>
#include <utility>

#include "qimagecanvas.h"

namespace helidisk {
namespace {

constexpr std::int32_t kMinCoordinate = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMaxCoordinate = std::numeric_limits<std::int32_t>::max();
constexpr QRgb kBackground = qRgb(255, 255, 255);  // a freshly sized image
constexpr Color kPenRed{200, 0, 0};
constexpr Color kBrushBlue{0, 0, 200};

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

QImageCanvas CanvasOfSize(int width, int height) {
  QImageCanvas canvas;
  canvas.SetWidth(width);
  canvas.SetHeight(height);
  return canvas;
}

QRgb Rgb(Color color) { return qRgb(color.Red, color.Green, color.Blue); }

PixelSet PixelsWhere(const QImage& image, bool (*test)(QRgb pixel, QRgb reference),
                     QRgb reference) {
  PixelSet pixels;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (test(image.pixel(x, y), reference)) pixels.insert({x, y});
    }
  }
  return pixels;
}

PixelSet PaintedPixels(const QImage& image) {
  return PixelsWhere(
      image, [](QRgb pixel, QRgb background) { return pixel != background; }, kBackground);
}

PixelSet PixelsOfColor(const QImage& image, QRgb color) {
  return PixelsWhere(
      image, [](QRgb pixel, QRgb wanted) { return pixel == wanted; }, color);
}

// "x,y x,y ..." as written in the tables.
PixelSet ParsePixels(const QString& text) {
  PixelSet pixels;
  const QStringList points = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (const QString& point : points) {
    const QStringList xy = point.split(QLatin1Char(','));
    pixels.insert({xy.at(0).toInt(), xy.at(1).toInt()});
  }
  return pixels;
}

QString Describe(const PixelSet& pixels) {
  QStringList points;
  for (const auto& [x, y] : pixels) points << QStringLiteral("%1,%2").arg(x).arg(y);
  return points.join(QLatin1Char(' '));
}

QString RowOfPixels(int y, int firstX, int lastX) {
  QStringList points;
  for (int x = firstX; x <= lastX; ++x) points << QStringLiteral("%1,%2").arg(x).arg(y);
  return points.join(QLatin1Char(' '));
}

QString DiagonalPixels(int first, int last) {
  QStringList points;
  for (int k = first; k <= last; ++k) points << QStringLiteral("%1,%1").arg(k);
  return points.join(QLatin1Char(' '));
}

struct Bounds {
  int Left = std::numeric_limits<int>::max();
  int Top = std::numeric_limits<int>::max();
  int Right = std::numeric_limits<int>::min();   // inclusive
  int Bottom = std::numeric_limits<int>::min();  // inclusive
};

Bounds BoundsOf(const PixelSet& pixels) {
  Bounds bounds;
  for (const auto& [x, y] : pixels) {
    bounds.Left = std::min(bounds.Left, x);
    bounds.Top = std::min(bounds.Top, y);
    bounds.Right = std::max(bounds.Right, x);
    bounds.Bottom = std::max(bounds.Bottom, y);
  }
  return bounds;
}

// Number of consecutive pixels of the colour from (x, y) on, one step of
// (stepX, stepY) at a time.
int RunLength(const QImage& image, int x, int y, int stepX, int stepY, QRgb color) {
  int length = 0;
  while (image.valid(x, y) && image.pixel(x, y) == color) {
    ++length;
    x += stepX;
    y += stepY;
  }
  return length;
}

void DrawLine(Canvas& canvas, int fromX, int fromY, int toX, int toY) {
  canvas.MoveTo(fromX, fromY);
  canvas.LineTo(toX, toY);
}

// Every kind of operation, with ordinary and with absurd arguments.
void DrawEveryOperation(Canvas& canvas) {
  canvas.SetBrushColor(kBrushBlue);
  canvas.SetPenColor(kPenRed);
  canvas.FillRect({0, 0, 10, 10});
  canvas.FillRect({kMinCoordinate, kMinCoordinate, kMaxCoordinate, kMaxCoordinate});
  canvas.Ellipse({2, 2, 8, 8});
  canvas.Ellipse({kMinCoordinate, kMinCoordinate, kMaxCoordinate, kMaxCoordinate});
  canvas.Ellipse({kMinCoordinate, -3, kMaxCoordinate, 4});
  for (const std::int32_t width : {1, 2, 13, kMaxCoordinate}) {
    canvas.SetPenWidth(width);
    DrawLine(canvas, 1, 1, 7, 4);
    DrawLine(canvas, 3, 3, 3, 3);
    DrawLine(canvas, kMinCoordinate, kMinCoordinate, kMaxCoordinate, kMaxCoordinate);
    DrawLine(canvas, kMaxCoordinate, 5, kMinCoordinate, 6);
    DrawLine(canvas, kMaxCoordinate, kMinCoordinate, kMaxCoordinate, kMaxCoordinate);
  }
}

}  // namespace

// Every drawing call must stay silent: the programs run with fatal warnings.
void QImageCanvasTest::init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

void QImageCanvasTest::fillRectCoversHalfOpenBox_data() {
  QTest::addColumn<int>("left");
  QTest::addColumn<int>("top");
  QTest::addColumn<int>("right");
  QTest::addColumn<int>("bottom");
  QTest::addColumn<QRect>("painted");  // on a 20 x 15 image

  QTest::newRow("inside") << 3 << 4 << 8 << 10 << QRect(3, 4, 5, 6);
  QTest::newRow("one pixel") << 5 << 5 << 6 << 6 << QRect(5, 5, 1, 1);
  QTest::newRow("whole image") << 0 << 0 << 20 << 15 << QRect(0, 0, 20, 15);
  QTest::newRow("beyond every edge") << -5 << -3 << 30 << 40 << QRect(0, 0, 20, 15);
  QTest::newRow("across left and top") << -2 << -2 << 3 << 4 << QRect(0, 0, 3, 4);
  QTest::newRow("across right and bottom") << 17 << 12 << 25 << 25 << QRect(17, 12, 3, 3);
  QTest::newRow("zero width") << 5 << 5 << 5 << 10 << QRect();
  QTest::newRow("zero height") << 5 << 5 << 10 << 5 << QRect();
  QTest::newRow("inverted") << 8 << 8 << 3 << 3 << QRect();
  QTest::newRow("right of image") << 20 << 0 << 30 << 15 << QRect();
  QTest::newRow("above image") << 0 << -10 << 20 << 0 << QRect();
  QTest::newRow("int32 extremes") << kMinCoordinate << kMinCoordinate << kMaxCoordinate
                                  << kMaxCoordinate << QRect(0, 0, 20, 15);
  QTest::newRow("int32 extremes inverted")
      << kMaxCoordinate << kMaxCoordinate << kMinCoordinate << kMinCoordinate << QRect();
}

void QImageCanvasTest::fillRectCoversHalfOpenBox() {
  QFETCH(int, left);
  QFETCH(int, top);
  QFETCH(int, right);
  QFETCH(int, bottom);
  QFETCH(QRect, painted);
  QImageCanvas canvas = CanvasOfSize(20, 15);
  canvas.SetBrushColor(kBrushBlue);
  canvas.SetPenColor(kPenRed);
  canvas.FillRect({left, top, right, bottom});

  PixelSet expected;
  for (int y = painted.top(); y <= painted.bottom(); ++y) {
    for (int x = painted.left(); x <= painted.right(); ++x) expected.insert({x, y});
  }
  QCOMPARE(Describe(PaintedPixels(canvas.Image())), Describe(expected));
  QCOMPARE(PixelsOfColor(canvas.Image(), Rgb(kBrushBlue)).size(), expected.size());
}

void QImageCanvasTest::thinLinePixels_data() {
  QTest::addColumn<int>("fromX");
  QTest::addColumn<int>("fromY");
  QTest::addColumn<int>("toX");
  QTest::addColumn<int>("toY");
  QTest::addColumn<QString>("pixels");  // on a 12 x 10 image

  QTest::newRow("rightward") << 2 << 3 << 7 << 3 << "2,3 3,3 4,3 5,3 6,3";
  QTest::newRow("leftward") << 7 << 3 << 2 << 3 << "7,3 6,3 5,3 4,3 3,3";
  QTest::newRow("downward") << 4 << 1 << 4 << 5 << "4,1 4,2 4,3 4,4";
  QTest::newRow("upward") << 4 << 5 << 4 << 1 << "4,5 4,4 4,3 4,2";
  QTest::newRow("diagonal") << 1 << 1 << 5 << 5 << "1,1 2,2 3,3 4,4";
  QTest::newRow("anti-diagonal") << 6 << 1 << 2 << 5 << "6,1 5,2 4,3 3,4";
  QTest::newRow("shallow") << 0 << 0 << 6 << 2 << "0,0 1,0 2,1 3,1 4,1 5,2";
  QTest::newRow("steep") << 0 << 0 << 2 << 6 << "0,0 0,1 1,2 1,3 1,4 2,5";
  QTest::newRow("tie goes down") << 0 << 0 << 4 << 1 << "0,0 1,0 2,1 3,1";
  QTest::newRow("tie goes down, reversed") << 4 << 1 << 0 << 0 << "4,1 3,1 2,1 1,0";
  QTest::newRow("tie goes right") << 0 << 4 << 1 << 0 << "0,4 0,3 1,2 1,1";
  QTest::newRow("one pixel long") << 3 << 3 << 4 << 3 << "3,3";
  QTest::newRow("clipped at left") << -3 << 2 << 3 << 2 << "0,2 1,2 2,2";
  QTest::newRow("end beyond right") << 9 << 2 << 15 << 2 << "9,2 10,2 11,2";
  QTest::newRow("ends exactly at edge") << 9 << 9 << 12 << 9 << "9,9 10,9 11,9";
  QTest::newRow("outside") << -5 << -5 << -1 << 20 << "";
  QTest::newRow("below, parallel") << 0 << 10 << 11 << 10 << "";
  QTest::newRow("shallow from outside") << -6 << -2 << 6 << 2 << "0,0 1,0 2,1 3,1 4,1 5,2";
  QTest::newRow("int32 diagonal") << kMinCoordinate << kMinCoordinate << kMaxCoordinate
                                  << kMaxCoordinate << DiagonalPixels(0, 9);
  QTest::newRow("int32 horizontal")
      << kMinCoordinate << 4 << kMaxCoordinate << 4 << RowOfPixels(4, 0, 11);
  QTest::newRow("int32 vertical, upward")
      << 5 << kMaxCoordinate << 5 << kMinCoordinate << "5,0 5,1 5,2 5,3 5,4 5,5 5,6 5,7 5,8 5,9";
  // Across 2^32 - 1 columns the line climbs one pixel; it does so half-way,
  // between x = -1 and x = 0, which needs the exact 2 * delta * step.
  QTest::newRow("int32 nearly horizontal")
      << kMinCoordinate << 5 << kMaxCoordinate << 6 << RowOfPixels(6, 0, 11);
  QTest::newRow("int32 nearly horizontal, leftward")
      << kMaxCoordinate << 5 << kMinCoordinate << 6 << RowOfPixels(5, 0, 11);
  // Falls one row behind the diagonal just before x = 0; 2 * delta * step is
  // about 2^64 there.
  QTest::newRow("int32 diagonal, one row short")
      << kMinCoordinate << kMinCoordinate << kMaxCoordinate << kMaxCoordinate - 1
      << "1,0 2,1 3,2 4,3 5,4 6,5 7,6 8,7 9,8 10,9";
}

void QImageCanvasTest::thinLinePixels() {
  QFETCH(int, fromX);
  QFETCH(int, fromY);
  QFETCH(int, toX);
  QFETCH(int, toY);
  QFETCH(QString, pixels);
  QImageCanvas canvas = CanvasOfSize(12, 10);
  DrawLine(canvas, fromX, fromY, toX, toY);
  QCOMPARE(Describe(PaintedPixels(canvas.Image())), Describe(ParsePixels(pixels)));
}

void QImageCanvasTest::reversedThinLineCoversSamePixels_data() {
  QTest::addColumn<QPoint>("start");
  QTest::addColumn<QPoint>("end");
  QTest::newRow("shallow") << QPoint(1, 1) << QPoint(17, 6);
  QTest::newRow("steep upward") << QPoint(2, 13) << QPoint(9, 0);
  QTest::newRow("one step across") << QPoint(0, 0) << QPoint(19, 1);
  QTest::newRow("steep") << QPoint(3, 3) << QPoint(5, 14);
  QTest::newRow("falling to the left") << QPoint(18, 2) << QPoint(1, 11);
  QTest::newRow("even length, odd rise") << QPoint(0, 14) << QPoint(10, 9);
}

void QImageCanvasTest::reversedThinLineCoversSamePixels() {
  QFETCH(QPoint, start);
  QFETCH(QPoint, end);
  QImageCanvas forward = CanvasOfSize(20, 15);
  DrawLine(forward, start.x(), start.y(), end.x(), end.y());
  QImageCanvas backward = CanvasOfSize(20, 15);
  DrawLine(backward, end.x(), end.y(), start.x(), start.y());

  PixelSet forwardWithEnd = PaintedPixels(forward.Image());
  QVERIFY(forwardWithEnd.count({start.x(), start.y()}) == 1);
  QVERIFY(forwardWithEnd.count({end.x(), end.y()}) == 0);
  forwardWithEnd.insert({end.x(), end.y()});
  PixelSet backwardWithStart = PaintedPixels(backward.Image());
  backwardWithStart.insert({start.x(), start.y()});
  QCOMPARE(Describe(forwardWithEnd), Describe(backwardWithStart));
}

void QImageCanvasTest::penStaysAtLineEnd() {
  QImageCanvas canvas = CanvasOfSize(10, 10);
  canvas.MoveTo(1, 1);
  canvas.LineTo(5, 1);
  canvas.LineTo(5, 4);
  canvas.MoveTo(8, 8);
  QCOMPARE(Describe(PaintedPixels(canvas.Image())),
           Describe(ParsePixels("1,1 2,1 3,1 4,1 5,1 5,2 5,3")));
  canvas.LineTo(8, 6);
  QCOMPARE(Describe(PaintedPixels(canvas.Image())),
           Describe(ParsePixels("1,1 2,1 3,1 4,1 5,1 5,2 5,3 8,8 8,7")));
}

void QImageCanvasTest::zeroLengthThinLineDrawsNothing_data() {
  QTest::addColumn<int>("penWidth");
  QTest::newRow("1 px") << 1;
  QTest::newRow("0 px") << 0;
  QTest::newRow("negative") << -4;
}

void QImageCanvasTest::zeroLengthThinLineDrawsNothing() {
  QFETCH(int, penWidth);
  QImageCanvas canvas = CanvasOfSize(10, 10);
  canvas.SetPenWidth(penWidth);
  DrawLine(canvas, 4, 4, 4, 4);
  QVERIFY(PaintedPixels(canvas.Image()).empty());
  DrawLine(canvas, 4, 4, 6, 4);  // and such a pen still draws a 1-px line
  QCOMPARE(Describe(PaintedPixels(canvas.Image())), QStringLiteral("4,4 5,4"));
}

void QImageCanvasTest::wideLineHasPenWidthAndRoundEnds_data() {
  QTest::addColumn<int>("penWidth");
  QTest::addColumn<QPoint>("start");
  QTest::addColumn<QPoint>("end");
  QTest::addColumn<QRect>("bounds");  // of the painted pixels, on a 50 x 40 image
  QTest::addColumn<bool>("cornersVisiblyRound");

  // An even pen straddles the line's pixel corners: rows y - w/2 ... y + w/2 - 1.
  // An odd pen is centred on the pixels: rows y - (w-1)/2 ... y + (w-1)/2.
  // Round ends reach the same half width beyond either end point.
  QTest::newRow("2 px") << 2 << QPoint(10, 12) << QPoint(30, 12)
                        << QRect(QPoint(9, 11), QPoint(30, 12)) << false;
  QTest::newRow("3 px") << 3 << QPoint(10, 12) << QPoint(30, 12)
                        << QRect(QPoint(9, 11), QPoint(31, 13)) << false;
  QTest::newRow("8 px") << 8 << QPoint(10, 12) << QPoint(30, 12)
                        << QRect(QPoint(6, 8), QPoint(33, 15)) << true;
  QTest::newRow("13 px") << 13 << QPoint(10, 12) << QPoint(30, 12)
                         << QRect(QPoint(4, 6), QPoint(36, 18)) << true;
  QTest::newRow("10 px leftward") << 10 << QPoint(30, 20) << QPoint(10, 20)
                                  << QRect(QPoint(5, 15), QPoint(34, 24)) << true;
  QTest::newRow("8 px upward") << 8 << QPoint(20, 25) << QPoint(20, 5)
                               << QRect(QPoint(16, 1), QPoint(23, 28)) << true;
}

void QImageCanvasTest::wideLineHasPenWidthAndRoundEnds() {
  QFETCH(int, penWidth);
  QFETCH(QPoint, start);
  QFETCH(QPoint, end);
  QFETCH(QRect, bounds);
  QFETCH(bool, cornersVisiblyRound);
  QImageCanvas canvas = CanvasOfSize(50, 40);
  canvas.SetPenColor(kPenRed);
  canvas.SetPenWidth(penWidth);
  DrawLine(canvas, start.x(), start.y(), end.x(), end.y());
  const QImage& image = canvas.Image();

  const PixelSet painted = PaintedPixels(image);
  const Bounds paintedBounds = BoundsOf(painted);
  QCOMPARE(QRect(QPoint(paintedBounds.Left, paintedBounds.Top),
                 QPoint(paintedBounds.Right, paintedBounds.Bottom)),
           bounds);
  QCOMPARE(PixelsOfColor(image, Rgb(kPenRed)).size(), painted.size());
  // Across the middle of the line the stroke is exactly the pen width.
  const QPoint middle = (start + end) / 2;
  if (start.y() == end.y()) {
    QCOMPARE(RunLength(image, middle.x(), bounds.top(), 0, 1, Rgb(kPenRed)), penWidth);
  } else {
    QCOMPARE(RunLength(image, bounds.left(), middle.y(), 1, 0, Rgb(kPenRed)), penWidth);
  }
  for (const QPoint& corner :
       {bounds.topLeft(), bounds.topRight(), bounds.bottomLeft(), bounds.bottomRight()}) {
    QCOMPARE(painted.count({corner.x(), corner.y()}) == 0, cornersVisiblyRound);
  }
}

void QImageCanvasTest::zeroLengthWideLineIsRoundDot_data() {
  QTest::addColumn<int>("penWidth");
  QTest::addColumn<QRect>("bounds");  // of the dot drawn at (20, 20)

  QTest::newRow("2 px") << 2 << QRect(19, 19, 2, 2);
  QTest::newRow("4 px") << 4 << QRect(18, 18, 4, 4);
  QTest::newRow("8 px") << 8 << QRect(16, 16, 8, 8);
  QTest::newRow("10 px, the axis marker's centre dot") << 10 << QRect(15, 15, 10, 10);
  QTest::newRow("13 px") << 13 << QRect(14, 14, 13, 13);
}

void QImageCanvasTest::zeroLengthWideLineIsRoundDot() {
  QFETCH(int, penWidth);
  QFETCH(QRect, bounds);
  QImageCanvas canvas = CanvasOfSize(40, 40);
  canvas.SetPenColor(kPenRed);
  canvas.SetPenWidth(penWidth);
  DrawLine(canvas, 20, 20, 20, 20);
  const QImage& image = canvas.Image();

  const PixelSet dot = PixelsOfColor(image, Rgb(kPenRed));
  const Bounds dotBounds = BoundsOf(dot);
  QCOMPARE(QRect(QPoint(dotBounds.Left, dotBounds.Top), QPoint(dotBounds.Right, dotBounds.Bottom)),
           bounds);
  QCOMPARE(PaintedPixels(image).size(), dot.size());
  // Round: as wide as the pen through its middle, symmetric, and its area
  // that of a disk of the pen's diameter to within the pixels of its rim.
  const QPoint middle = bounds.center();
  QCOMPARE(RunLength(image, bounds.left(), middle.y(), 1, 0, Rgb(kPenRed)), penWidth);
  QCOMPARE(RunLength(image, middle.x(), bounds.top(), 0, 1, Rgb(kPenRed)), penWidth);
  for (const auto& [x, y] : dot) {
    const int mirroredX = bounds.left() + bounds.right() - x;
    const int mirroredY = bounds.top() + bounds.bottom() - y;
    QVERIFY(dot.count({mirroredX, y}) == 1);
    QVERIFY(dot.count({x, mirroredY}) == 1);
    QVERIFY(dot.count({y - bounds.top() + bounds.left(), x - bounds.left() + bounds.top()}) == 1);
  }
  const double diskArea = std::numbers::pi * penWidth * penWidth / 4;
  QVERIFY2(
      std::abs(static_cast<double>(dot.size()) - diskArea) <= std::numbers::pi * penWidth / 2 + 1,
      qPrintable(QStringLiteral("%1 pixels").arg(dot.size())));
}

void QImageCanvasTest::widePolylineHasRoundJoin() {
  QImageCanvas canvas = CanvasOfSize(50, 50);
  canvas.SetPenWidth(10);
  canvas.MoveTo(10, 30);
  canvas.LineTo(30, 30);
  canvas.LineTo(30, 10);
  const PixelSet painted = PaintedPixels(canvas.Image());
  // The outer corner at (30, 30): within half the pen width of it the join is
  // filled, beyond that it stays empty where a mitre or square join would not.
  QVERIFY(painted.count({33, 33}) == 1);
  QVERIFY(painted.count({34, 30}) == 1);
  QVERIFY(painted.count({30, 34}) == 1);
  QVERIFY(painted.count({34, 34}) == 0);
  QVERIFY(painted.count({34, 33}) == 0);
  // Both legs keep the full width next to the join.
  QVERIFY(painted.count({25, 25}) == 1);
  QVERIFY(painted.count({25, 34}) == 1);
  QVERIFY(painted.count({25, 35}) == 0);
}

void QImageCanvasTest::clippingKeepsLinePixels_data() {
  QTest::addColumn<int>("penWidth");
  QTest::addColumn<QLine>("line");  // on a 40 x 30 image
  for (const int penWidth : {1, 2, 7, 10}) {
    const QByteArray width = QByteArray::number(penWidth) + " px ";
    QTest::newRow(width + "through") << penWidth << QLine(-40, -30, 80, 70);
    QTest::newRow(width + "back through") << penWidth << QLine(75, -20, -8, 27);
    QTest::newRow(width + "nearly level") << penWidth << QLine(-45, 12, 45, 13);
    QTest::newRow(width + "nearly upright") << penWidth << QLine(3, 70, 9, -40);
    QTest::newRow(width + "ends outside corner") << penWidth << QLine(30, 20, 43, 33);
  }
}

void QImageCanvasTest::clippingKeepsLinePixels() {
  QFETCH(int, penWidth);
  QFETCH(QLine, line);
  constexpr int kOffset = 50;
  QImageCanvas clipped = CanvasOfSize(40, 30);
  QImageCanvas whole = CanvasOfSize(140, 130);
  for (QImageCanvas* canvas : {&clipped, &whole}) canvas->SetPenWidth(penWidth);
  DrawLine(clipped, line.x1(), line.y1(), line.x2(), line.y2());
  DrawLine(whole, line.x1() + kOffset, line.y1() + kOffset, line.x2() + kOffset,
           line.y2() + kOffset);
  QVERIFY(!PaintedPixels(clipped.Image()).empty());
  QCOMPARE(clipped.Image(), whole.Image().copy(kOffset, kOffset, 40, 30));
}

void QImageCanvasTest::ellipseFillsAndOutlinesInscribedEllipse_data() {
  QTest::addColumn<QRect>("box");  // Left, Top and the exclusive Right, Bottom
  QTest::addColumn<int>("penWidth");
  const auto box = [](int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right, bottom));
  };
  QTest::newRow("circle, 1 px pen") << box(4, 4, 24, 24) << 1;
  QTest::newRow("circle, 2 px pen") << box(4, 4, 24, 24) << 2;
  QTest::newRow("circle, 4 px pen") << box(4, 4, 24, 24) << 4;
  QTest::newRow("odd-sized circle, 1 px pen") << box(3, 5, 16, 18) << 1;
  QTest::newRow("wide ellipse, 2 px pen") << box(2, 10, 38, 20) << 2;
  QTest::newRow("tall ellipse, 3 px pen") << box(15, 1, 26, 39) << 3;
}

void QImageCanvasTest::ellipseFillsAndOutlinesInscribedEllipse() {
  QFETCH(QRect, box);
  QFETCH(int, penWidth);
  const int left = box.left(), top = box.top();
  const int right = box.right(), bottom = box.bottom();  // exclusive
  QImageCanvas canvas = CanvasOfSize(40, 40);
  canvas.SetPenColor(kPenRed);
  canvas.SetBrushColor(kBrushBlue);
  canvas.SetPenWidth(penWidth);
  canvas.Ellipse({left, top, right, bottom});
  const QImage& image = canvas.Image();
  const QRgb pen = Rgb(kPenRed), brush = Rgb(kBrushBlue);

  const PixelSet painted = PaintedPixels(image);
  const Bounds bounds = BoundsOf(painted);
  QCOMPARE(bounds.Left, left);
  QCOMPARE(bounds.Top, top);
  QCOMPARE(bounds.Right, right - 1);
  QCOMPARE(bounds.Bottom, bottom - 1);
  QCOMPARE(PixelsOfColor(image, pen).size() + PixelsOfColor(image, brush).size(), painted.size());
  for (const auto& [x, y] : {std::pair{left, top}, std::pair{right - 1, top},
                             std::pair{left, bottom - 1}, std::pair{right - 1, bottom - 1}}) {
    QVERIFY(painted.count({x, y}) == 0);
  }
  // The outline is as thick as the pen along both axes; brush inside it.
  const int middleX = (left + right) / 2, middleY = (top + bottom) / 2;
  QCOMPARE(RunLength(image, left, middleY, 1, 0, pen), penWidth);
  QCOMPARE(RunLength(image, right - 1, middleY, -1, 0, pen), penWidth);
  QCOMPARE(RunLength(image, middleX, top, 0, 1, pen), penWidth);
  QCOMPARE(RunLength(image, middleX, bottom - 1, 0, -1, pen), penWidth);
  QCOMPARE(image.pixel(middleX, middleY), brush);
  // Mirror-symmetric within its box.
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      QCOMPARE(image.pixel(x, y), image.pixel(left + right - 1 - x, y));
      QCOMPARE(image.pixel(x, y), image.pixel(x, top + bottom - 1 - y));
    }
  }
}

void QImageCanvasTest::ellipseWithEmptyBoxDrawsNothing_data() {
  QTest::addColumn<int>("left");
  QTest::addColumn<int>("top");
  QTest::addColumn<int>("right");
  QTest::addColumn<int>("bottom");
  QTest::newRow("zero width") << 10 << 10 << 10 << 20;
  QTest::newRow("zero height") << 10 << 10 << 20 << 10;
  QTest::newRow("inverted across") << 20 << 10 << 10 << 20;
  QTest::newRow("inverted down") << 10 << 20 << 20 << 10;
  // A disk of negative radius, as a picture under 25 px high gives.
  QTest::newRow("negative radius") << 15 << 15 << 5 << 5;
}

void QImageCanvasTest::ellipseWithEmptyBoxDrawsNothing() {
  QFETCH(int, left);
  QFETCH(int, top);
  QFETCH(int, right);
  QFETCH(int, bottom);
  QImageCanvas canvas = CanvasOfSize(30, 30);
  canvas.SetBrushColor(kBrushBlue);
  canvas.SetPenWidth(3);
  canvas.Ellipse({left, top, right, bottom});
  QVERIFY(PaintedPixels(canvas.Image()).empty());
}

void QImageCanvasTest::clippingKeepsEllipsePixels_data() {
  QTest::addColumn<QRect>("box");  // Left, Top and the exclusive Right, Bottom; 40 x 30 image
  QTest::addColumn<int>("penWidth");
  QTest::newRow("over the top left") << QRect(QPoint(-20, -15), QPoint(20, 25)) << 2;
  QTest::newRow("over the bottom right") << QRect(QPoint(25, 10), QPoint(61, 44)) << 1;
  QTest::newRow("over all sides") << QRect(QPoint(-5, -5), QPoint(45, 35)) << 5;
}

void QImageCanvasTest::clippingKeepsEllipsePixels() {
  QFETCH(QRect, box);
  QFETCH(int, penWidth);
  constexpr int kOffset = 50;
  QImageCanvas clipped = CanvasOfSize(40, 30);
  QImageCanvas whole = CanvasOfSize(140, 130);
  for (QImageCanvas* canvas : {&clipped, &whole}) {
    canvas->SetBrushColor(kBrushBlue);
    canvas->SetPenColor(kPenRed);
    canvas->SetPenWidth(penWidth);
  }
  clipped.Ellipse({box.left(), box.top(), box.right(), box.bottom()});
  whole.Ellipse(
      {box.left() + kOffset, box.top() + kOffset, box.right() + kOffset, box.bottom() + kOffset});
  QVERIFY(!PixelsOfColor(clipped.Image(), Rgb(kPenRed)).empty());
  QCOMPARE(clipped.Image(), whole.Image().copy(kOffset, kOffset, 40, 30));
}

void QImageCanvasTest::absurdCoordinatesAreClipped() {
  QImageCanvas canvas = CanvasOfSize(1000, 628);
  canvas.SetBrushColor(kBrushBlue);
  canvas.SetPenColor(kPenRed);
  canvas.Ellipse({kMinCoordinate, kMinCoordinate, kMaxCoordinate, kMaxCoordinate});
  // The image lies deep inside this ellipse.
  QCOMPARE(PixelsOfColor(canvas.Image(), Rgb(kBrushBlue)).size(), std::size_t{1000} * 628);

  canvas.SetPenWidth(13);
  DrawLine(canvas, kMinCoordinate, kMinCoordinate, kMaxCoordinate, kMaxCoordinate);
  const QImage& image = canvas.Image();
  QCOMPARE(image.pixel(100, 100), Rgb(kPenRed));
  // Half of 13 px across the diagonal is 6.5 * sqrt(2) = 9.2 px along a row.
  QCOMPARE(image.pixel(91, 100), Rgb(kPenRed));
  QCOMPARE(image.pixel(109, 100), Rgb(kPenRed));
  QCOMPARE(image.pixel(90, 100), Rgb(kBrushBlue));
  QCOMPARE(image.pixel(110, 100), Rgb(kBrushBlue));
  QCOMPARE(image.pixel(600, 600), Rgb(kPenRed));

  // A pen wider than the image covers it all with one dot.
  canvas.SetPenColor(kWhite);
  canvas.SetPenWidth(kMaxCoordinate);
  DrawLine(canvas, 500, 300, 500, 300);
  QCOMPARE(PaintedPixels(canvas.Image()).size(), std::size_t{0});
}

void QImageCanvasTest::colorsAreExact_data() {
  QTest::addColumn<int>("red");
  QTest::addColumn<int>("green");
  QTest::addColumn<int>("blue");
  QTest::newRow("grey") << 128 << 128 << 128;
  QTest::newRow("yellow") << 255 << 255 << 0;
  QTest::newRow("red") << 255 << 0 << 0;
  QTest::newRow("blue") << 0 << 0 << 255;
  QTest::newRow("black") << 0 << 0 << 0;
  QTest::newRow("white") << 255 << 255 << 255;
  QTest::newRow("odd values") << 1 << 127 << 254;
}

void QImageCanvasTest::colorsAreExact() {
  QFETCH(int, red);
  QFETCH(int, green);
  QFETCH(int, blue);
  const Color color{static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                    static_cast<std::uint8_t>(blue)};
  const Color inverse{static_cast<std::uint8_t>(255 - red), static_cast<std::uint8_t>(255 - green),
                      static_cast<std::uint8_t>(255 - blue)};
  QImageCanvas canvas = CanvasOfSize(40, 20);
  canvas.SetBrushColor(inverse);
  canvas.FillRect({0, 0, 40, 20});
  canvas.SetBrushColor(color);
  canvas.SetPenColor(color);
  canvas.FillRect({2, 2, 5, 5});
  DrawLine(canvas, 0, 10, 10, 10);
  canvas.SetPenWidth(4);
  DrawLine(canvas, 0, 15, 10, 15);
  canvas.Ellipse({20, 0, 40, 20});
  const QImage& image = canvas.Image();

  for (const QPoint& pixel :
       {QPoint(3, 3), QPoint(5, 10), QPoint(5, 15), QPoint(20, 10), QPoint(30, 10)}) {
    const QColor drawn = image.pixelColor(pixel);
    QCOMPARE(drawn.red(), red);
    QCOMPARE(drawn.green(), green);
    QCOMPARE(drawn.blue(), blue);
  }
  QCOMPARE(image.pixelColor(10, 10).red(), 255 - red);  // not drawn
}

void QImageCanvasTest::emptyImageIgnoresDrawing_data() {
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("height");
  QTest::newRow("0 x 0") << 0 << 0;
  QTest::newRow("0 x 5") << 0 << 5;
  QTest::newRow("5 x 0") << 5 << 0;
  QTest::newRow("negative width") << -1 << 5;
  QTest::newRow("negative height") << 5 << -7;
  QTest::newRow("both negative") << -3 << -3;
  QTest::newRow("int32 minimum") << kMinCoordinate << kMinCoordinate;
}

void QImageCanvasTest::emptyImageIgnoresDrawing() {
  QFETCH(int, width);
  QFETCH(int, height);
  QImageCanvas canvas;
  QVERIFY(canvas.Image().isNull());
  DrawEveryOperation(canvas);
  canvas = CanvasOfSize(width, height);
  QCOMPARE(canvas.Width(), width);
  QCOMPARE(canvas.Height(), height);
  QVERIFY(canvas.Image().isNull());
  DrawEveryOperation(canvas);
  QVERIFY(canvas.Image().isNull());

  // From a real image down to nothing and back.
  canvas = CanvasOfSize(10, 10);
  canvas.SetWidth(width);
  canvas.SetHeight(height);
  QVERIFY(canvas.Image().isNull());
  DrawEveryOperation(canvas);
  canvas.SetWidth(10);
  canvas.SetHeight(10);
  QCOMPARE(canvas.Image().size(), QSize(10, 10));
  DrawEveryOperation(canvas);
  QVERIFY(!PaintedPixels(canvas.Image()).empty());
}

void QImageCanvasTest::initialPenIsBlackOnePixelAndBrushWhite() {
  QImageCanvas canvas = CanvasOfSize(20, 20);
  DrawLine(canvas, 2, 10, 18, 10);
  QCOMPARE(Describe(PaintedPixels(canvas.Image())), RowOfPixels(10, 2, 17));
  QCOMPARE(canvas.Image().pixel(2, 10), qRgb(0, 0, 0));
  // The ellipse covers the black line with white brush inside its black outline.
  canvas.Ellipse({0, 0, 20, 20});
  QCOMPARE(canvas.Image().pixel(10, 10), qRgb(255, 255, 255));
  QCOMPARE(canvas.Image().pixel(0, 10), qRgb(0, 0, 0));
  QCOMPARE(canvas.Image().pixel(1, 10), qRgb(255, 255, 255));
}

void QImageCanvasTest::penAndBrushSurviveResize() {
  QImageCanvas canvas = CanvasOfSize(20, 20);
  canvas.SetPenColor(kPenRed);
  canvas.SetPenWidth(5);
  canvas.SetBrushColor(kBrushBlue);
  canvas.MoveTo(4, 6);
  canvas.SetWidth(0);
  canvas.SetWidth(30);
  canvas.SetHeight(25);
  canvas.LineTo(4, 6);  // the pen position survives as well
  canvas.FillRect({20, 20, 22, 22});
  const QImage& image = canvas.Image();
  QCOMPARE(image.size(), QSize(30, 25));
  QCOMPARE(RunLength(image, 0, 6, 1, 0, kBackground), 2);
  QCOMPARE(RunLength(image, 2, 6, 1, 0, Rgb(kPenRed)), 5);
  QCOMPARE(image.pixel(21, 21), Rgb(kBrushBlue));
}

void QImageCanvasTest::resizeKeepsSharedPixels() {
  QImageCanvas canvas = CanvasOfSize(10, 10);
  canvas.SetBrushColor(kBrushBlue);
  canvas.FillRect({0, 0, 10, 10});
  canvas.SetWidth(15);
  QCOMPARE(canvas.Image().size(), QSize(15, 10));
  QCOMPARE(PixelsOfColor(canvas.Image(), Rgb(kBrushBlue)).size(), std::size_t{100});
  QCOMPARE(canvas.Image().pixel(12, 5), kBackground);
  canvas.SetHeight(4);
  QCOMPARE(canvas.Image().size(), QSize(15, 4));
  QCOMPARE(PixelsOfColor(canvas.Image(), Rgb(kBrushBlue)).size(), std::size_t{40});
}

void QImageCanvasTest::savedImageReloadsUnchanged() {
  QImageCanvas canvas = CanvasOfSize(64, 48);
  canvas.SetBrushColor(kBlack);
  canvas.FillRect({0, 0, 64, 48});
  canvas.SetBrushColor(kYellow);
  canvas.SetPenWidth(2);
  canvas.Ellipse({8, 0, 56, 48});
  canvas.SetPenColor(kGrey);
  DrawLine(canvas, 0, 0, 63, 47);
  QTemporaryDir directory;
  QVERIFY(directory.isValid());
  const QString path = directory.filePath(QStringLiteral("picture.png"));
  QVERIFY(canvas.Image().save(path));
  QImage reloaded(path);
  QCOMPARE(reloaded.convertToFormat(QImage::Format_RGB32), canvas.Image());
}

}  // namespace helidisk

QTEST_GUILESS_MAIN(helidisk::QImageCanvasTest)
