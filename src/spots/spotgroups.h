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
#include <string_view>
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
  // The classes in effect: the Zurich class A ... J and the McIntosh class
  // (three letters, Zpc), each the observer's choice where there is one,
  // else the proposal.
  char zurichClass = 'A';
  std::string mcIntoshClass;
  bool zurichChosen = false;
  bool mcIntoshChosen = false;
  // What the detection proposes, shown beside the observer's choice.
  char zurichProposal = 'A';
  std::string mcIntoshProposal;
  // The official region number: the one its spots carry most often; 0 for
  // none.
  int region = 0;
};

// Groups the spots and writes each spot's group number into it.
std::vector<SpotGroup> GroupSpots(std::vector<DetectedSpot>& spots,
                                  double linkDistanceDeg = kDefaultLinkDistanceDeg);

// The groups as the spots' group numbers assign them (the observer's
// edits): measured, classed, and numbered again from east to west, the
// spots' numbers with them.  A spot of group 0 is a group of its own.
std::vector<SpotGroup> GroupsAsAssigned(std::vector<DetectedSpot>& spots);

// Gives the group of that number the official region number (0: none),
// through its spots.
std::vector<SpotGroup> SetRegionNumber(std::vector<DetectedSpot>& spots, int group, int region);

// Gives the group of that number the observer's classes, through its
// spots: a Zurich class (IsZurichClass) or 0 for the proposal, a McIntosh
// class (IsMcIntoshClass) or empty for the proposal.  Anything else is
// refused with a SpotError that names the classes allowed.
std::vector<SpotGroup> SetGroupClasses(std::vector<DetectedSpot>& spots, int group, char zurich,
                                       const std::string& mcIntosh);

// A, B, C, D, E, F, G, H or J (Waldmeier's classes have no I).
bool IsZurichClass(char zurich);
// One of the 60 classes McIntosh (1990) allows: Axx; Bxo, Bxi; H with
// r, s, a, h or k and x; C with r, s, a, h or k and o or i; D, E, F with r
// and o or i, or with s, a, h or k and o, i or c.
bool IsMcIntoshClass(std::string_view mcIntosh);

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
