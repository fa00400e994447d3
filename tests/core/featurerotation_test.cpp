#include "featurerotation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

#include "solarrotation.h"
#include "sun.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

double SignedDeg(double angleDeg) { return std::remainder(angleDeg, 360.0); }

// The frame of the unit disk at the instant, in the sky orientation.
DiskFrame FrameAt(double julianDay) {
  const SunEphemeris sun = ComputeSun(julianDay);
  return OrientedDiskFrame(0, 0, 1, sun.l0Rad, sun.b0Rad, sun.pRad, Orientation::Sky);
}

TEST(SolarRotationTest, TableHoldsTheFourLawsByName) {
  const std::string_view names[] = {"rigid", "howard", "snodgrass", "allen"};
  ASSERT_EQ(RotationModels().size(), std::size(names));
  for (std::size_t i = 0; i < std::size(names); ++i) {
    EXPECT_EQ(RotationModels()[i].name, names[i]);
    EXPECT_EQ(RotationModelNamed(names[i]), &RotationModels()[i]);
    EXPECT_FALSE(RotationModels()[i].source.empty());
  }
  EXPECT_EQ(RotationModelNamed("Howard"), nullptr);
  EXPECT_EQ(RotationModelNamed(""), nullptr);
}

// Rates worked by hand: 1 urad/s = 86400e-6 * 180 / pi deg/day =
// 4.950355 deg/day; sin^2 30 deg = 1/4, sin^2 90 deg = 1.
TEST(SolarRotationTest, SiderealRatesAtWorkedLatitudes) {
  constexpr double kDegPerDayOfMicroradPerSecond = 4.950355;
  struct Case {
    std::string_view model;
    double latitudeDeg;
    double rateDegPerDay;
  };
  const Case cases[] = {
      {"rigid", 0, 14.1844},
      {"rigid", 60, 14.1844},
      {"howard", 0, 2.894 * kDegPerDayOfMicroradPerSecond},
      {"howard", -30, (2.894 - 0.428 / 4 - 0.370 / 16) * kDegPerDayOfMicroradPerSecond},
      {"snodgrass", 90, (2.851 - 0.343 - 0.474) * kDegPerDayOfMicroradPerSecond},
      {"allen", 30, 14.44 - 3.0 / 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.model << " at " << c.latitudeDeg);
    const RotationModel* model = RotationModelNamed(c.model);
    ASSERT_NE(model, nullptr);
    EXPECT_NEAR(SiderealRateDegPerDay(*model, c.latitudeDeg), c.rateDegPerDay, 1e-5);
  }
}

// SunPy's RotatedSunFrame, computed once by tools/reference/sunpy_rotation.py
// (SunPy 4.1.2, the Sun's centre held fixed): a feature at latitude and
// Carrington longitude at T0 (Julian day, UTC) rotated by `days`; SunPy's
// latitude at T1 and the changes of the Carrington and of the Stonyhurst
// longitude from T0 to T1.  The changes are compared, not the longitudes:
// SunPy's Carrington longitude comes from its own ephemeris, and the change
// of the Stonyhurst longitude is what the Earth's motion adds to the view.
struct SunPyRotation {
  std::string_view model;
  double julianDay;
  double days;
  double latitudeDeg;
  double longitudeDeg;
  double latitudeAtT1Deg;
  double carringtonChangeDeg;
  double stonyhurstChangeDeg;
};

