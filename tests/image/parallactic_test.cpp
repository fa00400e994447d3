#include "parallactic.h"

#include <gtest/gtest.h>

#include "astronom.h"
#include "overlay.h"
#include "sun.h"

namespace helidisk {
namespace {

double JulianDayOf(int year, int month, int day, double hours, double minutes = 0,
                   double seconds = 0) {
  double julianDay = 0;
  DateToJulianDay(year, month, day, hours, minutes, seconds, julianDay);
  return julianDay;
}

TEST(Parallactic, SiderealTimeOfMeeusExamples) {
  // Meeus examples 12.a and 12.b: 1987 April 10 at 0 h and 19:21 UT.
  EXPECT_NEAR(GreenwichMeanSiderealDeg(JulianDayOf(1987, 4, 10, 0)), 197.693195, 1e-6);
  EXPECT_NEAR(GreenwichMeanSiderealDeg(JulianDayOf(1987, 4, 10, 19, 21)), 128.7378734, 1e-6);
}

TEST(Parallactic, ZenithToSolarNorthAgainstReferenceValues) {
  struct Case {
    double latitudeDeg, longitudeDeg, julianDay, expectedDeg;
  };
  const Case cases[] = {
      {40, -75, JulianDayOf(2017, 7, 18, 12), -59.4},
      {-40, -75, JulianDayOf(2017, 2, 18, 13), -110.8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expectedDeg);
    EXPECT_NEAR(ZenithToSolarNorthDeg(c.latitudeDeg, c.longitudeDeg, c.julianDay), c.expectedDeg,
                0.1);
  }
}

// The camera angle that puts the zenith up: -q in the sky view, P - q
// with solar north up (the references above, turned the other way), q in
// the mirror view, where east lies on the right.
TEST(Parallactic, ZenithUpRotationInEachView) {
  const double julianDay = JulianDayOf(2017, 7, 18, 12);
  const SunEphemeris sun = ComputeSun(julianDay);
  const double q = SolarParallacticAngleDeg(40, -75, julianDay);
  EXPECT_NEAR(ZenithUpRotationDeg(Orientation::Sky, sun, 40, -75), -q, 1e-9);
  EXPECT_NEAR(ZenithUpRotationDeg(Orientation::Mirror, sun, 40, -75), q, 1e-9);
  EXPECT_NEAR(ZenithUpRotationDeg(Orientation::SolarNorth, sun, 40, -75), 59.4, 0.1);
}

}  // namespace
}  // namespace helidisk
