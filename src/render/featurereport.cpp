#include "featurereport.h"

#include <utility>
#include <vector>

#include "ephemerisrecord.h"
#include "renderrun.h"
#include "solarrotation.h"
#include "textfields.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

using Json = nlohmann::ordered_json;

// The options of a run at the other instant: the same picture control and
// orientation, so that the pixel means the same.
RenderOptions OptionsAt(const RenderOptions& options, const YearHours& instant) {
  RenderOptions moved = options;
  moved.year = instant.year;
  moved.hourPosition = instant.hours;
  return moved;
}

std::optional<HeliographicPosition> StartingPosition(const RenderOptions& options,
                                                     const RedrawResult& atStart) {
  if (options.feature) return options.feature;
  const LocatedPoint point = Locate(atStart.frame, options.locate->x, options.locate->y);
  if (!point.onDisk) return std::nullopt;
  return HeliographicPosition{point.latitudeRad * RadToDeg, point.longitudeRad * RadToDeg};
}

std::optional<std::string> UtcOf(const std::optional<double>& julianDay) {
  if (!julianDay) return std::nullopt;
  return UtcMinuteText(CalendarInstantOf(*julianDay));
}

// The figures by name, numbers and texts as JSON values; null where there
// is no crossing.
std::vector<std::pair<const char*, Json>> Fields(const RotatedFeature& feature) {
  const auto orNull = [](const auto& value) { return value ? Json(*value) : Json(nullptr); };
  const FeatureCrossings& crossings = feature.crossings;
  return {{"utc", UtcMinuteText(feature.instant)},
          {"jd", feature.julianDay},
          {"days", feature.days},
          {"model", feature.model},
          {"latitude_deg", feature.seen.latitudeDeg},
          {"longitude_deg", feature.seen.longitudeDeg},
          {"cm_distance_deg", feature.seen.cmDistanceDeg},
          {"mu", feature.seen.mu},
          {"x", feature.seen.xPx},
          {"y", feature.seen.yPx},
          {"visible", feature.seen.visible},
          {"central_meridian_utc", orNull(UtcOf(crossings.centralMeridianJulianDay))},
          {"central_meridian_jd", orNull(crossings.centralMeridianJulianDay)},
          {"west_limb_utc", orNull(UtcOf(crossings.westLimbJulianDay))},
          {"west_limb_jd", orNull(crossings.westLimbJulianDay)}};
}

std::string ValueText(const Json& value) {
  if (value.is_null()) return "-";
  if (value.is_string()) return value.get<std::string>();
  if (value.is_boolean()) return value.get<bool>() ? "true" : "false";
  return ExactNumber(value.get<double>());
}

}  // namespace

std::optional<FeatureReport> FeatureReportOf(const RenderOptions& options,
                                             const RedrawResult& atStart) {
  if (!options.feature && !(options.locate && options.rotateTo)) return std::nullopt;
  FeatureReport report;
  report.fromPixel = !options.feature;
  const std::optional<HeliographicPosition> start = StartingPosition(options, atStart);
  if (!start) return report;

  const RedrawResult atEnd =
      options.rotateTo ? InstantResultsOf(OptionsAt(options, *options.rotateTo)) : atStart;
  const RotationModel& model = *RotationModelNamed(options.rotationModel);
  RotatedFeature rotated;
  rotated.model = options.rotationModel;
  rotated.instant = atEnd.instant;
  rotated.julianDay = atEnd.sun.julianDay;
  rotated.days = atEnd.sun.julianDay - atStart.sun.julianDay;
  const HeliographicPosition there = RotatedPosition(model, *start, rotated.days);
  rotated.seen = FeatureOnDiskOf(there, atEnd.frame);
  rotated.crossings = NextCrossings(model, there, rotated.julianDay);
  report.rotated = rotated;
  return report;
}

Json RotatedFeatureJson(const RotatedFeature& feature) {
  Json json = Json::object();
  for (auto& [name, value] : Fields(feature)) json[name] = std::move(value);
  return json;
}

std::string RotatedFeatureText(const RotatedFeature& feature, const std::string& prefix) {
  std::string text;
  for (const auto& [name, value] : Fields(feature)) {
    text += prefix + name + ": " + ValueText(value) + "\n";
  }
  return text;
}

void AddFeatureJson(Json& json, const FeatureReport& report) {
  if (!report.fromPixel) {
    json["feature"] = RotatedFeatureJson(*report.rotated);
    return;
  }
  json["point"]["rotated"] = report.rotated ? RotatedFeatureJson(*report.rotated) : Json(nullptr);
}

std::string FeatureText(const FeatureReport& report) {
  if (!report.fromPixel) return RotatedFeatureText(*report.rotated, "");
  return report.rotated ? RotatedFeatureText(*report.rotated, "rotated_") : "rotated: -\n";
}

}  // namespace helidisk
