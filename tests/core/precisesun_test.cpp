#include "precisesun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "astronom.h"
#include "carrington.h"
#include "timescales.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

constexpr double kArcSecondsPerDegree = 3600;
constexpr double kKmPerAu = 149597870.7;
constexpr double kSecondsPerHourOfTime = 3600;

double ArcSeconds(double radians) { return radians * RadToDeg * kArcSecondsPerDegree; }

// The difference of two longitudes in degrees, -180 ... 180.
double LongitudeDifferenceDeg(double aDeg, double bDeg) {
  return std::remainder(aDeg - bDeg, 360.0);
}

double JulianDayOfMidnight(std::int32_t year, std::int32_t month, std::int32_t day) {
  double julianDay = 0;
  DateToJulianDay(year, month, day, 0, 0, 0, julianDay);
  return julianDay;
}

// 2013: TAI - UTC = 35 s, so TT - UTC = 67.184 s.
constexpr double kTtMinusUtc2013Days = 67.184 / kSecondsPerDay;

struct SunPyRow {
  double julianDayUtc = 0;
  double ttMinusUtcSeconds = 0;
  double pDeg = 0, b0Deg = 0, l0Deg = 0, distanceAu = 0, carrington = 0;
};

std::vector<SunPyRow> SunPyRows() {
  std::ifstream file(HELIDISK_SUNPY_REFERENCE);
  std::vector<SunPyRow> rows;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#' || line[0] == 'j') continue;
    std::replace(line.begin(), line.end(), ',', ' ');
    std::istringstream fields(line);
    SunPyRow row;
    fields >> row.julianDayUtc >> row.ttMinusUtcSeconds >> row.pDeg >> row.b0Deg >> row.l0Deg >>
        row.distanceAu >> row.carrington;
    rows.push_back(row);
  }
  return rows;
}

// SunPy 4.1.2 with astropy 5.2.1, its defaults (light time from the near
// surface, no stellar aberration), 300 instants 1900-2100 made by
// tools/reference/sunpy_ephemeris.py.
TEST(PreciseSun, AgreesWithSunPyFrom1900To2100) {
  const std::vector<SunPyRow> rows = SunPyRows();
  ASSERT_EQ(rows.size(), 300u);
  for (const SunPyRow& row : rows) {
    SCOPED_TRACE(testing::Message() << std::fixed << "JD " << row.julianDayUtc);
    EXPECT_NEAR(TtMinusUtcSeconds(row.julianDayUtc), row.ttMinusUtcSeconds, 1e-3);
    const SunEphemeris sun = ComputePreciseSun(row.julianDayUtc, false);
    EXPECT_NEAR(ArcSeconds(sun.pRad), row.pDeg * kArcSecondsPerDegree, 1.0);
    EXPECT_NEAR(ArcSeconds(sun.b0Rad), row.b0Deg * kArcSecondsPerDegree, 1.0);
    EXPECT_NEAR(LongitudeDifferenceDeg(sun.l0Rad * RadToDeg, row.l0Deg) * kArcSecondsPerDegree, 0,
                1.0);
    EXPECT_NEAR(sun.distanceAu * kKmPerAu, row.distanceAu * kKmPerAu, 50);
    EXPECT_NEAR(CarringtonRotationOf(sun.julianDay, sun.l0Rad).fraction, row.carrington, 2e-5);
  }
}

// The series against ERFA itself, over instants that fall anywhere in
// their segments, with and without aberration, across the whole range.
TEST(PreciseSun, SeriesFollowTheDirectComputation) {
  double worstArcSeconds = 0;
  double worstKm = 0;
  for (double julianDay = kFirstPreciseJulianDay; julianDay < kEndPreciseJulianDay;
       julianDay += 97.123) {
    for (const bool aberration : {false, true}) {
      const SunEphemeris direct = ComputePreciseSunDirect(julianDay, aberration);
      const SunEphemeris series = ComputePreciseSun(julianDay, aberration);
      for (const double difference :
           {series.pRad - direct.pRad, series.b0Rad - direct.b0Rad, series.decRad - direct.decRad,
            std::remainder(series.l0Rad - direct.l0Rad, TwoPi),
            std::remainder(series.raRad - direct.raRad, TwoPi)}) {
        worstArcSeconds = std::max(worstArcSeconds, std::abs(ArcSeconds(difference)));
      }
      worstKm = std::max(worstKm, std::abs(series.distanceAu - direct.distanceAu) * kKmPerAu);
    }
  }
  EXPECT_LT(worstArcSeconds, 1e-4);
  EXPECT_LT(worstKm, 0.01);
}

