// The detection on generated Suns whose spots are caps of known centre and
// area on the sphere: every spot found where it was put, nothing invented,
// areas corrected for foreshortening, and the counts exact.
#include "spotdetect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "heliographic_sun.h"
#include "spotgroups.h"
#include "trigfunc.h"

namespace helidisk {
namespace {

using fakes::CapSpot;

constexpr int kSidePx = 1800;
constexpr double kCentrePx = 899.5;
constexpr double kRadiusPx = 860;
constexpr double kL0Deg = 130;
constexpr double kB0Deg = 5;
constexpr double kPDeg = -12;

DiskFrame TestFrame() {
  return OrientedDiskFrame(kCentrePx, kCentrePx, kRadiusPx, kL0Deg * DegToRad, kB0Deg * DegToRad,
                           kPDeg * DegToRad, Orientation::Sky);
}

// The central-meridian distance at which a point of the latitude has mu.
double CmdForMuDeg(double latitudeDeg, double mu) {
  const double lat = latitudeDeg * DegToRad;
  const double b0 = kB0Deg * DegToRad;
  return std::acos((mu - std::sin(b0) * std::sin(lat)) / (std::cos(b0) * std::cos(lat))) * RadToDeg;
}

// A spot `cmdDeg` west of the central meridian (east negative).
CapSpot SpotAt(double cmdDeg, double latitudeDeg, double areaMsh, double umbraShare = 0.2) {
  return {latitudeDeg, kL0Deg + cmdDeg, areaMsh, umbraShare};
}

// One generated Sun: its spots, which of them make one region on the image
// (a spot's region number), and what must be counted.
struct DetectionCase {
  std::string name;
  std::vector<CapSpot> spots;
  std::vector<int> regions;
  int g = 0;
  int f = 0;
  double noise = 1;
};

void PrintTo(const DetectionCase& c, std::ostream* os) { *os << c.name; }

// A spot of 1370 MSH (3 degrees in radius) centred 87.5 degrees from the
// disk centre: its western part lies behind the limb.
CapSpot SpotAcrossTheLimb() {
  constexpr double kLatitudeDeg = 8;
  return SpotAt(CmdForMuDeg(kLatitudeDeg, std::cos(87.5 * DegToRad)), kLatitudeDeg, 1370);
}

std::vector<DetectionCase> DetectionCases() {
  const double touchingStepDeg =
      2 * fakes::CapRadiusRad(200) * RadToDeg * 0.95 / std::cos(12 * DegToRad);
  return {
      {"DiskCentre", {SpotAt(0, 3, 300)}, {0}, 1, 1},
      {"MidDiskSpotAndPore", {SpotAt(35, 20, 150), SpotAt(-30, -15, 20, 0)}, {0, 1}, 2, 2},
      {"NearTheLimbAtMu03", {SpotAt(-CmdForMuDeg(-10, 0.3), -10, 400)}, {0}, 1, 1},
      {"TouchingPenumbrae",
       {SpotAt(-5, 12, 200), SpotAt(-5 + touchingStepDeg, 12, 200)},
       {0, 0},
       1,
       2},
      {"SplitByTheLimb", {SpotAcrossTheLimb(), SpotAt(0, -20, 120)}, {0, 1}, 2, 2},
      {"QuietDiskOnly", {}, {}, 0, 0, 2},
  };
}

class SpotDetection : public testing::TestWithParam<DetectionCase> {};

double PositionToleranceDeg(double mu) { return mu >= 0.5 ? 0.3 : 1.0; }

const DetectedSpot* SpotNear(const std::vector<DetectedSpot>& found, const CapSpot& truth,
                             double toleranceDeg) {
  for (const DetectedSpot& spot : found) {
    const SpotPlace place{0, 0, truth.latitudeDeg, truth.longitudeDeg, 0, 0, 0};
    if (HeliographicDistanceDeg(spot.place, place) <= toleranceDeg) return &spot;
    for (const Umbra& umbra : spot.umbrae) {
      if (HeliographicDistanceDeg(umbra.place, place) <= toleranceDeg) return &spot;
    }
  }
  return nullptr;
}

TEST_P(SpotDetection, FindsEverySpotAndInventsNone) {
  const DetectionCase& c = GetParam();
  const DiskFrame frame = TestFrame();
  const GreyImage image = fakes::HeliographicSun(frame, kSidePx, kSidePx, c.spots, c.noise);
  Detection detection = DetectSpots(image, frame);
  const std::map<int, int> membersOfRegion = [&] {
    std::map<int, int> members;
    for (const int region : c.regions) ++members[region];
    return members;
  }();
  ASSERT_EQ(detection.spots.size(), membersOfRegion.size());
  std::map<int, const DetectedSpot*> foundOfRegion;
  for (std::size_t i = 0; i < c.spots.size(); ++i) {
    const CapSpot& truth = c.spots[i];
    const ProjectedPoint projected =
        Project(frame, truth.longitudeDeg * DegToRad, truth.latitudeDeg * DegToRad);
    const bool acrossTheLimb =
        std::acos(projected.depth) + fakes::CapRadiusRad(truth.areaMsh) > std::numbers::pi / 2;
    // The visible part of a spot across the limb lies some degrees off its
    // centre.
    const double tolerance = acrossTheLimb ? 4.0 : PositionToleranceDeg(projected.depth);
    const DetectedSpot* found = SpotNear(detection.spots, truth, tolerance);
    ASSERT_NE(found, nullptr) << "spot " << i << " at mu " << projected.depth;
    EXPECT_EQ(found->partial, acrossTheLimb) << "spot " << i;
    foundOfRegion[c.regions[i]] = found;
    if (membersOfRegion.at(c.regions[i]) == 1 && !acrossTheLimb && truth.areaMsh >= 100) {
      EXPECT_NEAR(found->areaMsh, truth.areaMsh, 0.1 * truth.areaMsh) << "spot " << i;
      EXPECT_NEAR(found->place.mu, projected.depth, 0.01) << "spot " << i;
    }
  }
  EXPECT_EQ(foundOfRegion.size(), membersOfRegion.size()) << "two regions found as one";
  const std::vector<SpotGroup> groups = GroupSpots(detection.spots);
  const SunspotCounts counts = CountSunspots(groups);
  EXPECT_EQ(counts.whole.g, c.g);
  EXPECT_EQ(counts.whole.f, c.f);
  EXPECT_EQ(counts.whole.R(), 10 * c.g + c.f);
}

INSTANTIATE_TEST_SUITE_P(GeneratedSuns, SpotDetection, testing::ValuesIn(DetectionCases()),
                         [](const testing::TestParamInfo<DetectionCase>& info) {
                           return info.param.name;
                         });

TEST(SpotDetection, TouchingSpotsAreOneRegionWithTwoUmbraeOfTheirTotalArea) {
  const double stepDeg = 2 * fakes::CapRadiusRad(200) * RadToDeg * 0.95 / std::cos(12 * DegToRad);
  const std::vector<CapSpot> spots{SpotAt(-5, 12, 200), SpotAt(-5 + stepDeg, 12, 200)};
  const DiskFrame frame = TestFrame();
  const Detection detection =
      DetectSpots(fakes::HeliographicSun(frame, kSidePx, kSidePx, spots, 1), frame);
  ASSERT_EQ(detection.spots.size(), 1U);
  const DetectedSpot& spot = detection.spots.front();
  ASSERT_EQ(spot.umbrae.size(), 2U);
  EXPECT_NEAR(spot.areaMsh, 400, 40);
  for (const CapSpot& truth : spots) {
    const SpotPlace place{0, 0, truth.latitudeDeg, truth.longitudeDeg, 0, 0, 0};
    const double nearest = std::min(HeliographicDistanceDeg(spot.umbrae[0].place, place),
                                    HeliographicDistanceDeg(spot.umbrae[1].place, place));
    EXPECT_LT(nearest, 0.3);
  }
}

TEST(SpotDetection, AreaOfAFixedSpotHardlyChangesFromCentreToMu03) {
  // The same 200 MSH spot at three distances from the centre: the
  // correction by each pixel's mu keeps its area.
  const DiskFrame frame = TestFrame();
  for (const double mu : {1.0, 0.7, 0.3}) {
    const double cmd = mu == 1.0 ? 0 : CmdForMuDeg(kB0Deg, mu);
    const std::vector<CapSpot> spots{SpotAt(cmd, kB0Deg, 200)};
    const Detection detection =
        DetectSpots(fakes::HeliographicSun(frame, kSidePx, kSidePx, spots), frame);
    ASSERT_EQ(detection.spots.size(), 1U) << "mu " << mu;
    EXPECT_NEAR(detection.spots.front().areaMsh, 200, 20) << "mu " << mu;
    EXPECT_NEAR(detection.spots.front().umbraAreaMsh, 40, 8) << "mu " << mu;
  }
}

TEST(QuietDisk, FitFollowsTheLimbDarkeningWithinOnePercentInsideMu03) {
  const DiskFrame frame = TestFrame();
  const QuietDiskProfile profile =
      FitQuietDisk(fakes::HeliographicSun(frame, kSidePx, kSidePx, {}, 1), frame);
  ASSERT_TRUE(profile.fitted);
  // The generated law's square root steepens toward the limb, where a
  // cubic follows it less closely.
  for (const auto& [mu, tolerance] :
       {std::pair{0.1, 0.02}, {0.3, 0.01}, {0.5, 0.01}, {0.8, 0.01}, {1.0, 0.01}}) {
    EXPECT_NEAR(profile.LevelAt(mu), fakes::QuietLevel(mu), tolerance * fakes::QuietLevel(mu))
        << "mu " << mu;
  }
}

TEST(QuietDisk, AllenLawIsOneAtTheCentreAndThirtyFivePercentAtTheLimb) {
  const QuietDiskProfile profile = AllenProfile(100);
  EXPECT_DOUBLE_EQ(profile.LevelAt(1), 100);
  EXPECT_NEAR(profile.LevelAt(0), 35, 1e-9);
  EXPECT_FALSE(profile.fitted);
}

TEST(SpotArea, OnePixelAtTheCentreOfADiskOfRadius1000IsAbout159Msh) {
  EXPECT_NEAR(PixelAreaMsh(1000, 1), 1e6 / (2 * 3.14159265358979 * 1e6), 1e-9);
  EXPECT_DOUBLE_EQ(PixelAreaMsh(1000, 0.5), 2 * PixelAreaMsh(1000, 1));
}

// Images that must give a clear refusal rather than a report.
struct BadImageCase {
  std::string name;
  GreyImage (*make)(const DiskFrame& frame);
  std::string message;
};

GreyImage SaturatedDisk(const DiskFrame& frame) {
  GreyImage image = fakes::HeliographicSun(frame, kSidePx, kSidePx, {});
  for (float& value : image.values) value = std::min(value * 3.0F, 255.0F);
  image.saturationLevel = 255;
  return image;
}

GreyImage BlankImage(const DiskFrame& /*frame*/) {
  GreyImage image;
  image.widthPx = kSidePx;
  image.heightPx = kSidePx;
  image.values.assign(static_cast<std::size_t>(kSidePx) * kSidePx, 0.0F);
  return image;
}

// An H-alpha-like disk: dark mottles everywhere, hundreds of them.
GreyImage MottledDisk(const DiskFrame& frame) {
  std::vector<CapSpot> mottles;
  for (int lat = -60; lat <= 60; lat += 6) {
    for (int cmd = -66; cmd <= 66; cmd += 6) mottles.push_back(SpotAt(cmd, lat, 30, 0));
  }
  return fakes::HeliographicSun(frame, kSidePx, kSidePx, mottles);
}

GreyImage CloudedDisk(const DiskFrame& frame) {
  GreyImage image = fakes::HeliographicSun(frame, kSidePx, kSidePx, {});
  // A cloud over the upper 45 % of the image.
  for (int y = 0; y < kSidePx * 45 / 100; ++y) {
    for (int x = 0; x < kSidePx; ++x) image.values[y * kSidePx + x] *= 0.5F;
  }
  return image;
}

class BadImage : public testing::TestWithParam<BadImageCase> {};

TEST_P(BadImage, IsRefusedWithAClearMessage) {
  const DiskFrame frame = TestFrame();
  const GreyImage image = GetParam().make(frame);
  try {
    DetectSpots(image, frame);
    FAIL() << "no error";
  } catch (const SpotError& error) {
    EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos)
        << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, BadImage,
    testing::Values(BadImageCase{"Saturated", SaturatedDisk, "the disk is saturated"},
                    BadImageCase{"Blank", BlankImage, "the disk has no light"},
                    BadImageCase{"HalphaMottles", MottledDisk, "looks like an H-alpha"},
                    BadImageCase{"HalfClouded", CloudedDisk, "more than a third of the disk"}),
    [](const testing::TestParamInfo<BadImageCase>& info) { return info.param.name; });

}  // namespace
}  // namespace helidisk
