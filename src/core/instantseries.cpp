#include "instantseries.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "astronom.h"

namespace helidisk {

namespace {

constexpr std::size_t kMostStepDigits = 9;

// The civil day number of a date: the Julian day at noon of that day, a
// whole number that steps by one from each day to the next, also across the
// calendar reform.
std::int64_t DayNumberOf(const UtcMinute& instant) {
  double midnight = 0;
  DateToJulianDay(instant.year, instant.month, instant.day, 0.0, 0.0, 0.0, midnight);
  return static_cast<std::int64_t>(std::floor(midnight + 0.5));
}

std::int64_t MinuteOfDay(const UtcMinute& instant) {
  return std::int64_t{instant.hour} * kMinutesPerHour + instant.minute;
}

std::optional<std::int64_t> MinutesPerUnit(char unit) {
  switch (unit) {
    case 'm':
      return 1;
    case 'h':
      return kMinutesPerHour;
    case 'd':
      return kMinutesPerDay;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::int64_t> ParseStepMinutes(const std::string& text) {
  if (text.size() < 2 || text.size() > kMostStepDigits + 1) return std::nullopt;
  const std::string digits = text.substr(0, text.size() - 1);
  const auto unit = MinutesPerUnit(text.back());
  if (!unit || !std::all_of(digits.begin(), digits.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
      })) {
    return std::nullopt;
  }
  const std::int64_t count = std::stoll(digits);
  if (count < 1) return std::nullopt;
  return count * *unit;
}

std::int64_t MinutesBetween(const UtcMinute& from, const UtcMinute& to) {
  return (DayNumberOf(to) - DayNumberOf(from)) * kMinutesPerDay + MinuteOfDay(to) -
         MinuteOfDay(from);
}

InstantSeries SeriesFromTo(const UtcMinute& from, const UtcMinute& to, std::int64_t stepMinutes) {
  const std::int64_t span = MinutesBetween(from, to);
  return {from, stepMinutes, span < 0 ? 0 : span / stepMinutes + 1};
}

UtcMinute InstantAt(const InstantSeries& series, std::int64_t index) {
  const std::int64_t minutes = MinuteOfDay(series.first) + index * series.stepMinutes;
  const std::int64_t dayNumber = DayNumberOf(series.first) + minutes / kMinutesPerDay;
  const CalendarInstant day = CalendarInstantOf(static_cast<double>(dayNumber) - 0.5);
  const auto minuteOfDay = static_cast<std::int32_t>(minutes % kMinutesPerDay);
  return {day.year, day.month, day.day, minuteOfDay / kMinutesPerHour,
          minuteOfDay % kMinutesPerHour};
}

double JulianDayOfHourPosition(std::int32_t year, double hours) {
  double newYear = 0;
  DateToJulianDay(year, 1, 1, 0.0, 0.0, 0.0, newYear);
  return hours / kHoursPerDay + newYear;
}

YearHours YearHoursOf(double julianDay) {
  const std::int32_t year = CalendarInstantOf(julianDay).year;
  double newYear = 0;
  DateToJulianDay(year, 1, 1, 0.0, 0.0, 0.0, newYear);
  return {year, (julianDay - newYear) * kHoursPerDay};
}

double JulianDayOfInstant(const UtcMinute& instant) {
  return JulianDayOfHourPosition(instant.year, HoursSinceNewYear(instant));
}

}  // namespace helidisk
