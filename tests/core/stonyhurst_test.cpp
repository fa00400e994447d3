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
using fakes::RecordingCanvas;

constexpr std::int32_t kCentre = 313;
constexpr std::int32_t kRadius = 301;
const DiskGeometry kSheetGeometry = DiskGeometryOfPicture(628, 628);

// A pixel as (x, y).
using Point = std::pair<std::int32_t, std::int32_t>;

// A drawn line with the pen it was drawn with (ends, RGB, width), its ends
// in a fixed order so that the same line drawn either way compares equal.
using Segment = std::tuple<Point, Point, std::uint32_t, std::int32_t>;

// A polyline: the pen's path from a MoveTo through the LineTos after it.
using Polyline = std::vector<Point>;

// The segments of one list that the other lacks, each way.
std::vector<Segment> Unmatched(const std::vector<Segment>& a, const std::vector<Segment>& b) {
  std::vector<Segment> unmatched;
  std::set_symmetric_difference(a.begin(), a.end(), b.begin(), b.end(),
                                std::back_inserter(unmatched));
  return unmatched;
}

std::vector<Segment> SegmentsOf(const std::vector<CanvasOp>& ops) {
  std::vector<Segment> segments;
  Point pen{0, 0};
  for (const CanvasOp& op : ops) {
    if (op.kind == Op::MoveTo) pen = {op.x, op.y};
    if (op.kind != Op::LineTo) continue;
    const Point end{op.x, op.y};
    const std::uint32_t rgb = (std::uint32_t{op.penColor.Red} << 16) |
                              (std::uint32_t{op.penColor.Green} << 8) | op.penColor.Blue;
    segments.emplace_back(std::min(pen, end), std::max(pen, end), rgb, op.penWidth);
    pen = end;
  }
  std::sort(segments.begin(), segments.end());
  return segments;
}

std::vector<Polyline> PolylinesOf(const std::vector<CanvasOp>& ops) {
  std::vector<Polyline> polylines;
  for (const CanvasOp& op : ops) {
    if (op.kind == Op::MoveTo) polylines.push_back({Point{op.x, op.y}});
    if (op.kind == Op::LineTo) polylines.back().emplace_back(op.x, op.y);
  }
  std::erase_if(polylines, [](const Polyline& line) { return line.size() < 2; });
  return polylines;
}

std::vector<Segment> TurnedHalfway(std::vector<Segment> segments) {
  const auto turn = [](Point p) { return Point{2 * kCentre - p.first, 2 * kCentre - p.second}; };
  for (Segment& segment : segments) {
    const Point a = turn(std::get<0>(segment));
    const Point b = turn(std::get<1>(segment));
    std::get<0>(segment) = std::min(a, b);
    std::get<1>(segment) = std::max(a, b);
  }
  std::sort(segments.begin(), segments.end());
  return segments;
}

std::vector<CanvasOp> TemplateOps(double b0Deg) {
  RecordingCanvas canvas;
  DrawStonyhurstTemplate(canvas, kSheetGeometry, b0Deg * DegToRad);
  return canvas.ops;
}

std::vector<CanvasOp> GridOps(double l0Deg, double b0Deg, double pDeg, Orientation orientation) {
  RecordingCanvas canvas;
  canvas.SetPenColor(kGrey);
  canvas.ops.clear();
  DrawStonyhurstGrid(canvas, OrientedDiskFrame(kCentre, kCentre, kRadius, l0Deg * DegToRad,
                                               b0Deg * DegToRad, pDeg * DegToRad, orientation));
  return canvas.ops;
}

double DistanceFromCentre(Point p) { return std::hypot(p.first - kCentre, p.second - kCentre); }

bool OnTheLimb(Point p) { return std::abs(DistanceFromCentre(p) - kRadius) <= 1; }

class TemplateTurnTest : public ::testing::TestWithParam<double> {};

// Observers keep one sheet per whole degree of B0 and turn a sheet over
// for the other sign: every line of the sheet for -B0 is a line of the
// sheet for +B0 turned by 180 deg about the centre, with the same pen.
TEST_P(TemplateTurnTest, NegativeB0IsThePositiveSheetTurnedHalfway) {
  const double b0Deg = GetParam();
  const std::vector<Segment> positive = SegmentsOf(TemplateOps(b0Deg));
  const std::vector<Segment> negative = SegmentsOf(TemplateOps(-b0Deg));
  ASSERT_GT(positive.size(), 1000U);
  EXPECT_EQ(Unmatched(TurnedHalfway(negative), positive), std::vector<Segment>{});
  // Not a sheet that looks the same either way up: the tilt shows.
  EXPECT_FALSE(Unmatched(TurnedHalfway(positive), positive).empty());
}

