// The Stonyhurst grid: heliographic latitude and central-meridian distance,
// fixed to the observer rather than turning with the Sun, as the printed disks
// that observers reduce their drawings with show it.
#pragma once

#include "canvas.h"
#include "diskframe.h"
#include "diskgeometry.h"

namespace helidisk {

// Meridians every 10 deg of central-meridian distance from 90 deg east to
// 90 deg west, pole to pole, and parallels every 10 deg from -80 to +80 deg,
// each only where it lies on the visible hemisphere.  The frame's B0 and its
// turn on the screen count, its L0 does not; its centre is taken to the
// nearest pixel.  Draws in the pen's colour, the central meridian 2 px wide
// and every other line 1 px; leaves the pen 1 px wide.
void DrawStonyhurstGrid(Canvas& canvas, const DiskFrame& frame);

// The disk's radius on a template: the picture's disk at one astronomical
// unit.
std::int32_t TemplateDiskRadiusPx(const DiskGeometry& geometry);

// A template sheet for one B0 (radians), without an instant: white ground,
// a white disk of TemplateDiskRadiusPx centred where the picture puts it,
// the Stonyhurst grid in black with solar north up, and the limb ring and
// centre cross the redraw leaves, the ring reaching 1 px beyond the limb.
// The sheet for -B0 is this one turned by 180 deg.  Returns the frame it
// drew with.
DiskFrame DrawStonyhurstTemplate(Canvas& canvas, const DiskGeometry& geometry, double b0Rad);

}  // namespace helidisk
