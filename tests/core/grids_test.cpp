#include "grids.h"

#include <gtest/gtest.h>

#include <cmath>

#include "disk_orientation.h"
#include "diskgeometry.h"
#include "projection.h"
#include "recording_canvas.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

using fakes::CanvasOp;
using fakes::FakeForm;
using fakes::Op;

using StrokeRun = std::vector<CanvasOp>;

// The pen moves and lines of a grid, cut into runs wherever the pen changes:
// the thin parallels, one run per meridian, the thick parallels, then the
// strokes of the markers.
std::vector<StrokeRun> RunsBetweenPenChanges(const std::vector<CanvasOp>& ops) {
  std::vector<StrokeRun> runs(1);
  for (const CanvasOp& op : ops) {
    if (op.kind == Op::PenColor || op.kind == Op::PenWidth) {
      if (!runs.back().empty()) runs.emplace_back();
    } else {
      runs.back().push_back(op);
    }
  }
  if (runs.back().empty()) runs.pop_back();
  return runs;
}

bool SamePenStroke(const CanvasOp& a, const CanvasOp& b) {
  return a.kind == b.kind && a.x == b.x && a.y == b.y && a.penColor == b.penColor &&
         a.penWidth == b.penWidth;
}

class GridTest : public ::testing::Test {
 protected:
  // A record as the redraw hands it to a grid, the pen grey.
  ViewState Oriented(double l0Deg, double b0Deg, double pDeg, std::int32_t radius = 300) {
    form.canvas.SetPenColor(kGrey);
    form.canvas.ops.clear();
    ViewState state = fakes::OrientedByDegrees(l0Deg, b0Deg, pDeg, radius);
    state.Form = &form;
    return state;
  }

  std::vector<CanvasOp> StrokesOf(Op kind, Color penColor, std::int32_t penWidth) const {
    std::vector<CanvasOp> strokes;
    for (const CanvasOp& op : form.canvas.ops) {
      if (op.kind == kind && op.penColor == penColor && op.penWidth == penWidth)
        strokes.push_back(op);
    }
    return strokes;
  }

  FakeForm form;
};

TEST_F(GridTest, FixedGridMakesOnePenMoveOrLinePerProjection) {
  ViewState state = Oriented(100, 0, 0);
  DrawFixedGrid(state);
  const std::vector<StrokeRun> runs = RunsBetweenPenChanges(form.canvas.ops);
  ASSERT_GE(runs.size(), 1u + 37 + 1);
  EXPECT_EQ(runs[0].size(), 17u * 182);  // thin parallels
  for (int meridian = 1; meridian <= 37; ++meridian) {
    EXPECT_EQ(runs[meridian].size(), 87u) << meridian;
  }
  EXPECT_EQ(runs[38].size(), 5u * 182);  // thick parallels
}

TEST_F(GridTest, MarkersOfTheUprightBlueMeridian) {
  ViewState state = Oriented(100, 0, 0);
  DrawFixedGrid(state);
  // Only markers 3 and 4 lie well inside the limb: the southern one first.
  const auto outlines = StrokesOf(Op::LineTo, kGrey, 13);
  ASSERT_EQ(outlines.size(), 2u);
  const auto blackHalves = StrokesOf(Op::LineTo, kBlack, 8);
  const auto whiteHalves = StrokesOf(Op::LineTo, kWhite, 8);
  const auto dots = StrokesOf(Op::LineTo, kGrey, 10);
  ASSERT_EQ(blackHalves.size(), 2u);
  ASSERT_EQ(whiteHalves.size(), 2u);
  ASSERT_EQ(dots.size(), 2u);
  EXPECT_EQ(dots[0].x, 499);
  EXPECT_EQ(dots[0].y, 440);
  EXPECT_EQ(dots[1].x, 499);
  EXPECT_EQ(dots[1].y, 186);
  EXPECT_EQ(blackHalves[0].x, 499);
  EXPECT_EQ(blackHalves[0].y, 458);
  EXPECT_EQ(whiteHalves[0].y, 422);
  EXPECT_EQ(blackHalves[1].x, 499);
  EXPECT_EQ(blackHalves[1].y, 204);
  EXPECT_EQ(whiteHalves[1].y, 168);
  EXPECT_EQ(form.canvas.ops.back().penWidth, 10);
}

TEST_F(GridTest, ColouredMeridiansFollowTheCentralMeridian) {
  struct Case {
    double l0Deg;
    std::size_t redLines, blueLines;
  };
  // The central meridian is seen whole (86 samples); the opposite one lies
  // on the limb, where no sample has a positive depth.
  for (const Case c : {Case{100, 0, 86}, Case{280, 86, 0}}) {
    SCOPED_TRACE(c.l0Deg);
    ViewState state = Oriented(c.l0Deg, 0, 0);
    DrawFixedGrid(state);
    EXPECT_EQ(StrokesOf(Op::LineTo, kRed, 2).size(), c.redLines);
    EXPECT_EQ(StrokesOf(Op::LineTo, kBlue, 2).size(), c.blueLines);
  }
}

