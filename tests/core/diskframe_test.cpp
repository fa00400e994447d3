#include "diskframe.h"

#include <gtest/gtest.h>

#include <cmath>

#include "astronom.h"
#include "sun.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

constexpr double kCentreX = 499;
constexpr double kCentreY = 313;
constexpr double kRadius = 300;

DiskFrame FrameOf(double l0Deg, double b0Deg, double pDeg, Orientation orientation) {
  return OrientedDiskFrame(kCentreX, kCentreY, kRadius, l0Deg * DegToRad, b0Deg * DegToRad,
                           pDeg * DegToRad, orientation);
}

// The position angle on the sky view's screen, from up (north) toward the
// left (east), 0 ... 360 deg.
double ScreenPositionAngleDeg(const ProjectedPoint& point) {
  const double angle = std::atan2(-(point.xPx - kCentreX), -(point.yPx - kCentreY)) * RadToDeg;
  return angle < 0 ? angle + 360 : angle;
}

// The north pole with B0 = 0 lies on the limb; each view puts it where its
// instrument shows it.  The offsets are in units of the radius, (right,
// down) on the screen, for P = +20 and -20 deg.
TEST(DiskFrame, NorthPoleInEveryOrientation) {
  struct Case {
    Orientation orientation;
    double right;  // in units of sin P
    double down;   // in units of cos P
  };
  const Case cases[] = {
      {Orientation::Sky, -1, -1},            // P leans the pole toward the east, left
      {Orientation::Mirror, 1, -1},          // east right
      {Orientation::Inverted, 1, 1},         // south up, east right
      {Orientation::InvertedMirror, -1, 1},  // south up, east left
  };
  for (const double pDeg : {20.0, -20.0}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << OrientationName(c.orientation) << ", P " << pDeg);
      const ProjectedPoint pole = Project(FrameOf(123, 0, pDeg, c.orientation), 0, 90 * DegToRad);
      EXPECT_NEAR(pole.xPx, kCentreX + kRadius * c.right * std::sin(pDeg * DegToRad), 1e-9);
      EXPECT_NEAR(pole.yPx, kCentreY + kRadius * c.down * std::cos(pDeg * DegToRad), 1e-9);
    }
    // With the axis upright the pole stands straight above the centre, and
    // the central meridian runs vertically through it.
    const DiskFrame solarNorth = FrameOf(123, 0, pDeg, Orientation::SolarNorth);
    const ProjectedPoint pole = Project(solarNorth, 0, 90 * DegToRad);
    EXPECT_NEAR(pole.xPx, kCentreX, 1e-9);
    EXPECT_NEAR(pole.yPx, kCentreY - kRadius, 1e-9);
    for (const double latitudeDeg : {-10.0, 10.0}) {
      EXPECT_NEAR(Project(solarNorth, 123 * DegToRad, latitudeDeg * DegToRad).xPx, kCentreX, 1e-9);
    }
  }
}

// An independent astronomy library puts, for 2026-10-10, 0 h UT, the image
// of the north pole at position angle 26.3 deg and the point 30 deg of
// longitude west of the central meridian on the equator at 285.6 deg.
TEST(DiskFrame, SkyViewPositionAnglesOf10October2026) {
  double julianDay = 0;
  DateToJulianDay(2026, 10, 10, 0, 0, 0, julianDay);
  const SunEphemeris sun = ComputeSun(julianDay);
  const DiskFrame frame = OrientedDiskFrame(kCentreX, kCentreY, kRadius, sun.l0Rad, sun.b0Rad,
                                            sun.pRad, Orientation::Sky);
  EXPECT_NEAR(ScreenPositionAngleDeg(Project(frame, 0, 90 * DegToRad)), 26.3, 0.1);
  EXPECT_NEAR(ScreenPositionAngleDeg(Project(frame, sun.l0Rad + 30 * DegToRad, 0)), 285.6, 0.1);
}

// The compass's arms: celestial north and east as each view shows them.
TEST(DiskFrame, SkyDirectionsOnScreen) {
  struct Case {
    Orientation orientation;
    double northRight, northDown, eastRight, eastDown;
  };
  const double s = std::sin(20 * DegToRad);
  const double c = std::cos(20 * DegToRad);
  const Case cases[] = {
      {Orientation::Sky, 0, -1, -1, 0},
      {Orientation::Mirror, 0, -1, 1, 0},
      {Orientation::Inverted, 0, 1, 1, 0},
      {Orientation::InvertedMirror, 0, 1, -1, 0},
      // Turned clockwise by P, so that the axis stands upright.
      {Orientation::SolarNorth, s, -c, -c, -s},
  };
  for (const Case& e : cases) {
    SCOPED_TRACE(OrientationName(e.orientation));
    const DiskFrame frame = FrameOf(0, 4, 20, e.orientation);
    const ScreenDirection north = SkyDirectionOnScreen(frame, 0, 1);
    const ScreenDirection east = SkyDirectionOnScreen(frame, -1, 0);
    EXPECT_NEAR(north.right, e.northRight, 1e-12);
    EXPECT_NEAR(north.down, e.northDown, 1e-12);
    EXPECT_NEAR(east.right, e.eastRight, 1e-12);
    EXPECT_NEAR(east.down, e.eastDown, 1e-12);
  }
}

}  // namespace
}  // namespace helidisk
