#include "spotedit.h"

#include <algorithm>
#include <set>

namespace helidisk {

namespace {

std::set<int> ValidIndices(const std::vector<DetectedSpot>& spots,
                           const std::vector<int>& indices) {
  std::set<int> valid;
  for (const int index : indices) {
    if (index >= 0 && static_cast<std::size_t>(index) < spots.size()) valid.insert(index);
  }
  return valid;
}

int UnusedGroupNumber(const std::vector<DetectedSpot>& spots) {
  int largest = 0;
  for (const DetectedSpot& spot : spots) largest = std::max(largest, spot.group);
  return largest + 1;
}

}  // namespace

std::vector<SpotGroup> RemoveSpots(std::vector<DetectedSpot>& spots,
                                   const std::vector<int>& indices) {
  const std::set<int> valid = ValidIndices(spots, indices);
  std::vector<DetectedSpot> kept;
  for (std::size_t i = 0; i < spots.size(); ++i) {
    if (valid.count(static_cast<int>(i)) == 0) kept.push_back(spots[i]);
  }
  spots = kept;
  return GroupsAsAssigned(spots);
}

std::vector<SpotGroup> MergeGroupsOf(std::vector<DetectedSpot>& spots,
                                     const std::vector<int>& indices) {
  const std::set<int> valid = ValidIndices(spots, indices);
  if (valid.empty()) return GroupsAsAssigned(spots);
  std::set<int> merged;
  for (const int index : valid) merged.insert(spots[index].group);
  const int into = UnusedGroupNumber(spots);
  for (DetectedSpot& spot : spots) {
    if (merged.count(spot.group) != 0) spot.group = into;
  }
  for (const int index : valid) spots[index].group = into;
  return GroupsAsAssigned(spots);
}

std::vector<SpotGroup> SplitIntoNewGroup(std::vector<DetectedSpot>& spots,
                                         const std::vector<int>& indices) {
  const int into = UnusedGroupNumber(spots);
  // The group split off is a new one: the region number stays behind.
  for (const int index : ValidIndices(spots, indices)) {
    spots[index].group = into;
    spots[index].region = 0;
  }
  return GroupsAsAssigned(spots);
}

std::vector<SpotGroup> AddSpotAt(std::vector<DetectedSpot>& spots, const DiskFrame& frame,
                                 double xPx, double yPx, double areaMsh, bool pore,
                                 double linkDistanceDeg) {
  if (!Locate(frame, xPx, yPx).onDisk) return GroupsAsAssigned(spots);
  DetectedSpot spot;
  spot.place = PlaceOf(frame, xPx, yPx);
  spot.areaMsh = areaMsh;
  if (!pore) spot.umbrae.push_back({spot.place, 0, 0});
  double nearest = linkDistanceDeg;
  spot.group = UnusedGroupNumber(spots);
  for (const DetectedSpot& other : spots) {
    const double distance = HeliographicDistanceDeg(other.place, spot.place);
    if (distance <= nearest) {
      nearest = distance;
      spot.group = other.group;
    }
  }
  spots.push_back(spot);
  return GroupsAsAssigned(spots);
}

}  // namespace helidisk
