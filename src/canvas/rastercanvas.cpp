#include "rastercanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>

namespace helidisk {
namespace {

// A thin line clipped far from its end points needs 2 * delta * step exactly,
// which can exceed 64 bits when the coordinates span the whole int32 range.
__extension__ using WideInt = __int128;

// A closed interval of x on one pixel row; empty when Low > High.
struct Span {
  double Low = std::numeric_limits<double>::infinity();
  double High = -std::numeric_limits<double>::infinity();
};

bool IsEmpty(Span span) { return !(span.Low <= span.High); }

// Only used on pieces of one convex shape, whose union has no gaps.
Span Union(Span a, Span b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return {std::min(a.Low, b.Low), std::max(a.High, b.High)};
}

Span Intersection(Span a, Span b) { return {std::max(a.Low, b.Low), std::min(a.High, b.High)}; }

// The x of the row at height y that lie within the radius of the centre.
Span DiskSpan(double centreX, double centreY, double radius, double y) {
  const double offsetY = y - centreY;
  const double halfChordSquared = radius * radius - offsetY * offsetY;
  if (halfChordSquared < 0) return {};
  const double halfChord = std::sqrt(halfChordSquared);
  return {centreX - halfChord, centreX + halfChord};
}

// The x of the row at height y inside the ellipse with the given semi-axes.
Span EllipseSpan(double centreX, double centreY, double radiusX, double radiusY, double y) {
  if (radiusX <= 0 || radiusY <= 0) return {};
  const double relativeY = (y - centreY) / radiusY;
  const double rest = 1 - relativeY * relativeY;
  if (rest < 0) return {};
  const double halfChord = radiusX * std::sqrt(rest);
  return {centreX - halfChord, centreX + halfChord};
}

// The x with low <= coefficient * x <= high.
Span SolveLinear(double coefficient, double low, double high) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  if (coefficient > 0) return {low / coefficient, high / coefficient};
  if (coefficient < 0) return {high / coefficient, low / coefficient};
  if (low <= 0 && 0 <= high) return {-kInfinity, kInfinity};
  return {};
}

// The pixels of a row of the given length whose centres lie in the span.
bool SpanPixels(Span span, std::int64_t rowLength, std::int64_t& first, std::int64_t& last) {
  const double firstPixel = std::max(0.0, std::ceil(span.Low - 0.5));
  const double lastPixel =
      std::min(static_cast<double>(rowLength - 1), std::floor(span.High - 0.5));
  if (!(firstPixel <= lastPixel)) return false;
  first = static_cast<std::int64_t>(firstPixel);
  last = static_cast<std::int64_t>(lastPixel);
  return true;
}

std::int64_t FloorDiv(WideInt numerator, std::int64_t positiveDenominator) {
  WideInt quotient = numerator / positiveDenominator;
  if (numerator % positiveDenominator != 0 && numerator < 0) --quotient;
  return static_cast<std::int64_t>(quotient);
}

// Pixels first ... last of row y, all inside the image.
void PaintRun(const PixelView& grid, std::int64_t y, std::int64_t first, std::int64_t last,
              std::uint32_t color) {
  std::uint32_t* row = grid.Pixels + y * grid.RowStride;
  std::fill(row + first, row + last + 1, color);
}

void DrawThinLine(const PixelView& grid, std::int64_t fromX, std::int64_t fromY, std::int64_t toX,
                  std::int64_t toY, std::uint32_t color) {
  const std::int64_t deltaX = toX - fromX;
  const std::int64_t deltaY = toY - fromY;
  if (deltaX == 0 && deltaY == 0) return;
  // One pixel per step along the longer ("major") axis; the other ("minor")
  // coordinate follows the line.
  const bool stepsAlongX = std::abs(deltaX) >= std::abs(deltaY);
  const std::int64_t majorStart = stepsAlongX ? fromX : fromY;
  const std::int64_t minorStart = stepsAlongX ? fromY : fromX;
  const std::int64_t majorDelta = stepsAlongX ? deltaX : deltaY;
  const std::int64_t minorDelta = stepsAlongX ? deltaY : deltaX;
  const std::int64_t majorLimit = stepsAlongX ? grid.Width : grid.Height;
  const std::int64_t minorLimit = stepsAlongX ? grid.Height : grid.Width;
  const std::int64_t majorStride = stepsAlongX ? 1 : grid.RowStride;
  const std::int64_t minorStride = stepsAlongX ? grid.RowStride : 1;

  // The end pixel, step number `steps`, is never drawn; only steps whose major
  // coordinate lies inside the image are visited.
  const std::int64_t steps = std::abs(majorDelta);
  const std::int64_t majorStep = majorDelta > 0 ? 1 : -1;
  const std::int64_t firstStep = majorStep > 0
                                     ? std::max<std::int64_t>(0, -majorStart)
                                     : std::max<std::int64_t>(0, majorStart - majorLimit + 1);
  const std::int64_t endStep =
      majorStep > 0 ? std::min(steps, majorLimit - majorStart) : std::min(steps, majorStart + 1);
  if (firstStep >= endStep) return;

  // At step i the minor coordinate is
  //   minorStart + floor((2 * minorDelta * i + steps) / (2 * steps)),
  // the nearest pixel with ties rounded up; the remainder is carried from step
  // to step and stays within 0 ... denominator - 1.
  const std::int64_t denominator = 2 * steps;
  const std::int64_t remainderStep = 2 * minorDelta;
  std::int64_t minorOffset = 0;
  std::int64_t remainder = steps;
  if (firstStep > 0) {
    const WideInt numerator = static_cast<WideInt>(remainderStep) * firstStep + steps;
    minorOffset = FloorDiv(numerator, denominator);
    remainder =
        static_cast<std::int64_t>(numerator - static_cast<WideInt>(minorOffset) * denominator);
  }
  std::int64_t major = majorStart + majorStep * firstStep;
  std::int64_t minor = minorStart + minorOffset;

  for (std::int64_t step = firstStep; step < endStep; ++step) {
    if (minor >= 0 && minor < minorLimit) {
      grid.Pixels[major * majorStride + minor * minorStride] = color;
    } else if ((minor >= minorLimit && minorDelta >= 0) || (minor < 0 && minorDelta <= 0)) {
      return;  // left the image for good
    }
    major += majorStep;
    remainder += remainderStep;
    if (remainder >= denominator) {
      remainder -= denominator;
      ++minor;
    } else if (remainder < 0) {
      remainder += denominator;
      --minor;
    }
  }
}

void DrawWideLine(const PixelView& grid, std::int64_t fromX, std::int64_t fromY, std::int64_t toX,
                  std::int64_t toY, std::int32_t widthPixels, std::uint32_t color) {
  // An odd width is centred on pixel centres, an even one on pixel corners:
  // either way the pixel rows (or columns) across an axis-parallel line number
  // exactly the pen width.
  const double origin = widthPixels % 2 == 1 ? 0.5 : 0.0;
  const double startX = static_cast<double>(fromX) + origin;
  const double startY = static_cast<double>(fromY) + origin;
  const double endX = static_cast<double>(toX) + origin;
  const double endY = static_cast<double>(toY) + origin;
  const double radius = widthPixels / 2.0;
  const double deltaX = endX - startX;
  const double deltaY = endY - startY;
  const double lengthSquared = deltaX * deltaX + deltaY * deltaY;
  // Distance from the segment's line times the segment's length.
  const double reach = radius * std::sqrt(lengthSquared);

  Span rows{std::min(startY, endY) - radius, std::max(startY, endY) + radius};
  std::int64_t firstRow = 0, lastRow = 0;
  if (!SpanPixels(rows, grid.Height, firstRow, lastRow)) return;
  for (std::int64_t y = firstRow; y <= lastRow; ++y) {
    const double rowCentre = static_cast<double>(y) + 0.5;
    Span covered =
        Union(DiskSpan(startX, startY, radius, rowCentre), DiskSpan(endX, endY, radius, rowCentre));
    if (lengthSquared > 0) {
      // Points beside the segment: their projection falls between its ends and
      // their distance from it is at most the radius.  In x relative to the start.
      const double alongY = rowCentre - startY;
      const Span between = SolveLinear(deltaX, -deltaY * alongY, lengthSquared - deltaY * alongY);
      const Span beside = SolveLinear(deltaY, deltaX * alongY - reach, deltaX * alongY + reach);
      const Span band = Intersection(between, beside);
      covered = Union(covered, {band.Low + startX, band.High + startX});
    }
    std::int64_t first = 0, last = 0;
    if (SpanPixels(covered, grid.Width, first, last)) PaintRun(grid, y, first, last, color);
  }
}

}  // namespace