constexpr SunPyRotation kSunPyRotations[] = {
    {"rigid", 2460370.500000, 1, 0.0, 120.0, 0.000000, 0.000020, 13.173041},
    {"rigid", 2460370.500000, 14, 15.0, 200.0, 15.000000, 0.000299, -175.535624},
    {"rigid", 2460847.770833, 3, -30.0, 10.0, -30.000000, 0.000015, 39.709488},
    {"rigid", 2460847.770833, 7, 45.0, 300.0, 45.000000, 0.000029, 92.654553},
    {"rigid", 2461385.000000, 10, -60.0, 75.5, -60.000000, -0.000084, 131.749963},
    {"rigid", 2461289.250000, 5, 22.5, 359.0, 22.500000, -0.000102, 66.027550},
    {"howard", 2460370.500000, 1, 0.0, 120.0, 0.000000, 0.141949, 13.314969},
    {"howard", 2460370.500000, 14, 15.0, 200.0, 15.000000, -0.114783, -175.650707},
    {"howard", 2460847.770833, 3, -30.0, 10.0, -30.000000, -1.506694, 38.202779},
    {"howard", 2460847.770833, 7, 45.0, 300.0, 45.000000, -9.627460, 83.027065},
    {"howard", 2461385.000000, 10, -60.0, 75.5, -60.000000, -24.774368, 106.975679},
    {"howard", 2461289.250000, 5, 22.5, 359.0, 22.500000, -1.038292, 64.989360},
    {"snodgrass", 2460370.500000, 1, 0.0, 120.0, 0.000000, -0.070916, 13.102104},
    {"snodgrass", 2460370.500000, 14, 15.0, 200.0, 15.000000, -2.732624, -178.268547},
    {"snodgrass", 2460847.770833, 3, -30.0, 10.0, -30.000000, -1.926237, 37.783236},
    {"snodgrass", 2460847.770833, 7, 45.0, 300.0, 45.000000, -10.545751, 82.108774},
    {"snodgrass", 2461385.000000, 10, -60.0, 75.5, -60.000000, -26.643127, 105.106920},
    {"snodgrass", 2461289.250000, 5, 22.5, 359.0, 22.500000, -1.849717, 64.177936},
    {"allen", 2460370.500000, 1, 0.0, 120.0, 0.000000, 0.255620, 13.428641},
    {"allen", 2460370.500000, 14, 15.0, 200.0, 15.000000, 0.765232, -174.770691},
    {"allen", 2460847.770833, 3, -30.0, 10.0, -30.000000, -1.483185, 38.226288},
    {"allen", 2460847.770833, 7, 45.0, 300.0, 45.000000, -8.710771, 83.943753},
    {"allen", 2461385.000000, 10, -60.0, 75.5, -60.000000, -19.944084, 111.805963},
    {"allen", 2461289.250000, 5, 22.5, 359.0, 22.500000, -0.918801, 65.108851},
};

TEST(FeatureRotationTest, MatchesSunPyRotatedSunFrameToAHundredthOfADegree) {
  constexpr double kToleranceDeg = 0.01;
  for (const SunPyRotation& c : kSunPyRotations) {
    SCOPED_TRACE(testing::Message() << c.model << " from JD " << c.julianDay << " for " << c.days
                                    << " days at " << c.latitudeDeg);
    const RotationModel* model = RotationModelNamed(c.model);
    ASSERT_NE(model, nullptr);
    const HeliographicPosition start{c.latitudeDeg, c.longitudeDeg};
    const HeliographicPosition end = RotatedPosition(*model, start, c.days);
    EXPECT_NEAR(end.latitudeDeg, c.latitudeAtT1Deg, kToleranceDeg);
    EXPECT_NEAR(SignedDeg(end.longitudeDeg - c.longitudeDeg), c.carringtonChangeDeg, kToleranceDeg);

    const FeatureOnDisk before = FeatureOnDiskOf(start, FrameAt(c.julianDay));
    const FeatureOnDisk after = FeatureOnDiskOf(end, FrameAt(c.julianDay + c.days));
    EXPECT_NEAR(SignedDeg(after.cmDistanceDeg - before.cmDistanceDeg - c.stonyhurstChangeDeg), 0,
                kToleranceDeg);
  }
}

TEST(FeatureRotationTest, BackInTimeUndoesForwardRotation) {
  for (const RotationModel& model : RotationModels()) {
    SCOPED_TRACE(model.name);
    const HeliographicPosition start{-17.5, 3.25};
    const HeliographicPosition there = RotatedPosition(model, start, 9.5);
    const HeliographicPosition back = RotatedPosition(model, there, -9.5);
    EXPECT_DOUBLE_EQ(back.latitudeDeg, start.latitudeDeg);
    EXPECT_NEAR(SignedDeg(back.longitudeDeg - start.longitudeDeg), 0, 1e-9);
    EXPECT_GE(there.longitudeDeg, 0);
    EXPECT_LT(there.longitudeDeg, 360);
  }
}

