// Disks oriented by angle, for tests that ask the projection where a point
// lies: a record as a grid step finds it, and the pixel of a point in a
// frame.
#pragma once

#include <cmath>
#include <cstdint>

#include "checked.h"
#include "diskframe.h"
#include "diskgeometry.h"
#include "trigfunc.h"
#include "viewstate.h"

namespace helidisk::fakes {

// The window's picture at its design size.
inline constexpr DiskGeometry kDesignGeometry{999, 627, 499, 313};

// A record whose disk has the given L0, B0 and P (degrees) and radius, at
// the design size's centre.
inline ViewState OrientedByDegrees(double l0Deg, double b0Deg, double pDeg, std::int32_t radius) {
  ViewState state;
  state.Geometry = kDesignGeometry;
  state.SinL0 = std::sin(l0Deg * DegToRad);
  state.CosL0 = std::cos(l0Deg * DegToRad);
  state.SinB0 = std::sin(b0Deg * DegToRad);
  state.CosB0 = std::cos(b0Deg * DegToRad);
  state.SinNegP = std::sin(-pDeg * DegToRad);
  state.CosNegP = std::cos(-pDeg * DegToRad);
  state.DiskRadius = radius;
  return state;
}

struct Pixel {
  std::int32_t x;
  std::int32_t y;
  double depth;
};

// Where a point at heliographic longitude and latitude (degrees) lands in a
// frame, rounded to the pixel as the grids round it.
inline Pixel PixelOf(const DiskFrame& frame, double longitudeDeg, double latitudeDeg) {
  const ProjectedPoint point = Project(frame, longitudeDeg * DegToRad, latitudeDeg * DegToRad);
  return {RoundToInt32(point.xPx), RoundToInt32(point.yPx), point.depth};
}

}  // namespace helidisk::fakes
