// Grouping, the classes proposed and the counts, on spots placed by hand.
#include "spotgroups.h"

#include <gtest/gtest.h>

#include <algorithm>
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

std::vector<GroupingCase> GroupingCases() {
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
      // Proposals stay among McIntosh's classes: a cluster of pores has no
      // distribution, and a C group none compact.
      {"ClusterOfPores",
       {Spot(10, 180, 5, 0), Spot(10, 181, 5, 0), Spot(11, 180.5, 5, 0)},
       "A",
       {"Axx"},
       1,
       3,
       0,
       0},
      {"PenumbraAtTheWestEndWithPoresBetween",
       {Spot(-10, 180, 5, 0), Spot(-10, 182.5, 5, 0), Spot(-10, 186, 60)},
       "C",
       {"Csi"},
       0,
       0,
       1,
       3},
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
    EXPECT_TRUE(IsMcIntoshClass(groups[i].mcIntoshClass)) << groups[i].mcIntoshClass;
    EXPECT_FALSE(groups[i].zurichChosen || groups[i].mcIntoshChosen);
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

INSTANTIATE_TEST_SUITE_P(HandPlacedSpots, Grouping, testing::ValuesIn(GroupingCases()),
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

// McIntosh (1990) lists 60 classes; every letter triple is tried against
// that count and against some that are close to valid.
TEST(McIntoshClasses, SixtyOfTheTriplesAreClasses) {
  int classes = 0;
  for (const char z : std::string("ABCDEFGHJ")) {
    for (const char p : std::string("xrsahk")) {
      for (const char c : std::string("xoic"))
        classes += IsMcIntoshClass(std::string{z, p, c}) ? 1 : 0;
    }
  }
  EXPECT_EQ(classes, 60);
  for (const char* valid : {"Axx", "Bxi", "Hkx", "Cro", "Dro", "Dkc", "Esc", "Fhi"}) {
    EXPECT_TRUE(IsMcIntoshClass(valid)) << valid;
  }
  for (const char* invalid :
       {"Axo", "Hso", "Csc", "Drc", "Bso", "Jsx", "Gso", "dso", "Ds", "Dsoo"}) {
    EXPECT_FALSE(IsMcIntoshClass(invalid)) << invalid;
  }
  std::string zurich;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (IsZurichClass(letter)) zurich += letter;
  }
  EXPECT_EQ(zurich, "ABCDEFGHJ");
}

// The observer's classes ride on the spots: they outlive a regrouping,
// stand beside the proposal, give way to it again when cleared, and an
// unknown class changes nothing.
TEST(GroupClasses, ChosenClassesFollowTheSpotsAndCanBeCleared) {
  std::vector<DetectedSpot> spots{Spot(12, 180, 120), Spot(12, 184, 20, 0), Spot(12, 188, 150, 2),
                                  Spot(-20, 150, 40)};
  std::vector<SpotGroup> groups = GroupSpots(spots);
  ASSERT_EQ(groups.size(), 2U);
  const int bipolar = groups[1].number;
  groups = SetGroupClasses(spots, bipolar, 'E', "Eki");
  EXPECT_EQ(groups[1].zurichClass, 'E');
  EXPECT_EQ(groups[1].mcIntoshClass, "Eki");
  EXPECT_TRUE(groups[1].zurichChosen && groups[1].mcIntoshChosen);
  EXPECT_EQ(groups[1].zurichProposal, 'D');
  EXPECT_EQ(groups[1].mcIntoshProposal, "Dsi");
  EXPECT_FALSE(groups[0].zurichChosen || groups[0].mcIntoshChosen);

  // The observer takes the leader spot out of the bipolar group.
  spots[2].group = 0;
  groups = GroupsAsAssigned(spots);
  ASSERT_EQ(groups.size(), 3U);
  const auto withSpot = [&](int spot) {
    return *std::find_if(groups.begin(), groups.end(), [&](const SpotGroup& group) {
      return std::find(group.spots.begin(), group.spots.end(), spot) != group.spots.end();
    });
  };
  EXPECT_EQ(withSpot(0).mcIntoshClass, "Eki");
  EXPECT_EQ(withSpot(2).mcIntoshClass, "Eki");

  groups = SetGroupClasses(spots, withSpot(0).number, 0, "");
  EXPECT_FALSE(withSpot(0).zurichChosen || withSpot(0).mcIntoshChosen);
  EXPECT_EQ(withSpot(0).zurichClass, withSpot(0).zurichProposal);

  const std::vector<DetectedSpot> before = spots;
  EXPECT_THROW(SetGroupClasses(spots, 1, 'I', ""), SpotError);
  EXPECT_THROW(SetGroupClasses(spots, 1, 0, "Hso"), SpotError);
  for (std::size_t i = 0; i < spots.size(); ++i) {
    EXPECT_EQ(spots[i].zurichClass, before[i].zurichClass);
    EXPECT_EQ(spots[i].mcIntoshClass, before[i].mcIntoshClass);
  }
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
