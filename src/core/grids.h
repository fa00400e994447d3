// The heliographic grid on the disk: rigid, or differentially rotating.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "diskframe.h"
#include "trigfunc.h"
#include "viewstate.h"

namespace helidisk {

// The grids' angles in whole arc seconds, as the grids count them: a line
// every 10 deg, a parallel sampled every 2 deg.
inline constexpr std::int32_t kGridDegree = ArcSecondsPerDegree;
inline constexpr std::int32_t kGridLineSpacing = 10 * kGridDegree;
inline constexpr std::int32_t kParallelSampleStep = 2 * kGridDegree;

// Parallels every 10 deg, meridians every 10 deg (280 deg red, 100 deg
// blue), thick parallels at 0, +-30, +-60 deg and up to eight axis markers,
// turning with L0 as a rigid body.  Expects the pen grey.
void DrawFixedGrid(Canvas& canvas, const DiskFrame& frame);

// The same grid with every meridian point and every marker shifted in
// longitude by 250" x cos^5(latitude) for each of the `hours` since
// 1 January 0 h UT; meridians sampled every 1 deg.
void DrawDifferentialGrid(Canvas& canvas, const DiskFrame& frame, double hours);

// The grid steps of the redraw: the record's frame on the window's canvas,
// the differential grid counting the hours the window shows.
void DrawFixedGrid(ViewState& state);
void DrawDifferentialGrid(ViewState& state);

// The longitude shift in arc seconds of a point at the given latitude after
// `hours` hours of differential rotation.
double DifferentialShiftArcSeconds(std::int32_t latitudeArcSeconds, double hours);

}  // namespace helidisk
