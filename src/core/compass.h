// The small compass in the picture's top-left corner: where celestial north
// and east lie in the picture's orientation, so that a printed or exported
// picture says how it is meant to be read.
#pragma once

#include "canvas.h"
#include "diskframe.h"

namespace helidisk {

// Two grey arms of the compass from its centre toward north and east,
// labelled "N" and "E" upright, in the corner of the background; nothing
// when the disk reaches into that corner.  Leaves the pen black, 2 px wide,
// as the redraw leaves it.
void DrawCompass(Canvas& canvas, const DiskFrame& frame);

}  // namespace helidisk
