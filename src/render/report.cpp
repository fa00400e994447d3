#include "report.h"

#include <array>
#include <nlohmann/json.hpp>
#include <utility>

#include "ephemerisrecord.h"
#include "recordjson.h"
#include "textfields.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

using Json = nlohmann::ordered_json;

// The quantities of a located point, by name; empty where undefined.
std::array<std::pair<const char*, std::optional<double>>, 6> PointQuantities(
    const LocatedPoint& point) {
  const auto onDisk = [&point](double value) {
    return point.onDisk ? std::optional<double>(value) : std::nullopt;
  };
  return {{{"latitude_deg", onDisk(point.latitudeRad * RadToDeg)},
           {"longitude_deg", onDisk(point.longitudeRad * RadToDeg)},
           {"cm_distance_deg", onDisk(point.cmDistanceRad * RadToDeg)},
           {"mu", onDisk(point.mu)},
           {"rho", point.rho},
           {"position_angle_deg", point.positionAngleRad * RadToDeg}}};
}

Json PointJson(const PixelQuery& pixel, const LocatedPoint& point) {
  Json json = {{"x", pixel.x}, {"y", pixel.y}, {"on_disk", point.onDisk}};
  for (const auto& [name, value] : PointQuantities(point)) {
    json[name] = value ? Json(*value) : Json(nullptr);
  }
  return json;
}

}  // namespace

std::string LocateText(const PixelQuery& pixel, const LocatedPoint& point) {
  std::string text = "x: " + ExactNumber(pixel.x) + "\ny: " + ExactNumber(pixel.y) +
                     "\non_disk: " + (point.onDisk ? "true" : "false") + "\n";
  for (const auto& [name, value] : PointQuantities(point)) {
    text += std::string(name) + ": " + (value ? ExactNumber(*value) : "-") + "\n";
  }
  return text;
}

std::string JsonText(const RedrawResult& result, Orientation orientation,
                     const std::optional<PixelQuery>& pixel,
                     const std::optional<ImageReport>& image,
                     const std::optional<FeatureReport>& feature) {
  Json json = RecordJson(EphemerisRecordOf(result.instant, result.sun));
  json["orientation"] = OrientationName(orientation);
  json["ephemeris"] = EphemerisTheoryName(result.ephemeris.theory);
  json["aberration"] = result.ephemeris.stellarAberration;
  json["disk"] = {{"cx", result.frame.centreXPx},
                  {"cy", result.frame.centreYPx},
                  {"radius", result.frame.radiusPx}};
  if (image) {
    json["image"] = {
        {"width", image->widthPx},
        {"height", image->heightPx},
        {"cx", image->centreXPx},
        {"cy", image->centreYPx},
        {"radius", image->radiusPx},
        {"rotation_deg", image->rotationDeg},
        {"source", image->fromHeader ? "header" : "fit"},
        {"fit_rms_px", image->fitRmsPx},
        {"pixels", "x to the right, y downward, 0,0 the centre of the top-left pixel"},
    };
  }
  if (pixel) json["point"] = PointJson(*pixel, Locate(result.frame, pixel->x, pixel->y));
  if (feature) AddFeatureJson(json, *feature);
  return json.dump(2) + "\n";
}

}  // namespace helidisk