struct DatedValue {
  std::int32_t month;
  double valueDeg;
};

// JPL Horizons, geocentric observer table, quantity 14 (sub-observer
// longitude and latitude, light time, no aberration for the observer's
// motion), 2013, first of each month, 0 h TT; as quoted in SunPy's
// coordinates/tests/test_sun.py.
TEST(PreciseSun, AgreesWithHorizonsIn2013) {
  const DatedValue l0[] = {{1, 326.989970}, {2, 278.789894},  {3, 270.072186},  {4, 221.440599},
                           {5, 185.306476}, {6, 135.303097},  {7, 98.221806},   {8, 48.035951},
                           {9, 358.289921}, {10, 322.226009}, {11, 273.315206}, {12, 237.836959}};
  const DatedValue b0[] = {{1, -3.034687}, {2, -6.031910},  {3, -7.219984},  {4, -6.543092},
                           {5, -4.168016}, {6, -0.663804},  {7, +2.873030},  {8, +5.784693},
                           {9, +7.194559}, {10, +6.719875}, {11, +4.378979}, {12, +0.881068}};
  for (std::size_t i = 0; i < std::size(l0); ++i) {
    SCOPED_TRACE(testing::Message() << "2013-" << l0[i].month << "-01");
    const SunEphemeris sun =
        ComputePreciseSun(JulianDayOfMidnight(2013, l0[i].month, 1) - kTtMinusUtc2013Days, false);
    EXPECT_NEAR(LongitudeDifferenceDeg(sun.l0Rad * RadToDeg, l0[i].valueDeg) * kArcSecondsPerDegree,
                0, 0.1);
    EXPECT_NEAR(ArcSeconds(sun.b0Rad), b0[i].valueDeg * kArcSecondsPerDegree, 0.1);
  }
}

// SunSPICE (CSPICE subpnt, 'Intercept/Ellipsoid', IAU_SUN, Earth), 2013,
// first of each month, 0 h UTC; as quoted in SunPy's test_sun.py.  With
// 'LT+S' (light time and stellar aberration) and with 'LT' alone.
TEST(PreciseSun, AgreesWithSunSpiceIn2013) {
  const DatedValue withAberration[] = {{1, -33.025998},  {2, -81.226108},  {3, -89.943817},
                                       {4, -138.57536},  {5, -174.70941},  {6, +135.28726},
                                       {7, +98.205970},  {8, +48.020071},  {9, -1.7260099},
                                       {10, -37.789945}, {11, -86.700744}, {12, -122.17899}};
  const DatedValue lightTimeOnly[] = {{1, -33.020271},  {2, -81.220344}, {3, -89.938057},
                                      {4, -138.56966},  {5, -174.70380}, {7, +98.211514},
                                      {8, +48.025667},  {9, -1.7203500}, {10, -37.784252},
                                      {11, -86.695047}, {12, -122.17329}};
  for (const auto& [values, aberration, toleranceArcSec] :
       {std::tuple{std::vector<DatedValue>(std::begin(withAberration), std::end(withAberration)),
                   true, 0.5},
        std::tuple{std::vector<DatedValue>(std::begin(lightTimeOnly), std::end(lightTimeOnly)),
                   false, 0.1}}) {
    for (const DatedValue& value : values) {
      SCOPED_TRACE(testing::Message()
                   << "2013-" << value.month << "-01, aberration " << aberration);
      const SunEphemeris sun =
          ComputePreciseSun(JulianDayOfMidnight(2013, value.month, 1), aberration);
      EXPECT_NEAR(
          LongitudeDifferenceDeg(sun.l0Rad * RadToDeg, value.valueDeg) * kArcSecondsPerDegree, 0,
          toleranceArcSec);
    }
  }
}

