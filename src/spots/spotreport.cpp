#include "spotreport.h"

#include <algorithm>
#include <sstream>

#include "textfields.h"

namespace helidisk {

namespace {

using Json = nlohmann::ordered_json;

std::vector<std::string> Header(const auto& columns) { return {columns.begin(), columns.end()}; }

std::string HemisphereName(Hemisphere hemisphere) {
  return hemisphere == Hemisphere::North ? "N" : "S";
}

std::vector<std::string> SpotFields(const DetectedSpot& spot, int number) {
  const SpotPlace& place = spot.place;
  return {std::to_string(spot.group),
          std::to_string(number),
          ExactNumber(place.xPx),
          ExactNumber(place.yPx),
          ExactNumber(place.latitudeDeg),
          ExactNumber(place.longitudeDeg),
          ExactNumber(place.cmDistanceDeg),
          ExactNumber(place.mu),
          ExactNumber(place.positionAngleDeg),
          ExactNumber(spot.areaMsh),
          ExactNumber(spot.umbraAreaMsh),
          std::to_string(spot.umbrae.size()),
          std::to_string(spot.CountedSpots()),
          spot.partial ? "true" : "false"};
}

std::vector<std::string> GroupFields(const SpotGroup& group) {
  return {std::to_string(group.number),
          HemisphereName(group.hemisphere),
          ExactNumber(group.latitudeDeg),
          ExactNumber(group.longitudeDeg),
          ExactNumber(group.cmDistanceDeg),
          ExactNumber(group.longitudeExtentDeg),
          std::to_string(group.countedSpots),
          ExactNumber(group.areaMsh),
          std::string(1, group.zurichClass),
          ClassSource(group.zurichChosen),
          group.mcIntoshClass,
          ClassSource(group.mcIntoshChosen),
          group.region > 0 ? std::to_string(group.region) : std::string()};
}

Json PlaceJson(const SpotPlace& place) {
  return {{"x_px", place.xPx},
          {"y_px", place.yPx},
          {"latitude_deg", place.latitudeDeg},
          {"longitude_deg", place.longitudeDeg},
          {"cm_distance_deg", place.cmDistanceDeg},
          {"mu", place.mu},
          {"position_angle_deg", place.positionAngleDeg}};
}

Json HemisphereJson(const HemisphereCounts& counts) {
  return {{"g", counts.g}, {"f", counts.f}, {"R", counts.R()}};
}

// The record's date, time, observer: what identifies a line in a month
// file.
std::string KeyOf(const std::vector<std::string>& fields) {
  return fields.size() < kDailyReportColumns.size()
             ? std::string()
             : fields[0] + " " + fields[1] + " " + fields.back();
}

std::vector<std::string> SplitPlainCsv(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, ',')) fields.push_back(field);
  if (!line.empty() && line.back() == ',') fields.emplace_back();
  return fields;
}

std::string WithoutLineEnd(std::string line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return line;
}

}  // namespace

std::string SpotsCsv(const std::vector<DetectedSpot>& spots) {
  std::string csv = CsvRecord(Header(kSpotColumns));
  for (std::size_t i = 0; i < spots.size(); ++i) {
    csv += CsvRecord(SpotFields(spots[i], static_cast<int>(i) + 1));
  }
  return csv;
}

std::string GroupsCsv(const std::vector<SpotGroup>& groups) {
  std::string csv = CsvRecord(Header(kGroupColumns));
  for (const SpotGroup& group : groups) csv += CsvRecord(GroupFields(group));
  return csv;
}

