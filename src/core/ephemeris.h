// The solar ephemeris as a step of the redraw: its results into the record.
#pragma once

#include "sun.h"
#include "viewstate.h"

namespace helidisk {

// Fills SunRA, SunDec, SunDistance, SunP, SunB0, SunL0 and the working values
// of the record for the Julian day (UT), from ComputeSun.
void ComputeSunEphemeris(ViewState& state, double julianDay);

// The same fields from an ephemeris already computed.
void StoreSunEphemeris(ViewState& state, const SunEphemeris& sun);

}  // namespace helidisk
