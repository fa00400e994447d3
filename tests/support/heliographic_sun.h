// Solar images made to measure for the sunspot detection: a limb-darkened
// disk with spots that are circles on the sphere (caps of known centre and
// area), so that their images are foreshortened as real spots are.  Pixels
// near a spot's edge or the limb are averaged over 4 x 4 sub-pixels.
#pragma once

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "diskframe.h"
#include "greyimage.h"
#include "trigfunc.h"

namespace helidisk::fakes {

struct CapSpot {
  double latitudeDeg = 0;
  double longitudeDeg = 0;
  double areaMsh = 0;  // umbra and penumbra together
  // The umbra's share of the area; 0 makes a pore without umbra.
  double umbraShare = 0.2;
};

inline constexpr double kCentreLevel = 200;
inline constexpr double kSkyLevel = 3;
inline constexpr double kPenumbraContrast = 0.7;
inline constexpr double kUmbraContrast = 0.25;

// Not a polynomial, so that the detection's fitted cubic only approximates
// it, as it does a real Sun's.
inline double QuietLevel(double mu) { return kCentreLevel * (0.35 + 0.65 * std::sqrt(mu)); }

// The angular radius of a cap of that area: 1 - cos a of the hemisphere.
inline double CapRadiusRad(double areaMsh) { return std::acos(1 - areaMsh * 1e-6); }

inline double DistanceRad(double lat1, double lon1, double lat2, double lon2) {
  const double h = std::pow(std::sin((lat2 - lat1) / 2), 2) +
                   std::cos(lat1) * std::cos(lat2) * std::pow(std::sin((lon2 - lon1) / 2), 2);
  return 2 * std::asin(std::min(1.0, std::sqrt(h)));
}

// The disk's brightness at a point of the image, the spots of `near`
// included.
inline double PointLevel(const DiskFrame& frame, const std::vector<CapSpot>& spots,
                         const std::vector<int>& near, double x, double y) {
  const LocatedPoint point = Locate(frame, x, y);
  if (!point.onDisk) return kSkyLevel;
  const double level = QuietLevel(point.mu);
  // Overlapping penumbrae are one penumbra, no darker.
  bool inPenumbra = false;
  for (const int index : near) {
    const CapSpot& spot = spots[index];
    const double d = DistanceRad(point.latitudeRad, point.longitudeRad, spot.latitudeDeg * DegToRad,
                                 spot.longitudeDeg * DegToRad);
    if (d < CapRadiusRad(spot.areaMsh * spot.umbraShare)) return level * kUmbraContrast;
    inPenumbra = inPenumbra || d < CapRadiusRad(spot.areaMsh);
  }
  return inPenumbra ? level * kPenumbraContrast : level;
}

inline double SubsampledLevel(const DiskFrame& frame, const std::vector<CapSpot>& spots,
                              const std::vector<int>& near, int x, int y) {
  double sum = 0;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      sum += PointLevel(frame, spots, near, x + (i - 1.5) / 4, y + (j - 1.5) / 4);
    }
  }
  return sum / 16;
}

// Where a spot's image lies: a circle around its projected centre that
// holds all of it, where pixels need sub-pixels.
struct SpotReach {
  double xPx = 0;
  double yPx = 0;
  double radiusPx = 0;
};

inline std::vector<SpotReach> ReachesOf(const DiskFrame& frame, const std::vector<CapSpot>& spots) {
  std::vector<SpotReach> reaches;
  for (const CapSpot& spot : spots) {
    const ProjectedPoint centre =
        Project(frame, spot.longitudeDeg * DegToRad, spot.latitudeDeg * DegToRad);
    reaches.push_back({centre.xPx, centre.yPx, frame.radiusPx * CapRadiusRad(spot.areaMsh) + 2});
  }
  return reaches;
}

inline GreyImage HeliographicSun(const DiskFrame& frame, int widthPx, int heightPx,
                                 const std::vector<CapSpot>& spots, double noise = 0) {
  GreyImage image;
  image.widthPx = widthPx;
  image.heightPx = heightPx;
  image.values.resize(static_cast<std::size_t>(widthPx) * static_cast<std::size_t>(heightPx));
  std::mt19937 random(11);
  std::normal_distribution<double> gauss(0, noise > 0 ? noise : 1);
  const std::vector<SpotReach> reaches = ReachesOf(frame, spots);
  std::vector<int> inRow;
  std::vector<int> near;
  for (int y = 0; y < heightPx; ++y) {
    inRow.clear();
    for (std::size_t i = 0; i < reaches.size(); ++i) {
      if (std::abs(y - reaches[i].yPx) < reaches[i].radiusPx) inRow.push_back(static_cast<int>(i));
    }
    for (int x = 0; x < widthPx; ++x) {
      near.clear();
      for (const int i : inRow) {
        if (std::hypot(x - reaches[i].xPx, y - reaches[i].yPx) < reaches[i].radiusPx) {
          near.push_back(i);
        }
      }
      const double r = std::hypot(x - frame.centreXPx, y - frame.centreYPx);
      double level = 0;
      if (r > frame.radiusPx + 1) {
        level = kSkyLevel;
      } else if (std::abs(r - frame.radiusPx) <= 1 || !near.empty()) {
        level = SubsampledLevel(frame, spots, near, x, y);
      } else {
        level = QuietLevel(std::sqrt(std::max(0.0, 1 - r * r / (frame.radiusPx * frame.radiusPx))));
      }
      if (noise > 0) level += gauss(random);
      image.values[static_cast<std::size_t>(y) * widthPx + x] = static_cast<float>(level);
    }
  }
  return image;
}

}  // namespace helidisk::fakes
