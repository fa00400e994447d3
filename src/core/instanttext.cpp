#include "instanttext.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "astronom.h"
#include "checked.h"

namespace helidisk {

namespace {

constexpr int kLongestMonthDays = 31;
constexpr int kLastHourOfDay = 23;
constexpr int kLastMinuteOfHour = 59;

bool IsDigits(const std::string& text, std::size_t first, std::size_t count) {
  if (first + count > text.size()) return false;
  return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(first),
                     text.begin() + static_cast<std::ptrdiff_t>(first + count),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

std::int32_t TwoDigitsAt(const std::string& text, std::size_t first) {
  return (text[first] - '0') * 10 + (text[first + 1] - '0');
}

std::optional<std::int32_t> YearOf(const std::string& text) {
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (text.empty() || text.size() > 19 || result.ec != std::errc() || result.ptr != end ||
      value < INT32_MIN || value > INT32_MAX) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

// Whether the date is one the calendar routines give back as it stands.
InstantTextFault CalendarFault(const UtcMinute& instant) {
  try {
    double julianDay = 0;
    DateToJulianDay(instant.year, instant.month, instant.day, 0.0, 0.0, 0.0, julianDay);
    const CalendarInstant back = CalendarInstantOf(julianDay);
    if (back.year != instant.year || back.month != instant.month || back.day != instant.day) {
      return InstantTextFault::NotACalendarDay;
    }
    return InstantTextFault::None;
  } catch (const RunError&) {
    return InstantTextFault::BeyondTheCalendar;
  }
}

}  // namespace

InstantText ParseInstantText(const std::string& text, bool timeOptional) {
  InstantText parsed;
  const std::size_t yearEnd = text.find('-', text.empty() || text[0] != '-' ? 0 : 1);
  constexpr std::size_t kDateTailLength = 6;   // "-MM-DD"
  constexpr std::size_t kTimeTailLength = 12;  // "-MM-DDTHH:MM"
  const std::size_t tail = yearEnd == std::string::npos ? 0 : text.size() - yearEnd;
  const bool withTime = tail == kTimeTailLength;
  const bool dateOnly = timeOptional && tail == kDateTailLength;
  const auto year = YearOf(yearEnd == std::string::npos ? text : text.substr(0, yearEnd));
  if (!year || !(withTime || dateOnly) || !IsDigits(text, yearEnd + 1, 2) ||
      text[yearEnd + 3] != '-' || !IsDigits(text, yearEnd + 4, 2) ||
      (withTime && (text[yearEnd + 6] != 'T' || !IsDigits(text, yearEnd + 7, 2) ||
                    text[yearEnd + 9] != ':' || !IsDigits(text, yearEnd + 10, 2)))) {
    parsed.fault = InstantTextFault::Malformed;
    return parsed;
  }
  UtcMinute& instant = parsed.instant;
  instant.year = *year;
  instant.month = TwoDigitsAt(text, yearEnd + 1);
  instant.day = TwoDigitsAt(text, yearEnd + 4);
  instant.hour = withTime ? TwoDigitsAt(text, yearEnd + 7) : 0;
  instant.minute = withTime ? TwoDigitsAt(text, yearEnd + 10) : 0;
  if (instant.month < 1 || instant.month > kMonthsPerYear || instant.day < 1 ||
      instant.day > kLongestMonthDays || instant.hour > kLastHourOfDay ||
      instant.minute > kLastMinuteOfHour) {
    parsed.fault = InstantTextFault::FieldOutOfRange;
    return parsed;
  }
  parsed.fault = CalendarFault(instant);
  return parsed;
}

double HoursSinceNewYear(const UtcMinute& instant) {
  double newYear = 0;
  double date = 0;
  DateToJulianDay(instant.year, 1, 1, 0.0, 0.0, 0.0, newYear);
  DateToJulianDay(instant.year, instant.month, instant.day, 0.0, 0.0, 0.0, date);
  return (date - newYear) * kHoursPerDay + instant.hour +
         instant.minute / static_cast<double>(kMinutesPerHour);
}

std::string InstantTextOf(const UtcMinute& instant) {
  char text[48];
  std::snprintf(text, sizeof text, "%s%04lld-%02d-%02dT%02d:%02d", instant.year < 0 ? "-" : "",
                std::llabs(static_cast<long long>(instant.year)), instant.month, instant.day,
                instant.hour, instant.minute);
  return text;
}

}  // namespace helidisk