// The Astronomical Almanac for 2013, daily physical ephemeris of the Sun at
// 0 h TT (as quoted to 0.01 deg in SunPy's test_sun.py); the printed
// rounding allows 0.005 deg, and 0.1" more for the Almanac's own reduction.  L0 and B0 with stellar
// aberration; the Almanac takes the light time from the Sun's centre, 2.3 s longer than from its
// near surface, which puts its L0 0.4" higher.
TEST(PreciseSun, AgreesWithTheAlmanacIn2013) {
  struct AlmanacDay {
    std::int32_t month;
    double pDeg, b0Deg, l0Deg;
  };
  const AlmanacDay days[] = {
      {1, 1.98, -3.03, 326.98},   {2, -12.23, -6.03, 278.78}, {3, -21.55, -7.22, 270.07},
      {4, -26.15, -6.54, 221.44}, {5, -24.11, -4.17, 185.30}, {6, -15.39, -0.66, 135.30},
      {7, -2.64, 2.87, 98.22},    {8, 10.85, 5.78, 48.03},    {9, 21.08, 7.19, 358.28},
      {10, 25.97, 6.72, 322.22},  {11, 24.47, 4.38, 273.31},  {12, 16.05, 0.88, 237.83}};
  for (const AlmanacDay& day : days) {
    SCOPED_TRACE(testing::Message() << "2013-" << day.month << "-01");
    const SunEphemeris sun =
        ComputePreciseSun(JulianDayOfMidnight(2013, day.month, 1) - kTtMinusUtc2013Days, true);
    constexpr double kPrintedToleranceDeg = 0.005 + 0.1 / kArcSecondsPerDegree;
    EXPECT_NEAR(sun.pRad * RadToDeg, day.pDeg, kPrintedToleranceDeg);
    EXPECT_NEAR(sun.b0Rad * RadToDeg, day.b0Deg, kPrintedToleranceDeg);
    constexpr double kCentreLightTimeDeg = 0.4 / kArcSecondsPerDegree;
    EXPECT_NEAR(LongitudeDifferenceDeg(sun.l0Rad * RadToDeg + kCentreLightTimeDeg, day.l0Deg), 0,
                kPrintedToleranceDeg);
  }
}

// Apparent right ascension and declination, the Astronomical Almanac 1992
// (C16, 13 October, 0 h TDB) and 2013 (C12, 17 June, 0 h TT), as quoted in
// SunPy's test_sun.py.
TEST(PreciseSun, ApparentPlaceAgreesWithTheAlmanac) {
  struct AlmanacPlace {
    double julianDayTt;
    double raSeconds;  // of time
    double decArcSec;
  };
  const AlmanacPlace places[] = {
      {JulianDayOfMidnight(1992, 10, 13), (13 * 60 + 13) * 60 + 30.75, -((7 * 60 + 47) * 60 + 1.7)},
      {JulianDayOfMidnight(2013, 6, 17), (5 * 60 + 42) * 60 + 28.88, (23 * 60 + 22) * 60 + 27.8}};
  for (const AlmanacPlace& place : places) {
    SCOPED_TRACE(testing::Message() << std::fixed << place.julianDayTt);
    const double julianDayUtc =
        place.julianDayTt - TtMinusUtcSeconds(place.julianDayTt) / kSecondsPerDay;
    const SunEphemeris sun = ComputePreciseSun(julianDayUtc, false);
    EXPECT_NEAR(sun.raRad * RadToHours * kSecondsPerHourOfTime, place.raSeconds, 0.015);
    EXPECT_NEAR(ArcSeconds(sun.decRad), place.decArcSec, 0.15);
  }
}

}  // namespace
}  // namespace helidisk
