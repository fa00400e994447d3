// Instants in UT written as text: YYYY-MM-DDTHH:MM, as on the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace helidisk {

// A calendar date and time of day UT to the minute; the year numbered
// astronomically.
struct UtcMinute {
  std::int32_t year = 0;
  std::int32_t month = 1;
  std::int32_t day = 1;
  std::int32_t hour = 0;
  std::int32_t minute = 0;

  friend constexpr bool operator==(const UtcMinute&, const UtcMinute&) = default;
};

enum class InstantTextFault {
  None,
  Malformed,         // not YYYY-MM-DDTHH:MM
  FieldOutOfRange,   // month 01-12, day 01-31, hour 00-23, minute 00-59
  NotACalendarDay,   // e.g. 29 February of a common year, or 1582-10-10
  BeyondTheCalendar  // a year the calendar routines cannot reckon with
};

struct InstantText {
  UtcMinute instant;
  InstantTextFault fault = InstantTextFault::None;
};

// Reads YYYY-MM-DDTHH:MM, or YYYY-MM-DD alone (0 h) when `timeOptional`.
// The year has any number of digits and an optional sign.  The date must
// exist in the calendar the Julian-day routines reckon in: Julian up to
// 4 October 1582, Gregorian from 15 October 1582.
InstantText ParseInstantText(const std::string& text, bool timeOptional = false);

// The hours from 1 January, 0 h UT, of the instant's year to the instant:
// whole days are exact differences of Julian days at 0 h, so a whole hour
// gives an exact whole number.  Raises RunError where the calendar routines
// do.
double HoursSinceNewYear(const UtcMinute& instant);

// "YYYY-MM-DDTHH:MM", the year with at least four digits.
std::string InstantTextOf(const UtcMinute& instant);

}  // namespace helidisk
