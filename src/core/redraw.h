// One complete redraw of the picture and the readout for the chosen hour.
#pragma once

#include "viewstate.h"

namespace helidisk {

// Computes the instant, the ephemeris and the disk's orientation afresh,
// paints background, disk, grid, limb and centre cross on the window's
// canvas and rewrites the readout.  A failed check raises RunError and
// leaves what was drawn so far.
void Redraw(FormView& form);

}  // namespace helidisk
