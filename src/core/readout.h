// The ten readout labels below the picture.
#pragma once

#include "viewstate.h"

namespace helidisk {

// Writes the Julian day, date, time UT, apparent right ascension and
// declination, distance, semi-diameter, P, B0 and L0 of the record into the
// window's labels, in that order.
void FillReadout(ViewState& state);

}  // namespace helidisk
