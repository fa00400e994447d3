#include "diskframe.h"

#include <cmath>

namespace helidisk {

DiskFrame TurnedDiskFrame(double centreXPx, double centreYPx, double radiusPx, double l0Rad,
                          double b0Rad, double turnRad) {
  DiskFrame frame;
  frame.centreXPx = centreXPx;
  frame.centreYPx = centreYPx;
  frame.radiusPx = radiusPx;
  frame.sinL0 = std::sin(l0Rad);
  frame.cosL0 = std::cos(l0Rad);
  frame.sinB0 = std::sin(b0Rad);
  frame.cosB0 = std::cos(b0Rad);
  const double sinTurn = std::sin(turnRad);
  const double cosTurn = std::cos(turnRad);
  frame.xx = cosTurn;
  frame.xy = -sinTurn;
  frame.yx = sinTurn;
  frame.yy = cosTurn;
  return frame;
}

ProjectedPoint Project(const DiskFrame& frame, double longitudeRad, double latitudeRad) {
  // Body frame: x toward longitude 90 deg, y along the north rotation axis,
  // z toward longitude 0 deg.
  const double cosLatitude = std::cos(latitudeRad);
  const double bodyX = cosLatitude * std::sin(longitudeRad);
  const double bodyY = std::sin(latitudeRad);
  const double bodyZ = cosLatitude * std::cos(longitudeRad);

  // Turned about the axis by L0: z now lies in the observer's meridian.
  const double meridianX = bodyX * frame.cosL0 - bodyZ * frame.sinL0;
  const double meridianZ = bodyX * frame.sinL0 + bodyZ * frame.cosL0;

  // Tilted by B0: z now points at the observer.
  const double tiltedY = bodyY * frame.cosB0 - meridianZ * frame.sinB0;
  const double tiltedZ = bodyY * frame.sinB0 + meridianZ * frame.cosB0;

  const double skyX = meridianX * frame.xx + tiltedY * frame.xy;
  const double skyY = meridianX * frame.yx + tiltedY * frame.yy;
  return {frame.centreXPx + frame.radiusPx * skyX, frame.centreYPx - frame.radiusPx * skyY,
          tiltedZ};
}

}  // namespace helidisk
