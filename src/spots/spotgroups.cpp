#include "spotgroups.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "trigfunc.h"

namespace helidisk {

namespace {

constexpr double kUnipolarExtentDeg = 3;
constexpr double kLargeSpotDiameterDeg = 2.5;
constexpr double kShortGroupDeg = 10;
constexpr double kLongGroupDeg = 15;

// The longitude of b seen from a, -180 ... 180 degrees: groups straddling
// 0 degrees stay whole.
double LongitudeOffsetDeg(double fromDeg, double toDeg) {
  return std::remainder(toDeg - fromDeg, 360.0);
}

std::vector<int> ComponentOf(const std::vector<DetectedSpot>& spots, double linkDistanceDeg,
                             std::vector<int>& label, int start, int component) {
  std::vector<int> members{start};
  label[start] = component;
  for (std::size_t next = 0; next < members.size(); ++next) {
    for (std::size_t other = 0; other < spots.size(); ++other) {
      if (label[other] >= 0) continue;
      if (HeliographicDistanceDeg(spots[members[next]].place, spots[other].place) <=
          linkDistanceDeg) {
        label[other] = component;
        members.push_back(static_cast<int>(other));
      }
    }
  }
  return members;
}

void MeasureGroup(SpotGroup& group, const std::vector<DetectedSpot>& spots) {
  const SpotPlace& first = spots[group.spots.front()].place;
  double weight = 0;
  double latitude = 0;
  double longitudeOffset = 0;
  double cmDistance = 0;
  double eastmost = 0;
  double westmost = 0;
  for (const int index : group.spots) {
    const DetectedSpot& spot = spots[index];
    const double offset = LongitudeOffsetDeg(first.longitudeDeg, spot.place.longitudeDeg);
    // A spot's area weighs it, with a floor so that pores of no
    // measurable area still count.
    const double w = std::max(spot.areaMsh, 1.0);
    weight += w;
    latitude += w * spot.place.latitudeDeg;
    longitudeOffset += w * offset;
    cmDistance += w * spot.place.cmDistanceDeg;
    eastmost = std::min(eastmost, offset);
    westmost = std::max(westmost, offset);
    group.areaMsh += spot.areaMsh;
    group.countedSpots += spot.CountedSpots();
  }
  group.latitudeDeg = latitude / weight;
  group.longitudeDeg = std::fmod(first.longitudeDeg + longitudeOffset / weight + 360.0, 360.0);
  group.cmDistanceDeg = cmDistance / weight;
  group.hemisphere = group.latitudeDeg >= 0 ? Hemisphere::North : Hemisphere::South;
  group.longitudeExtentDeg = westmost - eastmost;
}

double LargestSeparationDeg(const SpotGroup& group, const std::vector<DetectedSpot>& spots) {
  double largest = 0;
  for (const int a : group.spots) {
    for (const int b : group.spots) {
      largest = std::max(largest, HeliographicDistanceDeg(spots[a].place, spots[b].place));
    }
  }
  return largest;
}

// The largest spot by area among those with a penumbra, where there are
// any: the classes judge the largest penumbral spot.
const DetectedSpot& LargestSpot(const SpotGroup& group, const std::vector<DetectedSpot>& spots) {
  const int largest = *std::max_element(group.spots.begin(), group.spots.end(), [&](int a, int b) {
    if (spots[a].HasPenumbra() != spots[b].HasPenumbra()) {
      return spots[b].HasPenumbra();
    }
    return spots[a].areaMsh < spots[b].areaMsh;
  });
  return spots[largest];
}

// Where the group's spots lie along its extent: the eastern and western
// thirds are its ends, the middle third its interior.
struct GroupThirds {
  bool penumbraEast = false;
  bool penumbraWest = false;
  bool spotsInside = false;
  bool penumbraInside = false;
};

GroupThirds ThirdsOf(const SpotGroup& group, const std::vector<DetectedSpot>& spots) {
  GroupThirds thirds;
  const SpotPlace& first = spots[group.spots.front()].place;
  double eastmost = 0;
  for (const int index : group.spots) {
    eastmost =
        std::min(eastmost, LongitudeOffsetDeg(first.longitudeDeg, spots[index].place.longitudeDeg));
  }
  const double third = group.longitudeExtentDeg / 3;
  for (const int index : group.spots) {
    const DetectedSpot& spot = spots[index];
    const double along = LongitudeOffsetDeg(first.longitudeDeg, spot.place.longitudeDeg) - eastmost;
    if (along <= third) {
      thirds.penumbraEast = thirds.penumbraEast || spot.HasPenumbra();
    } else if (along >= 2 * third) {
      thirds.penumbraWest = thirds.penumbraWest || spot.HasPenumbra();
    } else {
      thirds.spotsInside = true;
      thirds.penumbraInside = thirds.penumbraInside || spot.HasPenumbra();
    }
  }
  return thirds;
}

// What the group's spots carry most often of a choice the observer made
// (a region number, a class), or `none` where no spot carries one; a tie
// goes to the smallest.
template <typename Value>
Value MostCommonChoice(const SpotGroup& group, const std::vector<DetectedSpot>& spots,
                       Value DetectedSpot::*choice, const Value& none) {
  std::map<Value, int> votes;
  for (const int index : group.spots) {
    if (spots[index].*choice != none) ++votes[spots[index].*choice];
  }
  Value chosen = none;
  int most = 0;
  for (const auto& [value, count] : votes) {
    if (count > most) {
      chosen = value;
      most = count;
    }
  }
  return chosen;
}

// The observer's classes where the spots carry them, else the proposals.
void ClassGroup(SpotGroup& group, const std::vector<DetectedSpot>& spots) {
  group.zurichProposal = ZurichClassOf(group, spots);
  group.mcIntoshProposal = McIntoshClassOf(group, spots);
  const char zurich = MostCommonChoice(group, spots, &DetectedSpot::zurichClass, char{0});
  const std::string mcIntosh =
      MostCommonChoice(group, spots, &DetectedSpot::mcIntoshClass, std::string());
  group.zurichChosen = zurich != 0;
  group.mcIntoshChosen = !mcIntosh.empty();
  group.zurichClass = group.zurichChosen ? zurich : group.zurichProposal;
  group.mcIntoshClass = group.mcIntoshChosen ? mcIntosh : group.mcIntoshProposal;
}

bool AnyPenumbra(const SpotGroup& group, const std::vector<DetectedSpot>& spots) {
  return std::any_of(group.spots.begin(), group.spots.end(),
                     [&](int index) { return spots[index].HasPenumbra(); });
}

}  // namespace

double HeliographicDistanceDeg(const SpotPlace& a, const SpotPlace& b) {
  const double latitudeA = a.latitudeDeg * DegToRad;
  const double latitudeB = b.latitudeDeg * DegToRad;
  const double longitude = (b.longitudeDeg - a.longitudeDeg) * DegToRad;
  // The haversine form keeps small distances exact.
  const double h = std::pow(std::sin((latitudeB - latitudeA) / 2), 2) +
                   std::cos(latitudeA) * std::cos(latitudeB) * std::pow(std::sin(longitude / 2), 2);
  return 2 * std::asin(std::min(1.0, std::sqrt(h))) * RadToDeg;
}

double SpotDiameterDeg(double areaMsh) {
  // A cap of angular radius a covers 1 - cos a of the hemisphere.
  const double fraction = std::clamp(areaMsh * 1e-6, 0.0, 1.0);
  return 2 * std::acos(1 - fraction) * RadToDeg;
}

char ZurichClassOf(const SpotGroup& group, const std::vector<DetectedSpot>& spots) {
  const bool unipolar = LargestSeparationDeg(group, spots) < kUnipolarExtentDeg;
  if (!AnyPenumbra(group, spots)) return unipolar ? 'A' : 'B';
  if (unipolar) {
    return SpotDiameterDeg(LargestSpot(group, spots).areaMsh) > kLargeSpotDiameterDeg ? 'H' : 'J';
  }
  const GroupThirds thirds = ThirdsOf(group, spots);
  if (!(thirds.penumbraEast && thirds.penumbraWest)) return 'C';
  if (group.longitudeExtentDeg < kShortGroupDeg) return 'D';
  if (group.longitudeExtentDeg <= kLongGroupDeg) return 'E';
  return 'F';
}

std::string McIntoshClassOf(const SpotGroup& group, const std::vector<DetectedSpot>& spots) {
  const char zurich = ZurichClassOf(group, spots);
  std::string mcIntosh(1, zurich == 'J' ? 'H' : zurich);
  const DetectedSpot& largest = LargestSpot(group, spots);
  if (!largest.HasPenumbra()) {
    mcIntosh += 'x';
  } else {
    mcIntosh += SpotDiameterDeg(largest.areaMsh) > kLargeSpotDiameterDeg ? 'h' : 's';
  }
  // Unipolar classes have no distribution; bipolar ones at least two
  // spots, and only D, E and F groups with penumbral spots a compact one.
  if (mcIntosh.front() == 'A' || mcIntosh.front() == 'H') {
    mcIntosh += 'x';
  } else {
    const GroupThirds thirds = ThirdsOf(group, spots);
    const bool compactAllowed =
        mcIntosh.back() != 'x' && mcIntosh.front() != 'B' && mcIntosh.front() != 'C';
    if (thirds.penumbraInside && compactAllowed) {
      mcIntosh += 'c';
    } else {
      mcIntosh += thirds.spotsInside || thirds.penumbraInside ? 'i' : 'o';
    }
  }
  return mcIntosh;
}

bool IsZurichClass(char zurich) {
  return zurich != 0 && std::string_view("ABCDEFGHJ").find(zurich) != std::string_view::npos;
}

bool IsMcIntoshClass(std::string_view mcIntosh) {
  if (mcIntosh.size() != 3) return false;
  const char z = mcIntosh[0];
  const char p = mcIntosh[1];
  const char c = mcIntosh[2];
  const auto oneOf = [](char letter, std::string_view letters) {
    return letter != 0 && letters.find(letter) != std::string_view::npos;
  };
  switch (z) {
    case 'A':
      return p == 'x' && c == 'x';
    case 'B':
      return p == 'x' && oneOf(c, "oi");
    case 'H':
      return oneOf(p, "rsahk") && c == 'x';
    case 'C':
      return oneOf(p, "rsahk") && oneOf(c, "oi");
    case 'D':
    case 'E':
    case 'F':
      return p == 'r' ? oneOf(c, "oi") : oneOf(p, "sahk") && oneOf(c, "oic");
    default:
      return false;
  }
}

std::vector<SpotGroup> SetGroupClasses(std::vector<DetectedSpot>& spots, int group, char zurich,
                                       const std::string& mcIntosh) {
  if (zurich != 0 && !IsZurichClass(zurich)) {
    throw SpotError("a Zurich class is one of A, B, C, D, E, F, G, H, J");
  }
  if (!mcIntosh.empty() && !IsMcIntoshClass(mcIntosh)) {
    throw SpotError("'" + mcIntosh +
                    "' is not one of McIntosh's classes (such as Axx, Bxo, Hsx, Cao, Dkc)");
  }
  for (DetectedSpot& spot : spots) {
    if (spot.group != group) continue;
    spot.zurichClass = zurich;
    spot.mcIntoshClass = mcIntosh;
  }
  return GroupsAsAssigned(spots);
}

std::vector<SpotGroup> GroupSpots(std::vector<DetectedSpot>& spots, double linkDistanceDeg) {
  std::vector<int> label(spots.size(), -1);
  int groups = 0;
  for (std::size_t start = 0; start < spots.size(); ++start) {
    if (label[start] >= 0) continue;
    for (const int member :
         ComponentOf(spots, linkDistanceDeg, label, static_cast<int>(start), groups)) {
      spots[member].group = groups + 1;
    }
    ++groups;
  }
  return GroupsAsAssigned(spots);
}

std::vector<SpotGroup> GroupsAsAssigned(std::vector<DetectedSpot>& spots) {
  std::map<int, SpotGroup> byNumber;
  for (std::size_t i = 0; i < spots.size(); ++i) {
    byNumber[spots[i].group].spots.push_back(static_cast<int>(i));
  }
  std::vector<SpotGroup> groups;
  for (auto& [number, group] : byNumber) {
    if (number <= 0) {
      // Spots without a group are groups of their own.
      for (const int index : group.spots) {
        SpotGroup single;
        single.spots = {index};
        groups.push_back(single);
      }
      continue;
    }
    groups.push_back(group);
  }
  for (SpotGroup& group : groups) MeasureGroup(group, spots);
  std::stable_sort(groups.begin(), groups.end(), [](const SpotGroup& a, const SpotGroup& b) {
    return a.cmDistanceDeg < b.cmDistanceDeg;
  });
  for (std::size_t i = 0; i < groups.size(); ++i) {
    SpotGroup& group = groups[i];
    group.number = static_cast<int>(i) + 1;
    for (const int index : group.spots) spots[index].group = group.number;
    ClassGroup(group, spots);
    group.region = MostCommonChoice(group, spots, &DetectedSpot::region, 0);
  }
  return groups;
}

std::vector<SpotGroup> SetRegionNumber(std::vector<DetectedSpot>& spots, int group, int region) {
  for (DetectedSpot& spot : spots) {
    if (spot.group == group) spot.region = region;
  }
  return GroupsAsAssigned(spots);
}

SunspotCounts CountSunspots(const std::vector<SpotGroup>& groups, double k) {
  SunspotCounts counts;
  counts.k = k;
  for (const SpotGroup& group : groups) {
    HemisphereCounts& hemisphere =
        group.hemisphere == Hemisphere::North ? counts.north : counts.south;
    ++hemisphere.g;
    hemisphere.f += group.countedSpots;
    ++counts.whole.g;
    counts.whole.f += group.countedSpots;
  }
  return counts;
}

}  // namespace helidisk