void RasterCanvas::SetBrushColor(Color color) { brushColor_ = PixelOf(color); }

void RasterCanvas::SetPenColor(Color color) { penColor_ = PixelOf(color); }

void RasterCanvas::SetPenWidth(std::int32_t widthPixels) { penWidthPixels_ = widthPixels; }

void RasterCanvas::FillRect(const Rect& rect) {
  const PixelView grid = Pixels();
  const std::int64_t left = std::max<std::int64_t>(rect.Left, 0);
  const std::int64_t right = std::min<std::int64_t>(rect.Right, grid.Width);
  const std::int64_t top = std::max<std::int64_t>(rect.Top, 0);
  const std::int64_t bottom = std::min<std::int64_t>(rect.Bottom, grid.Height);
  if (left >= right) return;
  for (std::int64_t y = top; y < bottom; ++y) PaintRun(grid, y, left, right - 1, brushColor_);
}

void RasterCanvas::Ellipse(const Rect& rect) {
  if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
  const PixelView grid = Pixels();
  const double centreX = (static_cast<double>(rect.Left) + rect.Right) / 2;
  const double centreY = (static_cast<double>(rect.Top) + rect.Bottom) / 2;
  const double radiusX = (static_cast<double>(rect.Right) - rect.Left) / 2;
  const double radiusY = (static_cast<double>(rect.Bottom) - rect.Top) / 2;
  const double outlineWidth = std::max(penWidthPixels_, 1);
  const std::int64_t firstRow = std::max<std::int64_t>(rect.Top, 0);
  const std::int64_t endRow = std::min<std::int64_t>(rect.Bottom, grid.Height);
  for (std::int64_t y = firstRow; y < endRow; ++y) {
    const double rowCentre = static_cast<double>(y) + 0.5;
    std::int64_t first = 0, last = 0;
    const Span outer = EllipseSpan(centreX, centreY, radiusX, radiusY, rowCentre);
    if (!SpanPixels(outer, grid.Width, first, last)) continue;
    std::int64_t innerFirst = 0, innerLast = 0;
    const Span inner =
        EllipseSpan(centreX, centreY, radiusX - outlineWidth, radiusY - outlineWidth, rowCentre);
    if (!SpanPixels(inner, grid.Width, innerFirst, innerLast)) {
      PaintRun(grid, y, first, last, penColor_);
      continue;
    }
    if (first < innerFirst) PaintRun(grid, y, first, innerFirst - 1, penColor_);
    PaintRun(grid, y, innerFirst, innerLast, brushColor_);
    if (innerLast < last) PaintRun(grid, y, innerLast + 1, last, penColor_);
  }
}

