// Heliographic points on the drawn disk and the two-tone axis marker, as
// steps of the redraw working on its record.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "diskframe.h"
#include "viewstate.h"

namespace helidisk {

// The frame that the record's centre (Geometry), DiskRadius, the sines and
// cosines of L0, B0 and -P, and the picture's orientation describe.
DiskFrame FrameOfState(const ViewState& state);

// Orthographic projection of the point at heliographic longitude and
// latitude (arc seconds) for the record's frame.  Leaves ProjX, ProjY
// (pixels, y downward, rounded to nearest with ties to even) and ProjDepth
// (cosine of the distance from the disk centre, > 0 on the visible
// hemisphere) in the record.
void ProjectPoint(ViewState& state, double longitudeArcSeconds, double latitudeArcSeconds);

// A 36-pixel bar through (x, y) along the screen direction theta (radians,
// y downward): grey outline, black half toward theta, white half away from
// it, grey dot over the centre.  Leaves the pen grey, 10 px wide.
void DrawAxisMarker(Canvas& canvas, std::int32_t x, std::int32_t y, double theta);
void DrawAxisMarker(ViewState& state, std::int32_t x, std::int32_t y, double theta);

}  // namespace helidisk
