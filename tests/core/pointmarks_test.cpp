#include "pointmarks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

#include "trigfunc.h"

namespace helidisk {
namespace {

constexpr double kMeasuredJulianDay = 2461385.0;
constexpr double kL0Deg = 40;

// An upright disk of radius 200 at (500, 300), L0 as given, B0 = P = 0:
// west to the right, north up.
DiskFrame UprightFrame(double l0Deg) {
  return OrientedDiskFrame(500, 300, 200, l0Deg * DegToRad, 0, 0, Orientation::Sky);
}

MeasuredPoint OnDisk(double latitudeDeg, double longitudeDeg) {
  MeasuredPoint point;
  point.julianDay = kMeasuredJulianDay;
  point.located.onDisk = true;
  point.located.latitudeRad = latitudeDeg * DegToRad;
  point.located.longitudeRad = longitudeDeg * DegToRad;
  return point;
}

// The frame is held still, so only the law's drift against the Carrington
// rate moves the mark: at the equator Howard's 2.894 urad/s is 14.3263
// deg/day, 0.14193 deg/day ahead of the Carrington rate.
TEST(PointMarksTest, MarkOnTheDiskMovesByTheLawsDrift) {
  struct Case {
    std::string_view model;
    double days;
    double xPx;
  };
  const Case cases[] = {
      {"rigid", 10, 500},
      {"howard", 0, 500},
      {"howard", 10, 500 + 200 * std::sin(1.41933 * DegToRad)},
      {"howard", -10, 500 - 200 * std::sin(1.41933 * DegToRad)},
      {"allen", 2, 500 + 200 * std::sin(2 * (14.44 - 14.1844) * DegToRad)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.model << " over " << c.days << " days");
    const auto place =
        MeasuredPointMarkPlace(OnDisk(0, kL0Deg), UprightFrame(kL0Deg),
                               *RotationModelNamed(c.model), kMeasuredJulianDay + c.days);
    ASSERT_TRUE(place);
    EXPECT_NEAR(place->xPx, c.xPx, 0.01);
    EXPECT_NEAR(place->yPx, 300, 1e-9);
  }
}

TEST(PointMarksTest, MarkFollowsTheFrameAndVanishesOnTheFarSide) {
  const RotationModel& rigid = *RotationModelNamed("rigid");
  const MeasuredPoint point = OnDisk(30, kL0Deg);
  // L0 30 deg smaller: the point lies 30 deg west of the central meridian.
  const auto west =
      MeasuredPointMarkPlace(point, UprightFrame(kL0Deg - 30), rigid, kMeasuredJulianDay + 2.27);
  ASSERT_TRUE(west);
  EXPECT_NEAR(west->xPx, 500 + 200 * std::cos(30 * DegToRad) * std::sin(30 * DegToRad), 1e-9);
  EXPECT_NEAR(west->yPx, 300 - 200 * std::sin(30 * DegToRad), 1e-9);
  EXPECT_FALSE(
      MeasuredPointMarkPlace(point, UprightFrame(kL0Deg - 120), rigid, kMeasuredJulianDay + 9));
}

TEST(PointMarksTest, MarkOnTheSkyKeepsItsPositionAngleAndDistance) {
  MeasuredPoint point;
  point.julianDay = kMeasuredJulianDay;
  point.located.rho = 1.5;
  point.located.positionAngleRad = 90 * DegToRad;  // east: left in the sky view
  const auto place = MeasuredPointMarkPlace(point, UprightFrame(kL0Deg),
                                            *RotationModelNamed("howard"), kMeasuredJulianDay + 5);
  ASSERT_TRUE(place);
  EXPECT_NEAR(place->xPx, 500 - 300, 1e-9);
  EXPECT_NEAR(place->yPx, 300, 1e-9);
}

}  // namespace
}  // namespace helidisk
