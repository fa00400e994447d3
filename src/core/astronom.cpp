#include "astronom.h"

#include <cmath>

#include "checked.h"

namespace helidisk {

namespace {

// Early dates are moved forward by whole blocks of 1000 Julian years, which
// is exactly 365250 days, so that the formulas only see positive day counts.
constexpr std::int32_t kYearsPerBlock = 1000;
constexpr std::int32_t kDaysPerBlock = 365250;
constexpr std::int32_t kFirstUnshiftedYear = 333;
constexpr double kFirstUnshiftedJulianDay = 1800000.0;

// The day count of 15 October 1582, the first Gregorian day.
constexpr std::int32_t kFirstGregorianDayNumber = 2299161;

// Beyond this many blocks 1000 x blocks no longer fits int32, so the
// conversion back to a year is bound to overflow.
constexpr std::int32_t kMaxBlocks = INT32_MAX / kYearsPerBlock + 1;

// 30.60001, not 30.6001: the month lengths come out exact for every month.
constexpr double kMonthFactor = 30.60001;

struct CalendarDate {
  std::int32_t year;
  std::int32_t month;
  std::int32_t day;
};

// The date of a civil day number Z (the Julian day at noon of that day) in a
// day count shifted forward by `blocks` thousand-year blocks.
CalendarDate CalendarDateOfDayNumber(std::int32_t z, std::int32_t blocks) {
  std::int32_t a = z;
  if (z >= kFirstGregorianDayNumber) {
    const std::int32_t alpha = TruncToInt32((z - 1867216.25) / 36524.25);
    a = CheckedSub(CheckedAdd(CheckedAdd(z, 1), alpha), alpha / 4);
  }
  const std::int32_t b = CheckedAdd(a, 1524);
  const std::int32_t k = TruncToInt32((b - 122.1) / 365.25);
  const std::int32_t d = TruncToInt32(365.25 * k);
  const std::int32_t daysIntoYear = CheckedSub(b, d);
  const std::int32_t e = TruncToInt32(daysIntoYear / kMonthFactor);

  CalendarDate date{};
  date.day = CheckedSub(daysIntoYear, TruncToInt32(kMonthFactor * e));
  date.month = CheckedSub(e, 1);
  date.year = CheckedSub(k, 4715);
  if (e > 13) date.month = CheckedSub(date.month, 12);
  if (date.month > 2) date.year = CheckedSub(date.year, 1);
  date.year = CheckedSub(date.year, CheckedMul(kYearsPerBlock, blocks));
  return date;
}

}  // namespace

void DateToJulianDay(std::int32_t year, std::int32_t month, std::int32_t day, double hours,
                     double minutes, double seconds, double& julianDay) {
  std::int32_t blocks = 0;
  while (year < kFirstUnshiftedYear) {
    blocks = CheckedAdd(blocks, 1);
    year = CheckedAdd(year, kYearsPerBlock);
  }

  std::int32_t y = year;
  std::int32_t m = month;
  const std::int32_t d = day;
  if (m < 3) {
    y = CheckedSub(y, 1);
    m = CheckedAdd(m, 12);
  }

  // 11 October 1582 and later count as Gregorian.
  std::int32_t b = 0;
  if (y * 365.25 + CheckedMul(m, 30) + d > 578135.5) {
    const std::int32_t a = y / 100;
    b = CheckedAdd(CheckedSub(2, a), a / 4);
  }

  double j = std::trunc(365.25 * CheckedAdd(y, 4716)) +
             std::trunc(kMonthFactor * CheckedAdd(m, 1)) + d + b - 1524.5;
  j = j - CheckedMul(blocks, kDaysPerBlock);
  j = hours / 24 + j + minutes / 1440 + seconds / 86400;
  julianDay = j;
}

void JulianDayToDate(std::int32_t& year, std::int32_t& month, std::int32_t& day, double& hours,
                     double& minutes, double& seconds, double julianDay) {
  std::int32_t blocks = 0;
  double j = julianDay;
  while (j < kFirstUnshiftedJulianDay) {
    // Past this count the year cannot be shifted back: fail now rather than
    // loop on for a Julian day that adding blocks no longer changes.
    if (blocks == kMaxBlocks) ThrowIntegerOverflow();
    ++blocks;
    j += kDaysPerBlock;
  }

  const std::int32_t z = TruncToInt32(j + 0.5);

  // f is the time since the start of the civil day that z names, plus one
  // day when the Julian day's fraction is 0.5 or more.
  double f = (j - std::trunc(j)) + 0.5;
  if (f == 1.0) f = 0;
  double ms = std::trunc(f * 86400000 + 0.5);
  double h = std::trunc(ms / 3600000);
  ms = ms - h * 3600000;
  const double min = std::trunc(ms / 60000);
  ms = ms - min * 60000;

  // An instant less than half a millisecond before midnight rounds up to
  // 24 h of a day that has ended: it belongs to 0 h of the next day.
  const bool carriedIntoNextDay = h > 23 && f < 1.0;
  if (h > 23) h = h - 24;
  const CalendarDate date =
      CalendarDateOfDayNumber(carriedIntoNextDay ? CheckedAdd(z, 1) : z, blocks);

  year = date.year;
  month = date.month;
  day = date.day;
  hours = h;
  minutes = min;
  seconds = ms / 1000;
}

CalendarInstant CalendarInstantOf(double julianDay) {
  CalendarInstant instant;
  JulianDayToDate(instant.year, instant.month, instant.day, instant.hours, instant.minutes,
                  instant.seconds, julianDay);
  return instant;
}

}  // namespace helidisk
