#include "trigfunc.h"

#include <gtest/gtest.h>

#include <cmath>

#include "divprocs.h"

namespace helidisk {
namespace {

TEST(AngleConstants, AreTheNearestDoubles) {
  EXPECT_EQ(Pi, M_PI);
  EXPECT_EQ(TwoPi, 2 * M_PI);
  EXPECT_EQ(DegToRad, M_PI / 180);
  EXPECT_EQ(RadToDeg, 180 / M_PI);
  EXPECT_EQ(RadToHours, 12 / M_PI);
}

TEST(FullArcTan, QuadrantsAndAxes) {
  struct Case {
    double y, x, expected;
  };
  const Case cases[] = {
      {0, 0, 0},
      {0, -1, Pi},
      {-0.0, -1, Pi},
      {1, 0, Pi / 2},
      {-1, 0, -Pi / 2},
      {1, 1, Pi / 4},
      {-1, -1, -3 * Pi / 4},
      {1, -1, 3 * Pi / 4},
      {1, 2, std::atan2(1, 2)},
      {-3, 1, std::atan2(-3, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << ", " << c.x);
    EXPECT_NEAR(FullArcTan(c.y, c.x), c.expected, 1e-15);
  }
}

TEST(ClampedArcSin, ClampsOutsideMinusOneToOne) {
  EXPECT_EQ(ClampedArcSin(1.5), Pi / 2);
  EXPECT_EQ(ClampedArcSin(-1), -Pi / 2);
  EXPECT_EQ(ClampedArcSin(-7), -Pi / 2);
  EXPECT_NEAR(ClampedArcSin(0.5), Pi / 6, 1e-15);
  EXPECT_EQ(ClampedArcSin(0), 0);
}

TEST(PositiveMod, ReducesIntoZeroToModulus) {
  struct Case {
    double x, m, expected;
  };
  const Case cases[] = {
      {540, 360, 180}, {-180, 360, 180}, {-540, 360, 180},       {-0.5, 360, 359.5},
      {-360, 360, 0},  {360, 360, 0},    {-1, TwoPi, TwoPi - 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << " mod " << c.m);
    EXPECT_EQ(PositiveMod(c.x, c.m), c.expected);
  }
  EXPECT_NEAR(PositiveMod(725, 360), 5, 1e-12);
}

TEST(PowerOf, RealPowersOfPositiveBases) {
  EXPECT_NEAR(PowerOf(0.5, 5), 0.03125, 1e-17);
  EXPECT_EQ(PowerOf(1, 5), 1);
  EXPECT_NEAR(PowerOf(std::cos(25 * DegToRad), 5), std::pow(std::cos(25 * DegToRad), 5), 1e-15);
}

}  // namespace
}  // namespace helidisk
