// Calendar dates and Julian days, both directions, after J. Meeus,
// Astronomical Algorithms (2nd ed., Willmann-Bell 1998), ch. 7.
//
// Julian days are in Universal Time; a whole Julian day is noon.  Years are
// numbered astronomically (year 0 precedes year 1).  Dates up to 10 October
// 1582 are reckoned Julian, later ones Gregorian; Julian day 2299160.5
// (15 October 1582, 0 h) is the first Gregorian day on the way back.
#pragma once

#include <cstdint>

namespace helidisk {

inline constexpr double kHoursPerDay = 24;
inline constexpr std::int32_t kMinutesPerHour = 60;
inline constexpr std::int32_t kMonthsPerYear = 12;

void DateToJulianDay(std::int32_t year, std::int32_t month, std::int32_t day, double hours,
                     double minutes, double seconds, double& julianDay);

// Hours and minutes come back whole; seconds carry whole milliseconds.
void JulianDayToDate(std::int32_t& year, std::int32_t& month, std::int32_t& day, double& hours,
                     double& minutes, double& seconds, double julianDay);

// A calendar date with the time of day UT.
struct CalendarInstant {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  double hours = 0;    // whole hours 0 ... 23
  double minutes = 0;  // whole minutes 0 ... 59
  double seconds = 0;  // whole milliseconds
};

CalendarInstant CalendarInstantOf(double julianDay);

}  // namespace helidisk
