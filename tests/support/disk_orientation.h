// The disk's orientation in a view state, for tests that ask the projection
// where a point lies: set by angle, or for an instant as the redraw derives
// it.
#pragma once

#include <cmath>
#include <cstdint>

#include "astronom.h"
#include "checked.h"
#include "diskgeometry.h"
#include "ephemeris.h"
#include "trigfunc.h"
#include "viewstate.h"

namespace helidisk::fakes {

inline void SetOrientation(ViewState& state, double l0, double b0, double p) {
  state.SinL0 = std::sin(l0);
  state.CosL0 = std::cos(l0);
  state.SinB0 = std::sin(b0);
  state.CosB0 = std::cos(b0);
  state.SinNegP = std::sin(-p);
  state.CosNegP = std::cos(-p);
}

inline ViewState OrientedByDegrees(double l0Deg, double b0Deg, double pDeg, std::int32_t radius) {
  ViewState state;
  SetOrientation(state, l0Deg * DegToRad, b0Deg * DegToRad, pDeg * DegToRad);
  state.DiskRadius = radius;
  return state;
}

// Hours since 1 January, 0 h UT, of the year, in the current DiskGeometry.
inline ViewState OrientedForInstant(std::int32_t year, double hours) {
  ViewState state;
  double julianDay = 0;
  DateToJulianDay(year, 1, 1, 0.0, 0.0, 0.0, julianDay);
  ComputeSunEphemeris(state, hours / 24.0 + julianDay);
  SetOrientation(state, state.SunL0, state.SunB0, state.SunP);
  state.DiskRadius = RoundToInt32((CurrentDiskGeometry().CentreY - 12) / state.SunDistance);
  return state;
}

}  // namespace helidisk::fakes