INSTANTIATE_TEST_SUITE_P(WholeAndPartDegrees, TemplateTurnTest,
                         ::testing::Values(3.0, 1.0, 7.25, 0.5));

TEST(StonyhurstGridTest, FixedToTheObserverWhateverL0) {
  const std::vector<CanvasOp> reference = GridOps(0, 4, 20, Orientation::Sky);
  for (const double l0Deg : {77.0, 200.0, 359.5}) {
    EXPECT_EQ(GridOps(l0Deg, 4, 20, Orientation::Sky), reference) << "L0 " << l0Deg;
  }
  EXPECT_NE(GridOps(0, -4, 20, Orientation::Sky), reference);
  EXPECT_NE(GridOps(0, 4, 21, Orientation::Sky), reference);
  EXPECT_NE(GridOps(0, 4, 20, Orientation::Mirror), reference);
}

// Seen square on (B0 = 0, solar north up), the central meridian is the one
// thick line, straight down through the centre from limb to limb, and the
// meridians cross the equator at R sin(central-meridian distance).
TEST(StonyhurstGridTest, MeridiansByCentralMeridianDistance) {
  const std::vector<CanvasOp> ops = GridOps(123, 0, 0, Orientation::SolarNorth);
  std::vector<Point> thick;
  std::vector<Point> equator;
  Point pen{0, 0};
  for (const CanvasOp& op : ops) {
    if (op.kind == Op::MoveTo) pen = {op.x, op.y};
    if (op.kind != Op::LineTo) continue;
    if (op.penWidth == 2) {
      thick.push_back(pen);
      thick.emplace_back(op.x, op.y);
    }
    if (op.y == kCentre && pen.second == kCentre) equator.emplace_back(op.x, op.y);
    pen = {op.x, op.y};
  }
  ASSERT_FALSE(thick.empty());
  EXPECT_TRUE(std::all_of(thick.begin(), thick.end(), [](Point p) { return p.first == kCentre; }));
  const auto [top, bottom] = std::minmax_element(
      thick.begin(), thick.end(), [](Point a, Point b) { return a.second < b.second; });
  EXPECT_EQ(top->second, kCentre - kRadius);
  EXPECT_EQ(bottom->second, kCentre + kRadius);
  for (int cmDistanceDeg = -80; cmDistanceDeg <= 80; cmDistanceDeg += 10) {
    const std::int32_t x = kCentre + static_cast<std::int32_t>(
                                         std::lround(kRadius * std::sin(cmDistanceDeg * DegToRad)));
    EXPECT_TRUE(std::any_of(equator.begin(), equator.end(), [x](Point p) { return p.first == x; }))
        << cmDistanceDeg << " deg";
  }
}

// With the north pole tipped toward the observer, every meridian runs from
// the pole to the limb and every parallel from limb to limb: no line stops
// short of the limb or runs over it onto the far side.
TEST(StonyhurstGridTest, LinesEndOnTheLimb) {
  const double b0Deg = 7;
  const std::vector<Polyline> lines = PolylinesOf(GridOps(0, b0Deg, 0, Orientation::SolarNorth));
  ASSERT_EQ(lines.size(), 17U + 19U);
  const Point northPole{kCentre, kCentre - static_cast<std::int32_t>(
                                               std::lround(kRadius * std::cos(b0Deg * DegToRad)))};
  for (std::size_t index = 0; index < lines.size(); ++index) {
    const Polyline& line = lines[index];
    const bool parallel = index < 17;
    EXPECT_TRUE(OnTheLimb(line.back())) << "line " << index;
    if (parallel) {
      EXPECT_TRUE(OnTheLimb(line.front())) << "parallel " << index;
    } else {
      EXPECT_EQ(line.front(), northPole) << "meridian " << index - 17;
    }
    EXPECT_TRUE(std::all_of(line.begin(), line.end(),
                            [](Point p) { return DistanceFromCentre(p) <= kRadius + 1; }))
        << "line " << index;
  }
}

}  // namespace
}  // namespace helidisk