void RasterCanvas::MoveTo(std::int32_t x, std::int32_t y) {
  penX_ = x;
  penY_ = y;
}

void RasterCanvas::LineTo(std::int32_t x, std::int32_t y) {
  const PixelView grid = Pixels();
  if (grid.Width > 0 && grid.Height > 0) {
    if (penWidthPixels_ > 1) {
      DrawWideLine(grid, penX_, penY_, x, y, penWidthPixels_, penColor_);
    } else {
      DrawThinLine(grid, penX_, penY_, x, y, penColor_);
    }
  }
  penX_ = x;
  penY_ = y;
}

PixelCanvas::PixelCanvas(std::int32_t widthPixels, std::int32_t heightPixels)
    : widthPixels_(std::max(widthPixels, 0)), heightPixels_(std::max(heightPixels, 0)) {
  const std::size_t count =
      static_cast<std::size_t>(widthPixels_) * static_cast<std::size_t>(heightPixels_);
  pixels_ = AllocateLargeBuffer(count * sizeof(std::uint32_t));
  if (pixels_ == nullptr) throw std::bad_alloc();
  std::fill_n(reinterpret_cast<std::uint32_t*>(pixels_.get()), count, PixelOf(kWhite));
}

PixelView PixelCanvas::Pixels() {
  return {reinterpret_cast<std::uint32_t*>(pixels_.get()), widthPixels_, widthPixels_,
          heightPixels_};
}

}  // namespace helidisk
