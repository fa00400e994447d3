// Stepping the shown instant by an hour, a day or a Carrington rotation,
// across the turn of the year.
#pragma once

#include "instantseries.h"

namespace helidisk {

inline constexpr double kHourStepHours = 1;
inline constexpr double kDayStepHours = 24;
// One Carrington rotation as the Earth sees it: the mean synodic period.
inline constexpr double kCarringtonRotationStepHours = 27.2753 * 24;

// The instant `stepHours` after `from` (before it when negative), in the
// year it falls in.  The hours are carried over the turn of the year by the
// exact length of each year, so that a whole hour stays whole.  Raises
// RunError where the calendar routines cannot reckon with a year.
YearHours SteppedYearHours(const YearHours& from, double stepHours);

}  // namespace helidisk
