// The drawn disk as an orthographic picture of the solar sphere: where the
// disk sits and how it is turned, and the projection of heliographic points
// onto it.
//
// The sphere is turned so that the disk centre (L0, B0) faces the observer
// (x toward heliographic longitude L0 + 90 deg, y along the rotation axis, z
// toward the observer), then the picture is turned in its own plane and
// reflected as the view asks.  Screen coordinates are pixels, x to the
// right, y downward; the sky-plane coordinates (sx, sy) are in disk radii, sy
// upward.
#pragma once

#include <optional>
#include <string>

namespace helidisk {

// How the picture is meant to be read: as the sky looks (north up, east
// left), as an instrument shows it, or with the Sun's axis upright.
enum class Orientation {
  Sky,             // north up, east left
  Mirror,          // north up, east right: a star diagonal
  Inverted,        // south up, east right: a telescope, a projection screen
  InvertedMirror,  // south up, east left
  SolarNorth,      // the rotation axis straight up
};

inline constexpr Orientation kOrientations[] = {Orientation::Sky, Orientation::Mirror,
                                                Orientation::Inverted, Orientation::InvertedMirror,
                                                Orientation::SolarNorth};

// The orientation's name on the command line: "sky", "mirror", "inverted",
// "inverted-mirror", "solar-north".
std::string OrientationName(Orientation orientation);
std::optional<Orientation> OrientationNamed(const std::string& name);

struct DiskFrame {
  // The disk centre and radius in pixels, real-valued.
  double centreXPx = 0;
  double centreYPx = 0;
  double radiusPx = 0;
  // The heliographic coordinates of the disk centre.
  double l0Rad = 0;
  double sinL0 = 0;
  double cosL0 = 1;
  double sinB0 = 0;
  double cosB0 = 1;
  // From the tilted sphere (tx, ty), solar north along ty, to the sky plane
  // of the picture: sx = xx * tx + xy * ty, sy = yx * tx + yy * ty.  A turn
  // in the plane, possibly with a reflection: always orthogonal.
  double xx = 1;
  double xy = 0;
  double yx = 0;
  double yy = 1;
  // The position angle P of the rotation axis on the sky, whatever the
  // picture's orientation: it turns sky directions into the frame's.
  double sinP = 0;
  double cosP = 1;
};

// The frame of a disk at the given centre and radius for L0, B0 and P
// (radians) in the orientation, turned further counterclockwise on the
// screen by `extraTurnRad` (a camera not aligned with the view).
DiskFrame OrientedDiskFrame(double centreXPx, double centreYPx, double radiusPx, double l0Rad,
                            double b0Rad, double pRad, Orientation orientation,
                            double extraTurnRad = 0);

// The sky-plane turn and reflection of the orientation, from the sine and
// cosine of P: the sky views turn the axis by P counterclockwise, from north
// toward east; solar north leaves it upright.
void OrientSkyPlane(DiskFrame& frame, double sinP, double cosP, Orientation orientation);

// What a pixel of the picture shows: the inverse of Project, in the same
// orthographic projection, so that it agrees with the grid lines drawn
// through the pixel.
struct LocatedPoint {
  bool onDisk = false;  // within the limb: rho <= 1
  // On the disk only: heliographic latitude and longitude (the longitude
  // system of L0, 0 ... 2 pi), the distance from the central meridian (east
  // negative, west positive), the heliocentric angle theta from the disk
  // centre, and mu = cos theta.
  double latitudeRad = 0;
  double longitudeRad = 0;
  double cmDistanceRad = 0;
  double thetaRad = 0;
  double mu = 0;
  // Everywhere: the distance from the disk centre in disk radii, and the
  // position angle on the sky from celestial north through east, 0 ... 2 pi.
  double rho = 0;
  double positionAngleRad = 0;
};

// The point under a pixel (real-valued: x to the right, y downward, in the
// frame's pixels).
LocatedPoint Locate(const DiskFrame& frame, double xPx, double yPx);

// A direction on the sky (x toward west, y toward north, unit length) as
// the screen shows it in the frame: (right, down) pixels per unit.
struct ScreenDirection {
  double right = 0;
  double down = 0;
};
ScreenDirection SkyDirectionOnScreen(const DiskFrame& frame, double westward, double northward);

struct ProjectedPoint {
  double xPx = 0;  // rightward
  double yPx = 0;  // downward
  // Cosine of the point's angular distance from the disk centre: greater
  // than zero on the visible hemisphere, 1 at the centre.
  double depth = 0;
};

// Points on the far hemisphere are projected like visible ones, inside the
// limb; only the depth tells them apart.
ProjectedPoint Project(const DiskFrame& frame, double longitudeRad, double latitudeRad);

// A heliographic point by the sines and cosines of its longitude and
// latitude, for grids whose many points share them.
struct SphereAngles {
  double sinLongitude = 0;
  double cosLongitude = 1;
  double sinLatitude = 0;
  double cosLatitude = 1;
};
// The same projection, to the last bit, of the point with these angles.
ProjectedPoint Project(const DiskFrame& frame, const SphereAngles& angles);

}  // namespace helidisk