// On an upright disk of radius 100 at (500, 300) with L0 = 40, B0 = 0,
// P = 0: west is to the right, north up.
TEST(FeatureRotationTest, FeatureOnDiskGivesDistanceMuPixelAndVisibility) {
  const DiskFrame frame = OrientedDiskFrame(500, 300, 100, 40 * DegToRad, 0, 0, Orientation::Sky);
  struct Case {
    double latitudeDeg, longitudeDeg;
    double cmDistanceDeg, mu, xPx, yPx;
    bool visible;
  };
  const Case cases[] = {
      {0, 40, 0, 1, 500, 300, true},
      {0, 70, 30, std::cos(30 * DegToRad), 550, 300, true},
      {0, 10, -30, std::cos(30 * DegToRad), 450, 300, true},
      {30, 40, 0, std::cos(30 * DegToRad), 500, 250, true},
      {0, 220, -180, -1, 500, 300, false},
      {0, 135, 95, std::cos(95 * DegToRad), 500 + 100 * std::sin(95 * DegToRad), 300, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.latitudeDeg << ", " << c.longitudeDeg);
    const FeatureOnDisk feature = FeatureOnDiskOf({c.latitudeDeg, c.longitudeDeg}, frame);
    EXPECT_NEAR(std::fabs(SignedDeg(feature.cmDistanceDeg - c.cmDistanceDeg)), 0, 1e-9);
    EXPECT_NEAR(feature.mu, c.mu, 1e-9);
    EXPECT_NEAR(feature.xPx, c.xPx, 1e-9);
    EXPECT_NEAR(feature.yPx, c.yPx, 1e-9);
    EXPECT_EQ(feature.visible, c.visible);
  }
}

// The feature where the model puts it at an instant, as the Earth sees it.
FeatureOnDisk SeenAt(const RotationModel& model, const HeliographicPosition& position,
                     double julianDay, double laterJulianDay) {
  return FeatureOnDiskOf(RotatedPosition(model, position, laterJulianDay - julianDay),
                         FrameAt(laterJulianDay));
}

TEST(FeatureRotationTest, CrossingsAreTheNextOnesOnTheRealEphemeris) {
  constexpr double kJulianDay = 2461385.0;  // 2026-12-10 12:00 UT
  constexpr double kMinuteDays = 1.0 / 1440;
  const double l0Deg = ComputeSun(kJulianDay).l0Rad * RadToDeg;
  struct Case {
    std::string_view model;
    double latitudeDeg;
    double cmDistanceDeg;            // at the start
    double soonestDays, latestDays;  // of the meridian crossing
  };
  const Case cases[] = {
      {"howard", 10, -13, 0.9, 1.1},      // a day east of the meridian
      {"snodgrass", -25, -80, 5.9, 6.6},  // near the east limb
      {"allen", 5, 30, 24, 26},           // past the meridian: a rotation later
      {"rigid", 40, 150, 15.5, 16.5},     // on the far side, past the west limb
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.model << " at " << c.latitudeDeg << ", CMD " << c.cmDistanceDeg);
    const RotationModel& model = *RotationModelNamed(c.model);
    const HeliographicPosition start{c.latitudeDeg, l0Deg + c.cmDistanceDeg};
    const FeatureCrossings crossings = NextCrossings(model, start, kJulianDay);
    ASSERT_TRUE(crossings.centralMeridianJulianDay);
    ASSERT_TRUE(crossings.westLimbJulianDay);
    const double meridian = *crossings.centralMeridianJulianDay;
    const double limb = *crossings.westLimbJulianDay;
    EXPECT_GT(meridian - kJulianDay, c.soonestDays);
    EXPECT_LT(meridian - kJulianDay, c.latestDays);

    EXPECT_NEAR(SeenAt(model, start, kJulianDay, meridian).cmDistanceDeg, 0, 1e-3);
    EXPECT_LT(SeenAt(model, start, kJulianDay, meridian - kMinuteDays).cmDistanceDeg, 0);
    EXPECT_NEAR(SeenAt(model, start, kJulianDay, limb).mu, 0, 1e-4);
    EXPECT_GT(SeenAt(model, start, kJulianDay, limb).cmDistanceDeg, 0);
    EXPECT_TRUE(SeenAt(model, start, kJulianDay, limb - kMinuteDays).visible);
    EXPECT_FALSE(SeenAt(model, start, kJulianDay, limb + kMinuteDays).visible);
    // The limb follows the meridian unless the feature is already between
    // them.
    if (c.cmDistanceDeg < 0) {
      EXPECT_LT(meridian, limb);
    }
  }
}

TEST(FeatureRotationTest, ParallelThatNeverMeetsTheLimbHasNoLimbCrossing) {
  constexpr double kJulianDay = 2461292.0;  // 2026-09-08, B0 about +7.2 deg
  const RotationModel& model = *RotationModelNamed("howard");
  const double l0Deg = ComputeSun(kJulianDay).l0Rad * RadToDeg;
  const FeatureCrossings crossings = NextCrossings(model, {88, l0Deg - 20}, kJulianDay);
  EXPECT_TRUE(crossings.centralMeridianJulianDay);
  EXPECT_FALSE(crossings.westLimbJulianDay);
}

}  // namespace
}  // namespace helidisk