Json SpotsJson(const std::vector<DetectedSpot>& spots) {
  Json array = Json::array();
  for (std::size_t i = 0; i < spots.size(); ++i) {
    const DetectedSpot& spot = spots[i];
    Json json = {{"group", spot.group}, {"spot", i + 1}};
    json.update(PlaceJson(spot.place));
    json["pixels"] = spot.pixels;
    json["area_msh"] = spot.areaMsh;
    json["umbra_area_msh"] = spot.umbraAreaMsh;
    json["counted_spots"] = spot.CountedSpots();
    json["partial"] = spot.partial;
    Json umbrae = Json::array();
    for (const Umbra& umbra : spot.umbrae) {
      Json entry = PlaceJson(umbra.place);
      entry["pixels"] = umbra.pixels;
      entry["area_msh"] = umbra.areaMsh;
      umbrae.push_back(entry);
    }
    json["umbrae"] = umbrae;
    array.push_back(json);
  }
  return array;
}

const char* ClassSource(bool chosen) { return chosen ? "observer" : "proposed"; }

Json GroupsJson(const std::vector<SpotGroup>& groups) {
  Json array = Json::array();
  for (const SpotGroup& group : groups) {
    Json spots = Json::array();
    for (const int index : group.spots) spots.push_back(index + 1);
    array.push_back({{"group", group.number},
                     {"hemisphere", HemisphereName(group.hemisphere)},
                     {"latitude_deg", group.latitudeDeg},
                     {"longitude_deg", group.longitudeDeg},
                     {"cm_distance_deg", group.cmDistanceDeg},
                     {"longitude_extent_deg", group.longitudeExtentDeg},
                     {"spots", group.countedSpots},
                     {"area_msh", group.areaMsh},
                     {"zurich", std::string(1, group.zurichClass)},
                     {"zurich_source", ClassSource(group.zurichChosen)},
                     {"mcintosh", group.mcIntoshClass},
                     {"mcintosh_source", ClassSource(group.mcIntoshChosen)},
                     {"region", group.region > 0 ? Json(group.region) : Json(nullptr)},
                     {"members", spots}});
  }
  return array;
}

Json CountsJson(const SunspotCounts& counts) {
  Json json = HemisphereJson(counts.whole);
  json["k"] = counts.k;
  json["kR"] = counts.ScaledR();
  json["north"] = HemisphereJson(counts.north);
  json["south"] = HemisphereJson(counts.south);
  return json;
}

std::string DailyReportHeader() { return CsvRecord(Header(kDailyReportColumns)); }

std::string DailyReportLine(const DailyReport& report) {
  const SunspotCounts& c = report.counts;
  return CsvRecord({report.date, report.ut, report.seeing ? std::to_string(*report.seeing) : "",
                    std::to_string(c.whole.g), std::to_string(c.whole.f),
                    std::to_string(c.whole.R()), std::to_string(c.north.g),
                    std::to_string(c.north.f), std::to_string(c.south.g), std::to_string(c.south.f),
                    ExactNumber(c.k), report.observerCode});
}

std::string MergeIntoMonthFile(const std::string& monthFile, const DailyReport& report) {
  const std::string header = DailyReportHeader();
  std::vector<std::string> lines;
  if (!monthFile.empty()) {
    std::stringstream stream(monthFile);
    std::string line;
    std::getline(stream, line);
    if (WithoutLineEnd(line) != WithoutLineEnd(header)) {
      throw SpotError("not a month file of daily sunspot reports: its first line is not \"" +
                      WithoutLineEnd(header) + "\"");
    }
    while (std::getline(stream, line)) {
      line = WithoutLineEnd(line);
      if (line.empty()) continue;
      if (SplitPlainCsv(line).size() != kDailyReportColumns.size()) {
        throw SpotError("the month file has a damaged line: \"" + line + "\"");
      }
      lines.push_back(line + "\r\n");
    }
  }
  const std::string added = DailyReportLine(report);
  const std::string key = KeyOf(SplitPlainCsv(WithoutLineEnd(added)));
  std::erase_if(lines, [&](const std::string& line) {
    return KeyOf(SplitPlainCsv(WithoutLineEnd(line))) == key;
  });
  lines.push_back(added);
  // Date and time lead every line in fixed widths: text order is time order.
  std::stable_sort(lines.begin(), lines.end());
  std::string text = header;
  for (const std::string& line : lines) text += line;
  return text;
}

}  // namespace helidisk
