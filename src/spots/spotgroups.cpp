#include "spotgroups.h"

#include <algorithm>
#include <cmath>

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

const DetectedSpot& LargestSpot(const SpotGroup& group, const std::vector<DetectedSpot>& spots) {
  const int largest = *std::max_element(group.spots.begin(), group.spots.end(), [&](int a, int b) {
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
  if (group.spots.size() == 1) {
    mcIntosh += 'x';
  } else {
    const GroupThirds thirds = ThirdsOf(group, spots);
    mcIntosh += thirds.penumbraInside ? 'c' : (thirds.spotsInside ? 'i' : 'o');
  }
  return mcIntosh;
}

std::vector<SpotGroup> GroupSpots(std::vector<DetectedSpot>& spots, double linkDistanceDeg) {
  std::vector<int> label(spots.size(), -1);
  std::vector<SpotGroup> groups;
  for (std::size_t start = 0; start < spots.size(); ++start) {
    if (label[start] >= 0) continue;
    SpotGroup group;
    group.spots = ComponentOf(spots, linkDistanceDeg, label, static_cast<int>(start),
                              static_cast<int>(groups.size()));
    std::sort(group.spots.begin(), group.spots.end());
    MeasureGroup(group, spots);
    groups.push_back(group);
  }
  std::stable_sort(groups.begin(), groups.end(), [](const SpotGroup& a, const SpotGroup& b) {
    return a.cmDistanceDeg < b.cmDistanceDeg;
  });
  for (std::size_t i = 0; i < groups.size(); ++i) {
    SpotGroup& group = groups[i];
    group.number = static_cast<int>(i) + 1;
    for (const int index : group.spots) spots[index].group = group.number;
    group.zurichClass = ZurichClassOf(group, spots);
    group.mcIntoshClass = McIntoshClassOf(group, spots);
  }
  return groups;
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
