// The day's sunspot observation as observers report it: CSV rows per spot
// and per group, a JSON object, the daily report line and the month file
// that collects the lines.  The formats are described in the README
// ("Sunspot report").
#pragma once

#include <array>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "spotdetect.h"
#include "spotgroups.h"

namespace helidisk {

inline constexpr std::array<const char*, 14> kSpotColumns = {"group",
                                                             "spot",
                                                             "x_px",
                                                             "y_px",
                                                             "latitude_deg",
                                                             "longitude_deg",
                                                             "cm_distance_deg",
                                                             "mu",
                                                             "position_angle_deg",
                                                             "area_msh",
                                                             "umbra_area_msh",
                                                             "umbrae",
                                                             "counted_spots",
                                                             "partial"};

inline constexpr std::array<const char*, 13> kGroupColumns = {
    "group",           "hemisphere",           "latitude_deg", "longitude_deg",
    "cm_distance_deg", "longitude_extent_deg", "spots",        "area_msh",
    "zurich",          "zurich_source",        "mcintosh",     "mcintosh_source",
    "region"};

// Who gave a group its class: "observer" or "proposed".
const char* ClassSource(bool chosen);

// One record a spot (numbered from 1 in the detection's order), header
// first; RFC 4180, numbers exact with a full stop.
std::string SpotsCsv(const std::vector<DetectedSpot>& spots);
std::string GroupsCsv(const std::vector<SpotGroup>& groups);

// "spots", "groups" and "counts" of the observation, the spots' and
// groups' fields named as the CSV columns, each spot with its umbrae.
nlohmann::ordered_json SpotsJson(const std::vector<DetectedSpot>& spots);
nlohmann::ordered_json GroupsJson(const std::vector<SpotGroup>& groups);
// {"g", "f", "R", "k", "kR", "north": {"g", "f", "R"}, "south": {...}}
nlohmann::ordered_json CountsJson(const SunspotCounts& counts);

// The line an observer sends for a day.
struct DailyReport {
  std::string date;  // YYYY-MM-DD, UT
  std::string ut;    // HH:MM
  // The seeing on the observer's scale, 1 (excellent) to 5 (very poor);
  // empty where not judged.
  std::optional<int> seeing;
  SunspotCounts counts;
  std::string observerCode;
};

inline constexpr std::array<const char*, 12> kDailyReportColumns = {
    "Date", "UT", "Seeing", "g", "f", "R", "Ng", "Nf", "Sg", "Sf", "k", "Obs"};

// The header line of a month file and daily reports, CSV.
std::string DailyReportHeader();
std::string DailyReportLine(const DailyReport& report);

// The month file with the day's line added, or put in place of the line
// of the same date, time and observer; the lines kept in order of date and
// time.  An empty text starts a new file.  Raises SpotError for a text
// that is not such a file (another header), which is left as it is.
std::string MergeIntoMonthFile(const std::string& monthFile, const DailyReport& report);

}  // namespace helidisk
