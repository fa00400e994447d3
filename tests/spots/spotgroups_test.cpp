// Grouping, the classes proposed and the counts, on spots placed by hand.
#include "spotgroups.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace helidisk {
namespace {

// A spot at a place on the Sun; `umbrae` umbrae (0: a pore).
DetectedSpot Spot(double latitudeDeg, double longitudeDeg, double areaMsh, int umbrae = 1) {
  DetectedSpot spot;
  spot.place.latitudeDeg = latitudeDeg;
  spot.place.longitudeDeg = longitudeDeg;
  spot.place.cmDistanceDeg = longitudeDeg - 180;
  spot.areaMsh = areaMsh;
  for (int i = 0; i < umbrae; ++i) spot.umbrae.push_back({spot.place, 10, areaMsh / 5});
  return spot;
}

struct GroupingCase {
  std::string name;
  std::vector<DetectedSpot> spots;
  std::string classes;  // the Zurich class of each group, east to west
  std::vector<std::string> mcIntosh;
  int northG = 0;
  int northF = 0;
  int southG = 0;
  int southF = 0;
};

void PrintTo(const GroupingCase& c, std::ostream* os) { *os << c.name; }

std::vector<GroupingCase> Cases() {
  return {
      {"OnePore", {Spot(10, 180, 5, 0)}, "A", {"Axx"}, 1, 1, 0, 0},
      {"BipolarPores", {Spot(10, 180, 5, 0), Spot(11, 184, 5, 0)}, "B", {"Bxo"}, 1, 2, 0, 0},
      {"PenumbraAtTheWestEndOnly",
       {Spot(-10, 180, 5, 0), Spot(-10, 185, 80)},
       "C",
       {"Cso"},
       0,
       0,
       1,
       2},
      {"BipolarBothEndsShort",
       {Spot(12, 180, 120), Spot(12, 184, 20, 0), Spot(12, 188, 150, 2)},
       "D",
       {"Dsi"},
       1,
       4,
       0,
       0},
      {"BipolarBothEnds12Degrees",
       {Spot(12, 180, 200), Spot(12, 186, 60), Spot(12, 192, 300)},
       "E",
       {"Ehc"},
       1,
       3,
       0,
       0},
      {"Bipolar18Degrees",
       {Spot(-8, 170, 900), Spot(-8, 175, 50), Spot(-8, 180, 60), Spot(-8, 184, 40),
        Spot(-8, 188, 700)},
       "F",
       {"Fhc"},
       0,
       0,
       1,
       5},
      {"LargeSingleSpot", {Spot(20, 180, 800, 3)}, "H", {"Hhx"}, 1, 3, 0, 0},
      {"SmallSingleSpot", {Spot(20, 180, 100)}, "J", {"Hsx"}, 1, 1, 0, 0},
      {"TwoHemispheresTwoGroups",
       {Spot(15, 180, 100), Spot(-15, 182, 100, 2)},
       "JJ",
       {"Hsx", "Hsx"},
       1,
       1,
       1,
       2},
      {"ChainLinksAcross10Degrees",
       // Only neighbours lie within 6 degrees of each other: one group all
       // the same, 10 degrees long.
       {Spot(5, 180, 30), Spot(5, 185, 30), Spot(5, 190, 30)},
       "E",
       {"Esc"},
       1,
       3,
       0,
       0},
      {"SevenDegreesApartTwoGroups",
       {Spot(5, 180, 30), Spot(5, 187, 30)},
       "JJ",
       {"Hsx", "Hsx"},
       2,
       2,
       0,
       0},
  };
}

class Grouping : public testing::TestWithParam<GroupingCase> {};

TEST_P(Grouping, ClassesAndCounts) {
  const GroupingCase& c = GetParam();
  std::vector<DetectedSpot> spots = c.spots;
  const std::vector<SpotGroup> groups = GroupSpots(spots);
  ASSERT_EQ(groups.size(), c.classes.size());
  for (std::size_t i = 0; i < groups.size(); ++i) {
    EXPECT_EQ(groups[i].number, static_cast<int>(i) + 1);
    EXPECT_EQ(groups[i].zurichClass, c.classes[i]) << "group " << i + 1;
    EXPECT_EQ(groups[i].mcIntoshClass, c.mcIntosh[i]) << "group " << i + 1;
    for (const int index : groups[i].spots) EXPECT_EQ(spots[index].group, groups[i].number);
  }
  const SunspotCounts counts = CountSunspots(groups, 0.6);
  EXPECT_EQ(counts.north.g, c.northG);
  EXPECT_EQ(counts.north.f, c.northF);
  EXPECT_EQ(counts.south.g, c.southG);
  EXPECT_EQ(counts.south.f, c.southF);
  EXPECT_EQ(counts.whole.g, c.northG + c.southG);
  EXPECT_EQ(counts.whole.f, c.northF + c.southF);
  EXPECT_EQ(counts.whole.R(), 10 * counts.whole.g + counts.whole.f);
  EXPECT_DOUBLE_EQ(counts.ScaledR(), 0.6 * counts.whole.R());
}

INSTANTIATE_TEST_SUITE_P(HandPlacedSpots, Grouping, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<GroupingCase>& info) {
                           return info.param.name;
                         });

TEST(Grouping, GroupAcrossLongitudeZeroIsOneWithItsExtentAcrossIt) {
  std::vector<DetectedSpot> spots{Spot(10, 358, 100), Spot(10, 2, 100)};
  const std::vector<SpotGroup> groups = GroupSpots(spots);
  ASSERT_EQ(groups.size(), 1U);
  EXPECT_NEAR(groups[0].longitudeExtentDeg, 4, 1e-9);
  EXPECT_NEAR(std::remainder(groups[0].longitudeDeg, 360.0), 0, 1e-9);
}

TEST(Grouping, GroupsAreNumberedFromEastToWest) {
  std::vector<DetectedSpot> spots{Spot(10, 200, 100), Spot(-10, 150, 100), Spot(30, 175, 50)};
  const std::vector<SpotGroup> groups = GroupSpots(spots);
  ASSERT_EQ(groups.size(), 3U);
  EXPECT_EQ(spots[1].group, 1);
  EXPECT_EQ(spots[2].group, 2);
  EXPECT_EQ(spots[0].group, 3);
}

TEST(HeliographicDistance, AlongTheEquatorAndTheMeridian) {
  const SpotPlace origin{0, 0, 0, 100, 0, 1, 0};
  EXPECT_NEAR(HeliographicDistanceDeg(origin, {0, 0, 0, 110, 0, 1, 0}), 10, 1e-9);
  EXPECT_NEAR(HeliographicDistanceDeg(origin, {0, 0, -7, 100, 0, 1, 0}), 7, 1e-9);
  // 10 degrees of longitude at latitude 60 are about 5 on the sphere.
  EXPECT_NEAR(HeliographicDistanceDeg({0, 0, 60, 100, 0, 1, 0}, {0, 0, 60, 110, 0, 1, 0}), 4.9952,
              1e-3);
}

TEST(SpotDiameter, OfA100MshSpotIsOnePointSixDegrees) {
  // 1 - cos(a) = 1e-4: a = 0.81 degrees.
  EXPECT_NEAR(SpotDiameterDeg(100), 1.6206, 1e-3);
  EXPECT_DOUBLE_EQ(SpotDiameterDeg(0), 0);
}

}  // namespace
}  // namespace helidisk
