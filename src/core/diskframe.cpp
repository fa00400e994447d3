#include "diskframe.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace helidisk {

std::string OrientationName(Orientation orientation) {
  switch (orientation) {
    case Orientation::Sky:
      return "sky";
    case Orientation::Mirror:
      return "mirror";
    case Orientation::Inverted:
      return "inverted";
    case Orientation::InvertedMirror:
      return "inverted-mirror";
    case Orientation::SolarNorth:
      return "solar-north";
  }
  return {};
}

std::optional<Orientation> OrientationNamed(const std::string& name) {
  for (const Orientation orientation : kOrientations) {
    if (OrientationName(orientation) == name) return orientation;
  }
  return std::nullopt;
}

void OrientSkyPlane(DiskFrame& frame, double sinP, double cosP, Orientation orientation) {
  frame.sinP = sinP;
  frame.cosP = cosP;
  if (orientation == Orientation::SolarNorth) {
    frame.xx = 1;
    frame.xy = 0;
    frame.yx = 0;
    frame.yy = 1;
    return;
  }
  // Turned by P: sx = tx cos P - ty sin P, sy = tx sin P + ty cos P.
  frame.xx = cosP;
  frame.xy = -sinP;
  frame.yx = sinP;
  frame.yy = cosP;
  // The instruments reflect the sky view about the vertical through the
  // disk centre (x), the horizontal (y), or both: a turn by 180 deg.
  const bool reflectX = orientation == Orientation::Mirror || orientation == Orientation::Inverted;
  const bool reflectY =
      orientation == Orientation::Inverted || orientation == Orientation::InvertedMirror;
  if (reflectX) {
    frame.xx = -frame.xx;
    frame.xy = -frame.xy;
  }
  if (reflectY) {
    frame.yx = -frame.yx;
    frame.yy = -frame.yy;
  }
}

DiskFrame OrientedDiskFrame(double centreXPx, double centreYPx, double radiusPx, double l0Rad,
                            double b0Rad, double pRad, Orientation orientation,
                            double extraTurnRad) {
  DiskFrame frame;
  frame.centreXPx = centreXPx;
  frame.centreYPx = centreYPx;
  frame.radiusPx = radiusPx;
  frame.l0Rad = l0Rad;
  frame.sinL0 = std::sin(l0Rad);
  frame.cosL0 = std::cos(l0Rad);
  frame.sinB0 = std::sin(b0Rad);
  frame.cosB0 = std::cos(b0Rad);
  OrientSkyPlane(frame, std::sin(pRad), std::cos(pRad), orientation);
  if (extraTurnRad != 0) {
    const double sinTurn = std::sin(extraTurnRad);
    const double cosTurn = std::cos(extraTurnRad);
    const DiskFrame oriented = frame;
    frame.xx = cosTurn * oriented.xx - sinTurn * oriented.yx;
    frame.xy = cosTurn * oriented.xy - sinTurn * oriented.yy;
    frame.yx = sinTurn * oriented.xx + cosTurn * oriented.yx;
    frame.yy = sinTurn * oriented.xy + cosTurn * oriented.yy;
  }
  return frame;
}

ScreenDirection SkyDirectionOnScreen(const DiskFrame& frame, double westward, double northward) {
  // From the sky (x west, y north) into the tilted sphere's plane, whose y is
  // the rotation axis, P east of north: a turn by -P.
  const double tx = westward * frame.cosP + northward * frame.sinP;
  const double ty = -westward * frame.sinP + northward * frame.cosP;
  return {tx * frame.xx + ty * frame.xy, -(tx * frame.yx + ty * frame.yy)};
}

ProjectedPoint Project(const DiskFrame& frame, double longitudeRad, double latitudeRad) {
  return Project(frame, SphereAngles{std::sin(longitudeRad), std::cos(longitudeRad),
                                     std::sin(latitudeRad), std::cos(latitudeRad)});
}

ProjectedPoint Project(const DiskFrame& frame, const SphereAngles& angles) {
  // Body frame: x toward longitude 90 deg, y along the north rotation axis,
  // z toward longitude 0 deg.
  const double bodyX = angles.cosLatitude * angles.sinLongitude;
  const double bodyY = angles.sinLatitude;
  const double bodyZ = angles.cosLatitude * angles.cosLongitude;

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

LocatedPoint Locate(const DiskFrame& frame, double xPx, double yPx) {
  const double skyX = (xPx - frame.centreXPx) / frame.radiusPx;
  const double skyY = (frame.centreYPx - yPx) / frame.radiusPx;
  // The frame's turn and reflection are orthogonal: the transpose undoes
  // them.
  const double tiltedX = frame.xx * skyX + frame.yx * skyY;
  const double tiltedY = frame.xy * skyX + frame.yy * skyY;

  LocatedPoint point;
  point.rho = std::hypot(tiltedX, tiltedY);
  // On the sky (x west, y north) the point lies turned by P from the
  // tilted sphere's plane; east is -x.
  const double west = tiltedX * frame.cosP - tiltedY * frame.sinP;
  const double north = tiltedX * frame.sinP + tiltedY * frame.cosP;
  const double positionAngle = std::atan2(-west, north);
  // Adding zero turns the -0 of the disk centre into 0.
  point.positionAngleRad =
      positionAngle < 0 ? positionAngle + 2 * std::numbers::pi : positionAngle + 0.0;
  if (!(point.rho <= 1)) return point;

  point.onDisk = true;
  const double tiltedZ = std::sqrt(std::max(0.0, 1 - point.rho * point.rho));
  point.mu = tiltedZ;
  point.thetaRad = std::atan2(point.rho, tiltedZ);
  // Tilted back by -B0, then the longitude reckoned from L0.
  const double axial = tiltedY * frame.cosB0 + tiltedZ * frame.sinB0;
  const double towardObserver = -tiltedY * frame.sinB0 + tiltedZ * frame.cosB0;
  point.latitudeRad = std::asin(std::clamp(axial, -1.0, 1.0));
  point.cmDistanceRad = std::atan2(tiltedX, towardObserver);
  constexpr double kFullTurn = 2 * std::numbers::pi;
  const double longitude = frame.l0Rad + point.cmDistanceRad;
  point.longitudeRad = longitude - kFullTurn * std::floor(longitude / kFullTurn);
  return point;
}

}  // namespace helidisk
