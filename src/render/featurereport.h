// What helidisk-render prints about a feature carried through time: a
// feature given by --feature, or the point under the --locate pixel, at the
// --rotate-to instant by the chosen rotation law.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "astronom.h"
#include "featurerotation.h"
#include "redraw.h"
#include "renderoptions.h"
#include "sun.h"

namespace helidisk {

struct RotatedFeature {
  std::string model;
  CalendarInstant instant;  // UT
  double julianDay = 0;
  // The days from the run's instant to this one; negative back in time.
  double days = 0;
  FeatureOnDisk seen;
  // The disk of the picture at this instant, whose pixel `seen` gives: its
  // radius follows the Sun's distance then.
  double diskCentreXPx = 0;
  double diskCentreYPx = 0;
  double diskRadiusPx = 0;
  FeatureCrossings crossings;
};

struct FeatureReport {
  // Under the located pixel rather than given by --feature.
  bool fromPixel = false;
  // Empty when the located pixel is off the disk.
  std::optional<RotatedFeature> rotated;
};

// The frame of the picture at another instant, from that instant's
// ephemeris: an observer's image keeps its disk and camera, the drawn disk
// is drawn anew.
using FrameAtInstant = std::function<DiskFrame(const SunEphemeris& sun)>;

// Empty unless the options give --feature, or --locate with --rotate-to.
// `atStart` is the redraw at the run's instant, its frame the picture's;
// the redraw at the --rotate-to instant is run here, and its frame is the
// drawn disk's unless `frameAt` gives another.  Raises RunError where that
// redraw does.
std::optional<FeatureReport> FeatureReportOf(const RenderOptions& options,
                                             const RedrawResult& atStart,
                                             const FrameAtInstant& frameAt = {});

// "utc", "jd", "days", "model", "latitude_deg", "longitude_deg",
// "cm_distance_deg", "mu", "x", "y", "visible", "disk_cx", "disk_cy",
// "disk_radius", "central_meridian_utc",
// "central_meridian_jd", "west_limb_utc", "west_limb_jd" (null where there
// is no crossing).
nlohmann::ordered_json RotatedFeatureJson(const RotatedFeature& feature);

// The same as "name: value" lines, each name after `prefix`; "-" where
// there is no crossing.
std::string RotatedFeatureText(const RotatedFeature& feature, const std::string& prefix);

// The report into the run's JSON object: "feature", or "rotated" inside
// "point" (null off the disk).
void AddFeatureJson(nlohmann::ordered_json& json, const FeatureReport& report);

// The report as lines: the feature's, or the located point's after
// "rotated_" ("rotated: -" off the disk).
std::string FeatureText(const FeatureReport& report);

}  // namespace helidisk
