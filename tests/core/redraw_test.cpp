#include "redraw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <thread>

#include "checked.h"
#include "diskgeometry.h"
#include "recording_canvas.h"

namespace helidisk {
namespace {

using fakes::CanvasOp;
using fakes::FakeForm;
using fakes::Op;

class RedrawTest : public ::testing::Test {
 protected:
  std::string RedrawMessage() {
    try {
      Redraw(form);
    } catch (const RunError& error) {
      return error.what();
    }
    return "no error";
  }

  FakeForm form;
};

TEST_F(RedrawTest, DesignSizeGeometry) {
  const DiskGeometry geometry = DiskGeometryOfPicture(1000, 628);
  EXPECT_EQ(geometry, (DiskGeometry{999, 627, 499, 313}));
  EXPECT_EQ(ImageWidthOf(geometry), 998);
  EXPECT_EQ(ImageHeightOf(geometry), 626);
}

TEST_F(RedrawTest, ReadoutsThroughTheYear) {
  struct Case {
    std::int32_t year, position;
    std::vector<std::string> captions;  // in label order
  };
  const Case cases[] = {
      {2021,
       30,
       {"Julian.Tag: 2459216.75", "Datum     : 2021-01-02", "Zeit UT   : 06:00",
        "RAapp     : 18:52:25", "DEapp     :-22:53:25", "Distanz   :  0.98330", "Halbmesser: 16:16",
        "Pos.winkel (N):   1.35°", "Heliogr.Breite:  -3.17°", "Heliogr.Länge : 263.69°"}},
      {2021,
       4417,
       {"Julian.Tag: 2459399.54", "Datum     : 2021-07-04", "Zeit UT   : 01:00",
        "RAapp     : 06:53:28", "DEapp     : 22:52:07", "Distanz   :  1.01670", "Halbmesser: 15:44",
        "Pos.winkel (N):  -1.23°", "Heliogr.Breite:   3.20°", "Heliogr.Länge :  11.14°"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    form.year = c.year;
    form.scrollPosition = c.position;
    Redraw(form);
    for (int label = 0; label < kReadoutLabelCount; ++label) {
      EXPECT_EQ(form.captions[label], c.captions[label]);
    }
  }
}

TEST_F(RedrawTest, FirstAndLastPositionOfTheYear) {
  struct Case {
    std::int32_t year, position;
    const char* date;
  };
  const Case cases[] = {
      {2021, 0, "Datum     : 2021-01-01"},
      {2021, 8736, "Datum     : 2021-12-31"},
      {2024, 8736, "Datum     : 2024-12-30"},
      {2026, 0, "Datum     : 2026-01-01"},
      {1582, 8736, "Datum     : 1583-01-10"} /* ten days short */,
      {2100, 8736, "Datum     : 2100-12-31"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << " at " << c.position);
    form.year = c.year;
    form.scrollPosition = c.position;
    Redraw(form);
    EXPECT_EQ(form.Caption(ReadoutLabel::Datum), c.date);
    EXPECT_EQ(form.Caption(ReadoutLabel::Zeit), "Zeit UT   : 00:00");
  }
}

TEST_F(RedrawTest, PaintsBackgroundDiskGridLimbAndCross) {
  Redraw(form);
  const auto& ops = form.canvas.ops;
  ASSERT_GE(ops.size(), 6u);
  EXPECT_EQ(ops[0].kind, Op::BrushColor);
  EXPECT_EQ(ops[0].color, kBlack);
  EXPECT_EQ(ops[1].kind, Op::FillRect);
  EXPECT_EQ(ops[1].rect, (Rect{0, 0, 1000, 628}));
  EXPECT_EQ(ops[2].color, kYellow);
  // 301 px at 1 AU, 306 px at the distance of 1 January 2021.
  EXPECT_EQ(ops[3].kind, Op::Ellipse);
  EXPECT_EQ(ops[3].rect, (Rect{499 - 306, 313 - 306, 499 + 306, 313 + 306}));
  EXPECT_EQ(ops[3].penColor, kBlack);
  EXPECT_EQ(ops[3].penWidth, 1);  // the canvas's initial pen
  EXPECT_EQ(ops[4].kind, Op::PenColor);
  EXPECT_EQ(ops[4].color, kGrey);

  // Limb: 361 points from the rightmost one downward, then the cross, then
  // the compass, which begins by setting the pen grey.
  const auto compass = std::find_if(ops.rbegin(), ops.rend(), [](const CanvasOp& op) {
    return op.kind == Op::PenColor && op.color == kGrey;
  });
  ASSERT_NE(compass, ops.rend());
  const auto crossEnd = static_cast<std::size_t>(ops.rend() - compass) - 1;
  const std::size_t limbStart = crossEnd - 4 - 362;
  EXPECT_EQ(ops[limbStart].kind, Op::MoveTo);
  EXPECT_EQ(ops[limbStart].x, 499 + 306);
  EXPECT_EQ(ops[limbStart].y, 313);
  EXPECT_EQ(ops[limbStart + 1].x, 499 + 306);
  EXPECT_EQ(ops[limbStart + 91].x, 499);
  EXPECT_EQ(ops[limbStart + 91].y, 313 + 306);
  EXPECT_EQ(ops[limbStart + 361].x, 499 + 306);
  EXPECT_EQ(ops[limbStart + 361].kind, Op::LineTo);
  EXPECT_EQ(ops[limbStart + 361].penWidth, 2);
  EXPECT_EQ(ops[limbStart + 361].penColor, kBlack);

  const CanvasOp cross[] = {ops[crossEnd - 4], ops[crossEnd - 3], ops[crossEnd - 2],
                            ops[crossEnd - 1]};
  EXPECT_EQ(cross[0].kind, Op::MoveTo);
  EXPECT_EQ(cross[0].x, 493);
  EXPECT_EQ(cross[1].x, 505);
  EXPECT_EQ(cross[2].y, 307);
  EXPECT_EQ(cross[3].kind, Op::LineTo);
  EXPECT_EQ(cross[3].y, 319);

  // The next redraw outlines the disk with the pen this one left.
  form.canvas.ops.clear();
  Redraw(form);
  EXPECT_EQ(form.canvas.ops[3].penWidth, 2);
}

TEST_F(RedrawTest, TwoRunsAtTheSamePositionDrawTheSame) {
  form.scrollPosition = 1234;
  Redraw(form);
  const auto first = form.canvas.ops;
  form.canvas.ops.clear();
  Redraw(form);
  ASSERT_EQ(first.size(), form.canvas.ops.size());
  for (std::size_t i = 1; i < first.size(); ++i) {
    ASSERT_EQ(first[i].x, form.canvas.ops[i].x) << i;
    ASSERT_EQ(first[i].y, form.canvas.ops[i].y) << i;
  }
}

TEST_F(RedrawTest, TinyAndEmptyPicturesDoNotFail) {
  for (const auto& [width, height] : {std::pair{0, 0}, {1, 1}, {3, 3}, {40, 24}, {100, 10}}) {
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    form.geometry = DiskGeometryOfPicture(width, height);
    for (const bool differential : {true, false}) {
      form.diffRotChecked = differential;
      form.scrollPosition = 8736;
      EXPECT_EQ(RedrawMessage(), "no error");
    }
  }
}

TEST_F(RedrawTest, FailedChecksAbortAndKeepWhatWasDrawn) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  struct Case {
    DiskGeometry geometry;
    const char* message;
    std::size_t opsDrawn;
  };
  const Case cases[] = {
      {{0, 0, 0, std::numeric_limits<std::int32_t>::min()}, "Integer overflow", 0},  // CentreY - 12
      {{0, 0, 0, kMax - 100}, "Range check error", 0},                               // radius
      {{kMax, 0, 0, 313}, "Integer overflow", 1},       // ImageRight + 1
      {{5, 5, kMax - 10, 313}, "Integer overflow", 3},  // disk edges
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    form.canvas.ops.clear();
    form.captions = {};
    form.geometry = c.geometry;
    EXPECT_EQ(RedrawMessage(), c.message);
    EXPECT_EQ(form.canvas.ops.size(), c.opsDrawn);
    EXPECT_EQ(form.Caption(ReadoutLabel::JD), "");
  }
}

// The redraw keeps everything it needs in its own record: two pictures of
// different sizes drawn at once on two threads come out as each does alone.
TEST(RedrawThreads, TwoPicturesAtOnceDrawAsEachAlone) {
  const auto drawAlone = [](DiskGeometry geometry, std::int32_t hour, bool differential) {
    FakeForm form;
    form.geometry = geometry;
    form.scrollPosition = hour;
    form.diffRotChecked = differential;
    Redraw(form);
    return form.canvas.ops;
  };
  const DiskGeometry designSize = DiskGeometryOfPicture(1000, 628);
  const DiskGeometry small = DiskGeometryOfPicture(300, 200);
  const auto designAlone = drawAlone(designSize, 4417, true);
  const auto smallAlone = drawAlone(small, 2000, false);
  ASSERT_NE(designAlone, smallAlone);

  constexpr int kRounds = 20;
  bool designSame = true;
  bool smallSame = true;
  std::thread design([&] {
    for (int round = 0; round < kRounds; ++round) {
      designSame = designSame && drawAlone(designSize, 4417, true) == designAlone;
    }
  });
  std::thread other([&] {
    for (int round = 0; round < kRounds; ++round) {
      smallSame = smallSame && drawAlone(small, 2000, false) == smallAlone;
    }
  });
  design.join();
  other.join();
  EXPECT_TRUE(designSame);
  EXPECT_TRUE(smallSame);
}

}  // namespace
}  // namespace helidisk
