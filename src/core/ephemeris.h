// The Sun's apparent place, distance and physical ephemeris for one instant.
#pragma once

#include "viewstate.h"

namespace helidisk {

// Fills SunRA, SunDec, SunDistance, SunP, SunB0, SunL0 and the working values
// of the record for the Julian day (UT, taken as dynamical time).  A low-
// precision solar theory with the classical rotation elements: sidereal
// period 25.38 days, solar equator inclined 7.25 deg, Carrington origin.
void ComputeSunEphemeris(ViewState& state, double julianDay);

}  // namespace helidisk
