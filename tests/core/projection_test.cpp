#include "projection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "disk_orientation.h"
#include "recording_canvas.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

using fakes::FakeForm;
using fakes::Op;

constexpr double kDegree = 3600;  // arc seconds

TEST(ProjectionTest, WorkedPointsOfATiltedTurnedDisk) {
  struct Case {
    double lonDeg, latDeg;
    std::int32_t x, y;
    double depth;
  };
  const Case cases[] = {
      {40, 20, 604, 189, 0.84},
      {0, 90, 397, 32, std::sin(5 * DegToRad)},  // north pole, turned toward the east
      {190, 0, 490, 288, -0.996},
      {10, 5, 499, 313, 1.0},  // the disk centre (L0, B0)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lonDeg << ", " << c.latDeg);
    ViewState state = fakes::OrientedByDegrees(10, 5, 20, 300);
    ProjectPoint(state, c.lonDeg * kDegree, c.latDeg * kDegree);
    EXPECT_EQ(state.ProjX, c.x);
    EXPECT_EQ(state.ProjY, c.y);
    EXPECT_NEAR(state.ProjDepth, c.depth, 0.005);
  }
}

TEST(ProjectionTest, UprightDiskPutsNorthUpAndLargerLongitudesRight) {
  struct Case {
    double lonDeg, latDeg;
    std::int32_t x, y;
  };
  const Case cases[] = {
      {90, 0, 499 + 300, 313},
      {0, 90, 499, 313 - 300},
      {-90, 0, 499 - 300, 313},
      {0, -90, 499, 313 + 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lonDeg << ", " << c.latDeg);
    ViewState state = fakes::OrientedByDegrees(0, 0, 0, 300);
    ProjectPoint(state, c.lonDeg * kDegree, c.latDeg * kDegree);
    EXPECT_EQ(state.ProjX, c.x);
    EXPECT_EQ(state.ProjY, c.y);
    EXPECT_NEAR(state.ProjDepth, 0, 1e-15);
  }
}

TEST(ProjectionTest, FarSidePointsStayInsideTheDiskWithNegativeDepth) {
  for (const double b0 : {-7.0, 0.0, 7.0}) {
    ViewState state = fakes::OrientedByDegrees(123, b0, -24, 300);
    ProjectPoint(state, 303 * kDegree, 0);
    EXPECT_NEAR(state.ProjDepth, -std::cos(b0 * DegToRad), 1e-12);
    EXPECT_LE(std::hypot(state.ProjX - 499, state.ProjY - 313), 300.0);
    // The north pole lies at depth sin B0.
    ProjectPoint(state, 0, 90 * kDegree);
    EXPECT_NEAR(state.ProjDepth, std::sin(b0 * DegToRad), 1e-12);
  }
}

TEST(ProjectionTest, AxisMarkerStrokesInOrder) {
  FakeForm form;
  ViewState state;
  state.Form = &form;
  DrawAxisMarker(state, 100, 200, Pi / 2);  // black half down the screen

  struct Stroke {
    std::int32_t width;
    Color color;
    std::int32_t fromX, fromY, toX, toY;
  };
  const Stroke expected[] = {
      {13, kGrey, 100, 218, 100, 182},  // outline from the front end to the back end
      {8, kBlack, 100, 200, 100, 218},  // black half toward theta
      {8, kWhite, 100, 200, 100, 182},  // white half away from it
      {10, kGrey, 100, 200, 100, 200},  // centre dot
  };
  std::vector<fakes::CanvasOp> moves;
  std::vector<fakes::CanvasOp> lines;
  for (const auto& op : form.canvas.ops) {
    if (op.kind == Op::MoveTo) moves.push_back(op);
    if (op.kind == Op::LineTo) lines.push_back(op);
  }
  ASSERT_EQ(lines.size(), 4u);
  ASSERT_EQ(moves.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i].penWidth, expected[i].width);
    EXPECT_EQ(lines[i].penColor, expected[i].color);
    EXPECT_EQ(moves[i].x, expected[i].fromX);
    EXPECT_EQ(moves[i].y, expected[i].fromY);
    EXPECT_EQ(lines[i].x, expected[i].toX);
    EXPECT_EQ(lines[i].y, expected[i].toY);
  }
}

TEST(ProjectionTest, HorizontalMarkerHasItsBlackHalfToTheRight) {
  FakeForm form;
  ViewState state;
  state.Form = &form;
  DrawAxisMarker(state, 10, 20, 0);
  const auto& ops = form.canvas.ops;
  ASSERT_GE(ops.size(), 2u);
  const auto blackHalf = std::find_if(ops.begin(), ops.end(), [](const fakes::CanvasOp& op) {
    return op.kind == Op::LineTo && op.penColor == kBlack;
  });
  ASSERT_NE(blackHalf, ops.end());
  EXPECT_EQ(blackHalf->x, 28);
  EXPECT_EQ(blackHalf->y, 20);
  EXPECT_EQ(ops.back().penWidth, 10);
  EXPECT_EQ(ops.back().penColor, kGrey);
}

}  // namespace
}  // namespace helidisk
