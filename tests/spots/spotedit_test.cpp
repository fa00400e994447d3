// The observer's edits: the groups and counts follow every change.
#include "spotedit.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "trigfunc.h"

namespace helidisk {
namespace {

DetectedSpot Spot(double latitudeDeg, double longitudeDeg, int umbrae = 1) {
  DetectedSpot spot;
  spot.place.latitudeDeg = latitudeDeg;
  spot.place.longitudeDeg = longitudeDeg;
  spot.place.cmDistanceDeg = longitudeDeg - 180;
  spot.areaMsh = 50;
  for (int i = 0; i < umbrae; ++i) spot.umbrae.push_back({spot.place, 5, 10});
  return spot;
}

// Two groups of the detection: spots 0 and 1 at 10 N, spot 2 at 20 S.
std::vector<DetectedSpot> TwoGroups() {
  std::vector<DetectedSpot> spots{Spot(10, 170), Spot(10, 174, 2), Spot(-20, 200)};
  GroupSpots(spots);
  return spots;
}

struct EditCase {
  std::string name;
  std::vector<SpotGroup> (*edit)(std::vector<DetectedSpot>& spots);
  std::size_t spots = 0;
  int g = 0;
  int f = 0;
  // Each remaining spot's group number.
  std::vector<int> groupOfSpot;
};

void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

class SpotEdit : public testing::TestWithParam<EditCase> {};

TEST_P(SpotEdit, GroupsAndCountsFollowTheEdit) {
  std::vector<DetectedSpot> spots = TwoGroups();
  const std::vector<SpotGroup> groups = GetParam().edit(spots);
  ASSERT_EQ(spots.size(), GetParam().spots);
  const SunspotCounts counts = CountSunspots(groups);
  EXPECT_EQ(counts.whole.g, GetParam().g);
  EXPECT_EQ(counts.whole.f, GetParam().f);
  std::vector<int> groupOfSpot;
  groupOfSpot.reserve(spots.size());
  for (const DetectedSpot& spot : spots) groupOfSpot.push_back(spot.group);
  EXPECT_EQ(groupOfSpot, GetParam().groupOfSpot);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, SpotEdit,
    testing::Values(EditCase{"Nothing",
                             [](std::vector<DetectedSpot>& s) { return GroupsAsAssigned(s); },
                             3,
                             2,
                             4,
                             {1, 1, 2}},
                    EditCase{"RemoveTheSouthernSpot",
                             [](std::vector<DetectedSpot>& s) { return RemoveSpots(s, {2}); },
                             2,
                             1,
                             3,
                             {1, 1}},
                    EditCase{"RemoveOneOfAPairAndAnUnknownIndex",
                             [](std::vector<DetectedSpot>& s) {
                               return RemoveSpots(s, {0, 7, -1});
                             },
                             2,
                             2,
                             3,
                             {1, 2}},
                    EditCase{"MergeBothGroups",
                             [](std::vector<DetectedSpot>& s) {
                               return MergeGroupsOf(s, {0, 2});
                             },
                             3,
                             1,
                             4,
                             {1, 1, 1}},
                    EditCase{"SplitThePair",
                             [](std::vector<DetectedSpot>& s) { return SplitIntoNewGroup(s, {1}); },
                             3,
                             3,
                             4,
                             {1, 2, 3}},
                    EditCase{"AddAPoreNearTheSouthernSpot",
                             [](std::vector<DetectedSpot>& s) {
                               // The frame puts longitude 180 at the disk centre; the
                               // pixel lies about 1.5 degrees from spot 2.
                               const DiskFrame frame = OrientedDiskFrame(
                                   500, 500, 400, 180 * DegToRad, 0, 0, Orientation::SolarNorth);
                               const ProjectedPoint near =
                                   Project(frame, 201.5 * DegToRad, -20 * DegToRad);
                               return AddSpotAt(s, frame, near.xPx, near.yPx, 10, true);
                             },
                             4,
                             2,
                             5,
                             {1, 1, 2, 2}},
                    EditCase{"AddNothingOffTheDisk",
                             [](std::vector<DetectedSpot>& s) {
                               const DiskFrame frame = OrientedDiskFrame(
                                   500, 500, 400, 180 * DegToRad, 0, 0, Orientation::SolarNorth);
                               return AddSpotAt(s, frame, 950, 500, 10, false);
                             },
                             3,
                             2,
                             4,
                             {1, 1, 2}}),
    [](const testing::TestParamInfo<EditCase>& info) { return info.param.name; });

TEST(SpotEdit, RegionNumberFollowsAMergeAndStaysBehindASplit) {
  std::vector<DetectedSpot> spots = TwoGroups();
  std::vector<SpotGroup> groups = SetRegionNumber(spots, 1, 13664);
  EXPECT_EQ(groups[0].region, 13664);
  EXPECT_EQ(groups[1].region, 0);
  groups = MergeGroupsOf(spots, {0, 2});
  ASSERT_EQ(groups.size(), 1U);
  EXPECT_EQ(groups[0].region, 13664);
  groups = SplitIntoNewGroup(spots, {2});
  ASSERT_EQ(groups.size(), 2U);
  EXPECT_EQ(groups[spots[0].group - 1].region, 13664);
  EXPECT_EQ(groups[spots[2].group - 1].region, 0);
}

TEST(SpotEdit, AddedSpotFarFromAllOthersMakesItsOwnGroup) {
  std::vector<DetectedSpot> spots = TwoGroups();
  const DiskFrame frame =
      OrientedDiskFrame(500, 500, 400, 180 * DegToRad, 0, 0, Orientation::SolarNorth);
  const std::vector<SpotGroup> groups = AddSpotAt(spots, frame, 500, 300, 40, false);
  ASSERT_EQ(groups.size(), 3U);
  EXPECT_NEAR(spots.back().place.latitudeDeg, 30, 1e-9);
  EXPECT_EQ(spots.back().CountedSpots(), 1);
}

}  // namespace
}  // namespace helidisk
