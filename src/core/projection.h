// Heliographic points on the drawn disk, and the two-tone axis marker.
#pragma once

#include <cstdint>

#include "viewstate.h"

namespace helidisk {

// Orthographic projection of the point at heliographic longitude and
// latitude (arc seconds) for the record's L0, B0, P and disk radius.  Leaves
// ProjX, ProjY (pixels, y downward) and ProjDepth (cosine of the distance
// from the disk centre, > 0 on the visible hemisphere) in the record.
void ProjectPoint(ViewState& state, double longitudeArcSeconds, double latitudeArcSeconds);

// A 36-pixel bar through (x, y) along the screen direction theta (radians,
// y downward): grey outline, black half toward theta, white half away from
// it, grey dot over the centre.  Leaves the pen grey, 10 px wide.
void DrawAxisMarker(ViewState& state, std::int32_t x, std::int32_t y, double theta);

}  // namespace helidisk
