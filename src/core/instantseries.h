// Runs of instants in UT a whole number of minutes apart, as the rows of an
// ephemeris table, and the Julian day the redraw computes for an instant.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "instanttext.h"

namespace helidisk {

inline constexpr std::int64_t kMinutesPerDay = 1440;

// `count` instants, the first at `first`, each `stepMinutes` after the one
// before.
struct InstantSeries {
  UtcMinute first;
  std::int64_t stepMinutes = 1;
  std::int64_t count = 0;
};

// "N" followed by m, h or d: N minutes, hours or days, N a whole number of
// at least 1 with at most nine digits.  Empty for anything else.
std::optional<std::int64_t> ParseStepMinutes(const std::string& text);

// The minutes from `from` to `to`, negative when `to` comes first.  Raises
// RunError where the calendar routines do.
std::int64_t MinutesBetween(const UtcMinute& from, const UtcMinute& to);

// The instants from `from` to `to`, both included; none when `to` comes
// first.  Raises RunError where the calendar routines do.
InstantSeries SeriesFromTo(const UtcMinute& from, const UtcMinute& to, std::int64_t stepMinutes);

// The instant `index` steps after the first, counted from the first in whole
// minutes, so that no rounding piles up however long the series: it falls
// on a whole minute across month and year ends, leap days and the calendar
// reform (the day after 4 October 1582 is 15 October).
UtcMinute InstantAt(const InstantSeries& series, std::int64_t index);

// The Julian day of `hours` since 1 January, 0 h UT, of `year`, as the
// redraw computes it for the window's scroll position: the same operations
// in the same order, so that the values derived from it agree to the last
// bit with what the window and --json show.
double JulianDayOfHourPosition(std::int32_t year, double hours);

// The year a Julian day falls in and the hours from its 1 January, 0 h UT:
// the position the window's scroll bar and --hour count in.
struct YearHours {
  std::int32_t year = 0;
  double hours = 0;
};
YearHours YearHoursOf(double julianDay);

// The Julian day the redraw computes for an instant given to the minute
// (--at, Go -> Date and time).
double JulianDayOfInstant(const UtcMinute& instant);

}  // namespace helidisk
