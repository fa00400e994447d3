#include "compass.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "checked.h"

namespace helidisk {

namespace {

constexpr double kCentrePx = 40;     // from the left and top edges
constexpr double kArmPx = 22;        // from the centre to the arm's end
constexpr double kLetterGapPx = 10;  // from the arm's end to the letter's middle
constexpr double kLetterHalfWidthPx = 4;
constexpr double kLetterHalfHeightPx = 5;

struct Point {
  double x;
  double y;
};

using Stroke = std::array<Point, 4>;

// The letters as strokes through corners of their box, in units of its half
// width and half height, y downward: "N" in one stroke, "E" as a "C" of
// three sides and its middle bar.
constexpr Stroke kLetterN = {{{-1, 1}, {-1, -1}, {1, 1}, {1, -1}}};
constexpr Stroke kLetterE = {{{1, -1}, {-1, -1}, {-1, 1}, {1, 1}}};
constexpr std::array<Point, 2> kLetterEBar = {{{-1, 0}, {0.75, 0}}};

void MoveTo(Canvas& canvas, Point point) {
  canvas.MoveTo(RoundToInt32(point.x), RoundToInt32(point.y));
}

void LineTo(Canvas& canvas, Point point) {
  canvas.LineTo(RoundToInt32(point.x), RoundToInt32(point.y));
}

template <std::size_t N>
void DrawLetterStroke(Canvas& canvas, Point middle, const std::array<Point, N>& stroke) {
  const auto at = [middle](Point corner) {
    return Point{middle.x + corner.x * kLetterHalfWidthPx,
                 middle.y + corner.y * kLetterHalfHeightPx};
  };
  MoveTo(canvas, at(stroke.front()));
  for (std::size_t i = 1; i < N; ++i) LineTo(canvas, at(stroke[i]));
}

// The arm toward a sky direction, and where its letter goes.
Point DrawArm(Canvas& canvas, const DiskFrame& frame, double westward, double northward) {
  const ScreenDirection direction = SkyDirectionOnScreen(frame, westward, northward);
  const Point centre{kCentrePx, kCentrePx};
  MoveTo(canvas, centre);
  LineTo(canvas, {centre.x + kArmPx * direction.right, centre.y + kArmPx * direction.down});
  const double toLetter = kArmPx + kLetterGapPx;
  return {centre.x + toLetter * direction.right, centre.y + toLetter * direction.down};
}

bool DiskReachesTheCorner(const DiskFrame& frame) {
  const double reach = kArmPx + kLetterGapPx + kLetterHalfHeightPx;
  return std::hypot(frame.centreXPx - kCentrePx, frame.centreYPx - kCentrePx) <
         std::abs(frame.radiusPx) + reach * std::numbers::sqrt2;
}

}  // namespace

void DrawCompass(Canvas& canvas, const DiskFrame& frame) {
  if (DiskReachesTheCorner(frame)) return;
  canvas.SetPenColor(kGrey);
  canvas.SetPenWidth(1);
  const Point north = DrawArm(canvas, frame, 0, 1);
  const Point east = DrawArm(canvas, frame, -1, 0);
  DrawLetterStroke(canvas, north, kLetterN);
  DrawLetterStroke(canvas, east, kLetterE);
  DrawLetterStroke(canvas, east, kLetterEBar);
  canvas.SetPenWidth(2);
  canvas.SetPenColor(kBlack);
}

}  // namespace helidisk
