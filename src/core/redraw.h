// One complete redraw of the picture and the readout for the chosen hour.
#pragma once

#include <cstdint>

#include "astronom.h"
#include "diskframe.h"
#include "diskgeometry.h"
#include "ephemerischoice.h"
#include "picturerequest.h"
#include "readout.h"
#include "sun.h"
#include "viewstate.h"

namespace helidisk {

// The last scroll position: 364 days after 1 January, 0 h UT.
inline constexpr std::int32_t kLastHourPosition = 8736;

// What a redraw computed, for whoever shows, measures or writes the picture.
struct RedrawResult {
  CalendarInstant instant;    // of the chosen instant, UT
  SunEphemeris sun;           // with its Julian day
  EphemerisChoice ephemeris;  // the theory that computed it
  DiskGeometry geometry;
  std::int32_t diskRadiusPx = 0;
  DiskFrame frame;
  ReadoutTexts readout;
};

// Computes the instant, the ephemeris and the disk's orientation afresh,
// paints background, disk, grid, limb, centre cross and compass on the
// window's canvas and rewrites the readout.  A failed check raises RunError and
// leaves what was drawn so far.
RedrawResult Redraw(FormView& form);

// The same redraw for a picture request: its results alone, computed
// without a canvas, or with the picture painted onto a canvas of the
// request's image size.  Raise RunError as the redraw does.
RedrawResult InstantResultsOf(const PictureRequest& request);
RedrawResult DrawPicture(const PictureRequest& request, Canvas& canvas);

}  // namespace helidisk
