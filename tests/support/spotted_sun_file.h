// A generated spotted Sun as an observer's file: the disk as the sky shows
// it (north up, east left) at an instant, spots given by their place
// relative to the central meridian, written as an 8-bit grey PNG.
#pragma once

#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <vector>

#include "astronom.h"
#include "diskframe.h"
#include "heliographic_sun.h"
#include "sun.h"

namespace helidisk::fakes {

// The instant every generated file is taken at, for --at.
inline constexpr const char* kSpottedSunInstant = "2026-06-15T10:30";

inline SunEphemeris SpottedSunEphemeris() {
  double julianDay = 0;
  DateToJulianDay(2026, 6, 15, 10, 30, 0, julianDay);
  return ComputeSun(julianDay);
}

// The frame of a disk centred on an image of `sidePx` square.
inline DiskFrame SpottedSunFrame(int sidePx, double radiusPx) {
  const SunEphemeris sun = SpottedSunEphemeris();
  const double centre = (sidePx - 1) / 2.0;
  return OrientedDiskFrame(centre, centre, radiusPx, sun.l0Rad, sun.b0Rad, sun.pRad,
                           Orientation::Sky);
}

// A spot `cmdDeg` west of the central meridian at the instant.
inline CapSpot SpotFromCentralMeridian(double cmdDeg, double latitudeDeg, double areaMsh,
                                       double umbraShare = 0.2) {
  const double l0Deg = SpottedSunEphemeris().l0Rad * RadToDeg;
  return {latitudeDeg, std::fmod(l0Deg + cmdDeg + 360, 360), areaMsh, umbraShare};
}

inline QImage GreyPicture(const GreyImage& grey) {
  QImage image(grey.widthPx, grey.heightPx, QImage::Format_Grayscale8);
  for (int y = 0; y < grey.heightPx; ++y) {
    uchar* row = image.scanLine(y);
    for (int x = 0; x < grey.widthPx; ++x) {
      row[x] = static_cast<uchar>(std::clamp(std::lround(grey.At(x, y)), 0L, 255L));
    }
  }
  return image;
}

// A day of moderate activity: a bipolar group, a large single spot, a
// compact cluster, pores, and a spot near the east limb.
inline std::vector<CapSpot> ActiveDaySpots() {
  return {SpotFromCentralMeridian(-20, 15, 350),   SpotFromCentralMeridian(-12, 13, 180),
          SpotFromCentralMeridian(-16, 14, 15, 0), SpotFromCentralMeridian(25, -12, 600),
          SpotFromCentralMeridian(40, 22, 60),     SpotFromCentralMeridian(41.5, 21, 25, 0),
          SpotFromCentralMeridian(-65, -18, 250),  SpotFromCentralMeridian(5, -25, 20, 0)};
}

// The whole picture: disk radius 0.45 of the side.
inline bool WriteSpottedSun(const QString& path, int sidePx, const std::vector<CapSpot>& spots,
                            double noise = 1) {
  const DiskFrame frame = SpottedSunFrame(sidePx, 0.45 * sidePx);
  return GreyPicture(HeliographicSun(frame, sidePx, sidePx, spots, noise)).save(path, "PNG");
}

}  // namespace helidisk::fakes
