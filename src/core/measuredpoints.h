// Points an observer measured on the picture: where they lie on the Sun at
// the instant of the measurement, and the list as CSV or tab-separated text.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "astronom.h"
#include "carrington.h"
#include "diskframe.h"

namespace helidisk {

struct MeasuredPoint {
  CalendarInstant instant;  // UT
  double julianDay = 0;
  // The pixel of the picture: x to the right, y downward, (0, 0) the centre
  // of the top-left pixel.
  double xPx = 0;
  double yPx = 0;
  LocatedPoint located;
  CarringtonRotation rotation;
};

// The column names, in order: utc, x_px, y_px, latitude_deg, longitude_deg,
// cm_distance_deg, mu, position_angle_deg, carrington_rotation.
inline constexpr std::array<const char*, 9> kMeasuredPointColumns = {"utc",
                                                                     "x_px",
                                                                     "y_px",
                                                                     "latitude_deg",
                                                                     "longitude_deg",
                                                                     "cm_distance_deg",
                                                                     "mu",
                                                                     "position_angle_deg",
                                                                     "carrington_rotation"};

// A point's fields in full precision, those a point off the disk does not
// have empty.
std::vector<std::string> MeasuredPointFields(const MeasuredPoint& point);

// The points measured in one session, in the order measured, and whether
// the user has them in a file.
class MeasuredPointsLog {
 public:
  const std::vector<MeasuredPoint>& Points() const { return points_; }
  void Add(const MeasuredPoint& point);
  // Deletes the table's rows named, in any order and each once; rows that
  // are not there are left alone.
  void Delete(const std::vector<int>& rows);
  // True while points are measured that no file holds.
  bool Unsaved() const { return !saved_; }
  void MarkSaved() { saved_ = true; }

 private:
  std::vector<MeasuredPoint> points_;
  bool saved_ = true;
};

// A header line and one record a point.
std::string MeasuredPointsCsv(const std::vector<MeasuredPoint>& points);
std::string MeasuredPointsTabSeparated(const std::vector<MeasuredPoint>& points);

}  // namespace helidisk
