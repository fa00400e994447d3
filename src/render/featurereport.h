// What helidisk-render prints about a feature carried through time: a
// feature given by --feature, or the point under the --locate pixel, at the
// --rotate-to instant by the chosen rotation law.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "astronom.h"
#include "featurerotation.h"
#include "redraw.h"
#include "renderoptions.h"

namespace helidisk {

struct RotatedFeature {
  std::string model;
  CalendarInstant instant;  // UT
  double julianDay = 0;
  // The days from the run's instant to this one; negative back in time.
  double days = 0;
  FeatureOnDisk seen;
  FeatureCrossings crossings;
};

struct FeatureReport {
  // Under the located pixel rather than given by --feature.
  bool fromPixel = false;
  // Empty when the located pixel is off the disk.
  std::optional<RotatedFeature> rotated;
};

// Empty unless the options give --feature, or --locate with --rotate-to.
// `atStart` is the redraw at the run's instant; the redraw at the
// --rotate-to instant is run here.  Raises RunError where that redraw does.
std::optional<FeatureReport> FeatureReportOf(const RenderOptions& options,
                                             const RedrawResult& atStart);

// "utc", "jd", "days", "model", "latitude_deg", "longitude_deg",
// "cm_distance_deg", "mu", "x", "y", "visible", "central_meridian_utc",
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
