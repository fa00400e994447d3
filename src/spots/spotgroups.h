// Sunspot groups and the counts observers report.
//
// The grouping rule: two spots belong to one group when their centroids lie
// within linkDistanceDeg of each other on the sphere (great-circle
// distance), and a group is every chain of such links (single linkage).
// The default, 6 degrees, keeps the leader and follower of a bipolar group
// together while two groups in the same latitude belt stay apart; the
// observer edits what the rule gets wrong.
//
// Counts (Wolf 1850, as the world's sunspot index keeps them): g groups,
// f spots (each umbra a spot, a pore without umbra one), R = 10 g + f, for
// the whole disk and for each hemisphere, the hemisphere a group's.  The
// observer's personal factor k scales R to the index: k R.
#pragma once

#include <string>
#include <vector>

#include "spotdetect.h"

namespace helidisk {

inline constexpr double kDefaultLinkDistanceDeg = 6;

enum class Hemisphere { North, South };

struct SpotGroup {
  int number = 0;          // from 1, from the east limb to the west
  std::vector<int> spots;  // indices into the detection's spots
  // The centroid of its spots' places weighted by their areas.
  double latitudeDeg = 0;
  double longitudeDeg = 0;  // Carrington
  double cmDistanceDeg = 0;
  Hemisphere hemisphere = Hemisphere::North;
  // From the easternmost to the westernmost spot centroid.
  double longitudeExtentDeg = 0;
  double areaMsh = 0;
  int countedSpots = 0;
  // Proposals the observer may change: the Zurich class A ... J and the
  // McIntosh class (three letters, Zpc).
  char zurichClass = 'A';
  std::string mcIntoshClass;
};

// Groups the spots and writes each spot's group number into it.
std::vector<SpotGroup> GroupSpots(std::vector<DetectedSpot>& spots,
                                  double linkDistanceDeg = kDefaultLinkDistanceDeg);

// The great-circle distance between two places in degrees.
double HeliographicDistanceDeg(const SpotPlace& a, const SpotPlace& b);

// The Zurich class (Waldmeier 1938, as McIntosh 1990, Solar Phys. 125, 251,
// describes it), proposed from what the detection sees:
//   no penumbra: A one spot or a compact cluster (unipolar), B bipolar;
//   penumbra: H / J unipolar, the largest spot over / under 2.5 degrees;
//   C bipolar with penumbra at one end only;
//   D, E, F bipolar with penumbra at both ends, extent under 10, 10 to 15,
//   over 15 degrees of longitude.
// Unipolar: all centroids within 3 degrees of each other.  G (a large
// bipolar group without small spots between) needs the observer's eye.
char ZurichClassOf(const SpotGroup& group, const std::vector<DetectedSpot>& spots);

// The McIntosh class (McIntosh 1990): Z the modified Zurich class (A, B,
// C, D, E, F, H; J becomes H), p the largest spot's penumbra (x none, s
// small up to 2.5 degrees across, h larger; both taken as symmetric, as
// the detection cannot judge r, a and k), c the spots' distribution (x a
// single spot, o open: no spot in the middle third of the group's extent,
// i intermediate: spots there without penumbra, c compact: one with
// penumbra there).
std::string McIntoshClassOf(const SpotGroup& group, const std::vector<DetectedSpot>& spots);

// A spot's diameter on the sphere from its area, in degrees.
double SpotDiameterDeg(double areaMsh);

struct HemisphereCounts {
  int g = 0;
  int f = 0;
  int R() const { return 10 * g + f; }
};

struct SunspotCounts {
  HemisphereCounts whole;
  HemisphereCounts north;
  HemisphereCounts south;
  double k = 1;
  double ScaledR() const { return k * whole.R(); }
};

SunspotCounts CountSunspots(const std::vector<SpotGroup>& groups, double k = 1);

}  // namespace helidisk
