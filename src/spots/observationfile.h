// The observation file: one day's sunspot observation as the window saves
// and reopens it and helidisk-render --observation writes it.  A JSON
// object (described in the README, "Sunspot report"):
//   "format": "helidisk sunspot observation", "version": 1,
//   "image": {"path", "sha256", "width", "height"},
//   "time": {"utc", "jd"},
//   "disk": {"cx", "cy", "radius", "p_deg", "b0_deg", "l0_deg",
//            "orientation", "rotation_deg"},
//   "detection": {"penumbra", "umbra", "min_spot_px", "min_umbra_px",
//                 "group_distance_deg"},
//   "spots": [...], "groups": [...], "counts": {...} as in the reports,
//   "observer", "seeing" (1 ... 5 or null), "notes".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "spotdetect.h"
#include "spotgroups.h"

namespace helidisk {

inline constexpr const char* kObservationFormat = "helidisk sunspot observation";
inline constexpr int kObservationVersion = 2;

struct ObservedDisk {
  double centreXPx = 0;
  double centreYPx = 0;
  double radiusPx = 0;
  double pDeg = 0;
  double b0Deg = 0;
  double l0Deg = 0;
  std::string orientation;
  double rotationDeg = 0;
};

struct SunspotObservation {
  std::string imagePath;
  std::string imageSha256;  // lower-case hexadecimal
  int imageWidthPx = 0;
  int imageHeightPx = 0;
  std::string utc;  // YYYY-MM-DDTHH:MMZ
  double julianDay = 0;
  ObservedDisk disk;
  DetectionSettings detection;
  double linkDistanceDeg = kDefaultLinkDistanceDeg;
  std::vector<DetectedSpot> spots;
  std::vector<SpotGroup> groups;
  SunspotCounts counts;
  std::string observerCode;
  std::optional<int> seeing;
  std::string notes;
};

std::string ObservationText(const SunspotObservation& observation);

// Raises SpotError, saying what is wrong, for a text that is no JSON, not
// an observation file, of a later version, or damaged (a field missing or
// of the wrong kind, a group naming a spot that is not there).
SunspotObservation ParseObservation(const std::string& text);

}  // namespace helidisk
