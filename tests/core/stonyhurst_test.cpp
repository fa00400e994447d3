#include "stonyhurst.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <tuple>
#include <utility>
#include <vector>

#include "diskgeometry.h"
#include "recording_canvas.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

using fakes::CanvasOp;
using fakes::Op;

constexpr std::int32_t kCentre = 313;
constexpr std::int32_t kTemplateRadius = 301;

using Point = std::pair<std::int32_t, std::int32_t>;
// A drawn line, its ends in a fixed order, with its pen's red and width.
using Segment = std::tuple<Point, Point, std::uint8_t, std::int32_t>;

std::vector<Segment> SegmentsOf(const std::vector<CanvasOp>& ops, bool turnedHalfway = false) {
  std::vector<Segment> segments;
  Point pen{0, 0};
  for (const CanvasOp& op : ops) {
    Point end{op.x, op.y};
    if (turnedHalfway) end = {2 * kCentre - op.x, 2 * kCentre - op.y};
    if (op.kind == Op::LineTo) {
      segments.emplace_back(std::min(pen, end), std::max(pen, end), op.penColor.Red, op.penWidth);
    }
    if (op.kind == Op::MoveTo || op.kind == Op::LineTo) pen = end;
  }
  std::sort(segments.begin(), segments.end());
  return segments;
}

std::vector<CanvasOp> TemplateOps(double b0Deg) {
  fakes::RecordingCanvas canvas;
  DrawStonyhurstTemplate(canvas, DiskGeometryOfPicture(628, 628), b0Deg * DegToRad);
  return canvas.ops;
}

std::vector<CanvasOp> GridOps(double l0Deg, double b0Deg, double pDeg, Orientation orientation) {
  fakes::RecordingCanvas canvas;
  DrawStonyhurstGrid(canvas, OrientedDiskFrame(kCentre, kCentre, kTemplateRadius, l0Deg * DegToRad,
                                               b0Deg * DegToRad, pDeg * DegToRad, orientation));
  return canvas.ops;
}

// Observers keep one sheet per whole degree of B0 and turn a sheet round
// for the other sign: every line of the sheet for -B0 is a line of the
// sheet for +B0 turned by 180 deg about the centre, with the same pen.
TEST(StonyhurstTemplateTest, NegativeB0IsThePositiveSheetTurnedHalfway) {
  for (const double b0Deg : {3.0, 1.0, 7.25, 0.5}) {
    const std::vector<Segment> positive = SegmentsOf(TemplateOps(b0Deg));
    const std::vector<Segment> negativeTurned = SegmentsOf(TemplateOps(-b0Deg), true);
    ASSERT_GT(positive.size(), 1000U);
    std::vector<Segment> unmatched;
    std::set_symmetric_difference(positive.begin(), positive.end(), negativeTurned.begin(),
                                  negativeTurned.end(), std::back_inserter(unmatched));
    EXPECT_EQ(unmatched.size(), 0U) << "B0 " << b0Deg;
    // Not a sheet that looks the same either way up: the tilt shows.
    EXPECT_NE(SegmentsOf(TemplateOps(b0Deg), true), positive) << "B0 " << b0Deg;
  }
}

TEST(StonyhurstGridTest, FixedToTheObserverWhateverL0) {
  const std::vector<CanvasOp> reference = GridOps(0, 4, 20, Orientation::Sky);
  for (const double l0Deg : {77.0, 200.0, 359.5}) {
    EXPECT_EQ(GridOps(l0Deg, 4, 20, Orientation::Sky), reference) << "L0 " << l0Deg;
  }
  EXPECT_NE(GridOps(0, -4, 20, Orientation::Sky), reference);
  EXPECT_NE(GridOps(0, 4, 21, Orientation::Sky), reference);
  EXPECT_NE(GridOps(0, 4, 20, Orientation::Mirror), reference);
}

// With the north pole tipped toward the observer, the 19 meridians run
// from the pole to the limb and the 17 parallels from limb to limb: no line
// stops short of the limb or runs over it onto the far side.
TEST(StonyhurstGridTest, LinesEndOnTheLimb) {
  std::vector<std::vector<Point>> lines;
  for (const CanvasOp& op : GridOps(0, 7, 0, Orientation::SolarNorth)) {
    if (op.kind == Op::MoveTo) lines.emplace_back();
    if (op.kind == Op::MoveTo || op.kind == Op::LineTo) lines.back().emplace_back(op.x, op.y);
  }
  ASSERT_EQ(lines.size(), 17U + 19U);
  const auto radiusAt = [](Point p) { return std::hypot(p.first - kCentre, p.second - kCentre); };
  const Point northPole{
      kCentre,
      kCentre - static_cast<std::int32_t>(std::lround(kTemplateRadius * std::cos(7 * DegToRad)))};
  for (std::size_t index = 0; index < lines.size(); ++index) {
    const bool meridian = index >= 17;
    EXPECT_NEAR(radiusAt(lines[index].back()), kTemplateRadius, 1) << "line " << index;
    if (meridian) {
      EXPECT_EQ(lines[index].front(), northPole) << "line " << index;
    } else {
      EXPECT_NEAR(radiusAt(lines[index].front()), kTemplateRadius, 1) << "line " << index;
    }
    for (const Point& point : lines[index]) EXPECT_LE(radiusAt(point), kTemplateRadius + 1);
  }
}

}  // namespace
}  // namespace helidisk
