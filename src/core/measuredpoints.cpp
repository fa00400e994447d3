#include "measuredpoints.h"

#include <algorithm>
#include <functional>

#include "ephemerisrecord.h"
#include "textfields.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

std::vector<std::string> Header() {
  return {kMeasuredPointColumns.begin(), kMeasuredPointColumns.end()};
}

}  // namespace

std::vector<std::string> MeasuredPointFields(const MeasuredPoint& point) {
  const LocatedPoint& located = point.located;
  const auto onDisk = [&located](double value) {
    return located.onDisk ? ExactNumber(value) : std::string();
  };
  return {UtcMinuteText(point.instant),
          ExactNumber(point.xPx),
          ExactNumber(point.yPx),
          onDisk(located.latitudeRad * RadToDeg),
          onDisk(located.longitudeRad * RadToDeg),
          onDisk(located.cmDistanceRad * RadToDeg),
          onDisk(located.mu),
          ExactNumber(located.positionAngleRad * RadToDeg),
          std::to_string(point.rotation.number)};
}

std::string MeasuredPointsCsv(const std::vector<MeasuredPoint>& points) {
  std::string csv = CsvRecord(Header());
  for (const MeasuredPoint& point : points) csv += CsvRecord(MeasuredPointFields(point));
  return csv;
}

std::string MeasuredPointsTabSeparated(const std::vector<MeasuredPoint>& points) {
  std::string text = TabSeparatedLine(Header());
  for (const MeasuredPoint& point : points) text += TabSeparatedLine(MeasuredPointFields(point));
  return text;
}

void MeasuredPointsLog::Add(const MeasuredPoint& point) {
  points_.push_back(point);
  saved_ = false;
}

void MeasuredPointsLog::Delete(const std::vector<int>& rows) {
  std::vector<int> doomed = rows;
  // From the last row up, so that the rows still to go keep their places.
  std::sort(doomed.begin(), doomed.end(), std::greater<>());
  doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
  for (const int row : doomed) {
    if (row >= 0 && row < static_cast<int>(points_.size())) points_.erase(points_.begin() + row);
  }
  // What is left differs from any file written before; nothing left is
  // nothing to lose.
  saved_ = points_.empty();
}

}  // namespace helidisk
