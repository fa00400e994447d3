#include "ephemeris.h"

#include <gtest/gtest.h>

#include "astronom.h"
#include "sun.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

double Degrees(double radians) { return radians * RadToDeg; }

TEST(ComputeSunEphemeris, WorkedValues) {
  struct Case {
    double julianDay;
    double distance, ra, dec, p, b0, l0;  // AU and degrees
  };
  const Case cases[] = {
      {2448908.5, 0.99766195, 198.380825, -7.785070, 26.273720, 5.987742, 238.647936},
      {2459215.5, 0.98331665, 281.725220, -22.999325, 1.955167, -3.026069, 280.156492},
      {2459216.5, 0.98330664, 282.828168, -22.913126, 1.470415, -3.142582, 266.986091},
      {2459293.5, 0.99578553, 359.631552, -0.159725, -25.142938, -7.047406, 332.866807},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::fixed << c.julianDay);
    ViewState state;
    ComputeSunEphemeris(state, c.julianDay);
    EXPECT_NEAR(state.SunDistance, c.distance, 0.5e-8);
    EXPECT_NEAR(Degrees(state.SunRA), c.ra, 0.5e-6);
    EXPECT_NEAR(Degrees(state.SunDec), c.dec, 0.5e-6);
    EXPECT_NEAR(Degrees(state.SunP), c.p, 0.5e-6);
    EXPECT_NEAR(Degrees(state.SunB0), c.b0, 0.5e-6);
    EXPECT_NEAR(Degrees(state.SunL0), c.l0, 0.5e-6);
  }
}

// Against published values of the physical ephemeris at 0 h dynamical
// time: Meeus's worked example (Astronomical Algorithms, ex. 29.a) and the
// Astronomical Almanac for 2013.  The Julian day goes in as dynamical time,
// as the theory takes it.
TEST(ComputeSun, AgreesWithPublishedEphemerides) {
  struct Case {
    std::int32_t year, month, day;
    double p, b0, l0, distanceAu;  // degrees
  };
  const Case cases[] = {
      {1992, 10, 13, 26.27, 5.99, 238.63, 0.997608},
      {2013, 4, 1, -26.15, -6.54, 221.44, 0.9992311},
      {2013, 12, 1, 16.05, 0.88, 237.83, 0.9861362},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
    double julianDay = 0;
    DateToJulianDay(c.year, c.month, c.day, 0, 0, 0, julianDay);
    const SunEphemeris sun = ComputeSun(julianDay);
    EXPECT_NEAR(Degrees(sun.pRad), c.p, 0.02);
    EXPECT_NEAR(Degrees(sun.b0Rad), c.b0, 0.02);
    EXPECT_NEAR(Degrees(sun.l0Rad), c.l0, 0.1);
    EXPECT_NEAR(sun.distanceAu, c.distanceAu, 1e-4);
  }
}

TEST(ComputeSunEphemeris, WorkingValuesOf13October1992) {
  ViewState state;
  ComputeSunEphemeris(state, 2448908.5);
  EXPECT_NEAR(Degrees(state.MeanLongitude), 201.807197, 0.5e-6);
  EXPECT_NEAR(Degrees(state.MeanAnomaly), 278.993966, 0.5e-6);
  EXPECT_NEAR(state.Eccentricity, 0.016711668, 0.5e-9);
  EXPECT_NEAR(Degrees(state.EquationOfCentre), -1.897324, 0.5e-6);
  EXPECT_NEAR(Degrees(state.TrueLongitude), 199.909873, 0.5e-6);
  EXPECT_NEAR(Degrees(state.TrueAnomaly), 278.993966 - 1.897324, 1e-6);
  EXPECT_NEAR(Degrees(state.MoonNode), 264.652582, 0.5e-6);
  EXPECT_NEAR(Degrees(state.ApparentLongitude), 199.908942, 0.5e-6);
  EXPECT_NEAR(Degrees(state.MeanObliquity), 23.440230, 0.5e-6);
  EXPECT_NEAR(Degrees(state.Obliquity), 23.439991, 0.5e-6);
}

TEST(ComputeSunEphemeris, RangesAndSenseOfRotation) {
  ViewState day1;
  ViewState day2;
  ComputeSunEphemeris(day1, 2459215.5);
  ComputeSunEphemeris(day2, 2459216.5);
  // The central meridian's longitude falls by about 13.2 deg a day.
  EXPECT_NEAR(Degrees(day1.SunL0 - day2.SunL0), 13.17, 0.005);

  for (double jd = 2459215.5; jd < 2459215.5 + 366; jd += 0.75) {
    ViewState state;
    ComputeSunEphemeris(state, jd);
    ASSERT_GE(state.SunRA, 0);
    ASSERT_LT(state.SunRA, TwoPi);
    ASSERT_GE(state.SunL0, 0);
    ASSERT_LT(state.SunL0, TwoPi);
    ASSERT_GT(state.SunP, -Pi);
    ASSERT_LE(state.SunP, Pi);
    ASSERT_LE(std::abs(state.SunB0), 7.25 * DegToRad + 1e-15);
    ASSERT_GT(state.SunDistance, 0.983);
    ASSERT_LT(state.SunDistance, 1.0171);
  }
}

}  // namespace
}  // namespace helidisk