TEST_F(GridTest, HiddenStretchesOnlyMoveThePen) {
  // Tilted 20 deg toward the observer: the 80 deg parallel is seen whole,
  // the -80 deg parallel not at all.
  ViewState state = Oriented(0, 20, 0);
  DrawFixedGrid(state);
  constexpr std::size_t kOpsPerParallel = 182;
  const StrokeRun thinParallels = RunsBetweenPenChanges(form.canvas.ops)[0];
  const std::size_t southernmost = 16 * kOpsPerParallel;
  for (std::size_t sample = 1; sample < kOpsPerParallel; ++sample) {
    EXPECT_EQ(thinParallels[sample].kind, Op::LineTo) << sample;
    EXPECT_EQ(thinParallels[southernmost + sample].kind, Op::MoveTo) << sample;
  }
}

TEST_F(GridTest, AtNewYearTheDifferentialGridOnlySamplesMeridiansFiner) {
  ViewState fixedState = Oriented(280.156492, -3.026069, 1.955167, 306);
  DrawFixedGrid(fixedState);
  const std::vector<StrokeRun> fixedRuns = RunsBetweenPenChanges(form.canvas.ops);

  form.scrollPosition = 0;
  ViewState differentialState = Oriented(280.156492, -3.026069, 1.955167, 306);
  DrawDifferentialGrid(differentialState);
  std::vector<StrokeRun> differentialRuns = RunsBetweenPenChanges(form.canvas.ops);

  ASSERT_EQ(fixedRuns.size(), differentialRuns.size());
  for (std::size_t meridian = 1; meridian <= 37; ++meridian) {
    ASSERT_EQ(differentialRuns[meridian].size(), 172u);
    StrokeRun everySecondDegree{differentialRuns[meridian][0]};
    for (std::size_t sample = 1; sample < 172; sample += 2) {
      everySecondDegree.push_back(differentialRuns[meridian][sample]);
    }
    differentialRuns[meridian] = everySecondDegree;
  }
  for (std::size_t run = 0; run < fixedRuns.size(); ++run) {
    ASSERT_EQ(fixedRuns[run].size(), differentialRuns[run].size()) << run;
    for (std::size_t i = 0; i < fixedRuns[run].size(); ++i) {
      ASSERT_TRUE(SamePenStroke(fixedRuns[run][i], differentialRuns[run][i])) << run << ", " << i;
    }
  }
}

TEST_F(GridTest, LastHourShiftsTheEquatorMostAndThePolesLeast) {
  struct Case {
    std::int32_t latitudeDeg, hours;
    double shiftDeg, toleranceDeg;
  };
  const Case cases[] = {
      {0, 8736, 606.667, 0.001},
      {25, 8736, 370.96, 0.01},
      {-25, 8736, 370.96, 0.01},
      {85, 8736, 11.0 / 3600, 0.5 / 3600},
      {10, 24, 1.5439, 0.0001},
      {45, 24, 0.2946, 0.0001},
      {0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.latitudeDeg << " deg, " << c.hours << " h");
    EXPECT_NEAR(DifferentialShiftArcSeconds(c.latitudeDeg * 3600, c.hours) / 3600, c.shiftDeg,
                c.toleranceDeg);
  }
  EXPECT_EQ(DifferentialShiftArcSeconds(0, 8736), 2184000.0);
}

TEST_F(GridTest, DifferentialMeridiansAreProjectedAtTheirShiftedLongitude) {
  form.scrollPosition = 8736;
  ViewState state = Oriented(37, 4, -12);
  DrawDifferentialGrid(state);
  const std::vector<StrokeRun> runs = RunsBetweenPenChanges(form.canvas.ops);
  // Meridian 10 deg (the second run of meridians), sample at latitude 25 deg.
  const CanvasOp& sample = runs[2][1 + 85 - 25];
  ViewState reference = Oriented(37, 4, -12);
  ProjectPoint(reference, 10 * 3600 + DifferentialShiftArcSeconds(25 * 3600, 8736), 25 * 3600);
  EXPECT_EQ(sample.x, reference.ProjX);
  EXPECT_EQ(sample.y, reference.ProjY);
  EXPECT_EQ(sample.kind, reference.ProjDepth > 0 ? Op::LineTo : Op::MoveTo);
}

}  // namespace
}  // namespace helidisk
