#include "astronom.h"

#include <gtest/gtest.h>

#include <cmath>

#include "checked.h"

namespace helidisk {
namespace {

struct CalendarDate {
  std::int32_t year, month, day;
  double hours, minutes, seconds;
};

CalendarDate DateOf(double julianDay) {
  CalendarDate instant{};
  JulianDayToDate(instant.year, instant.month, instant.day, instant.hours, instant.minutes,
                  instant.seconds, julianDay);
  return instant;
}

double JulianDayOf(const CalendarDate& instant) {
  double julianDay = 0;
  DateToJulianDay(instant.year, instant.month, instant.day, instant.hours, instant.minutes,
                  instant.seconds, julianDay);
  return julianDay;
}

void ExpectInstant(const CalendarDate& actual, const CalendarDate& expected) {
  EXPECT_EQ(actual.year, expected.year);
  EXPECT_EQ(actual.month, expected.month);
  EXPECT_EQ(actual.day, expected.day);
  EXPECT_EQ(actual.hours, expected.hours);
  EXPECT_EQ(actual.minutes, expected.minutes);
  EXPECT_DOUBLE_EQ(actual.seconds, expected.seconds);
}

TEST(DateToJulianDay, WorkedValues) {
  struct Case {
    CalendarDate instant;
    double julianDay;
  };
  const Case cases[] = {
      {{2021, 1, 1, 0, 0, 0}, 2459215.5},   {{2000, 1, 1, 12, 0, 0}, 2451545.0},
      {{1992, 10, 13, 0, 0, 0}, 2448908.5}, {{1582, 10, 4, 0, 0, 0}, 2299159.5},  // last Julian day
      {{1582, 10, 15, 0, 0, 0}, 2299160.5},  // first Gregorian day
      {{1582, 10, 10, 0, 0, 0}, 2299165.5},  // reckoned Julian
      {{1582, 10, 11, 0, 0, 0}, 2299156.5},  // reckoned Gregorian
      {{100, 1, 1, 0, 0, 0}, 1757582.5},    {{332, 3, 1, 0, 0, 0}, 1842380.5},
      {{333, 3, 1, 0, 0, 0}, 1842745.5},    {{-4712, 1, 1, 12, 0, 0}, 0.0},
      {{2021, 1, 32, 0, 0, 0}, 2459246.5},  // 32 January is 1 February
      {{2021, 0, 1, 0, 0, 0}, 2459184.5},   // month 0 is December before
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.instant.year << "-" << c.instant.month << "-" << c.instant.day);
    EXPECT_EQ(JulianDayOf(c.instant), c.julianDay);
  }
  EXPECT_DOUBLE_EQ(JulianDayOf({2024, 2, 29, 18, 30, 15.5}), 2460370.271012732);
}

TEST(JulianDayToDate, WorkedValues) {
  struct Case {
    double julianDay;
    CalendarDate instant;
  };
  const Case cases[] = {
      {0.0, {-4712, 1, 1, 12, 0, 0}},         {-1.0, {-4713, 12, 31, 12, 0, 0}},
      {2459215.25, {2020, 12, 31, 18, 0, 0}}, {2459215.5, {2021, 1, 1, 0, 0, 0}},
      {2459215.75, {2021, 1, 1, 6, 0, 0}},    {2459216.0, {2021, 1, 1, 12, 0, 0}},
      {1799999.5, {216, 2, 18, 0, 0, 0}},     {2299159.5, {1582, 10, 4, 0, 0, 0}},
      {2299160.5, {1582, 10, 15, 0, 0, 0}},   {2460370.271012732, {2024, 2, 29, 18, 30, 15.5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::fixed << c.julianDay);
    ExpectInstant(DateOf(c.julianDay), c.instant);
  }
}

// Less than half a millisecond before midnight rounds up to 0 h of the next
// day, and the date must follow across month, year and the calendar reform.
TEST(JulianDayToDate, CarryIntoMidnightAdvancesTheDate) {
  constexpr double kQuarterMillisecond = 0.25e-3 / 86400;
  struct Case {
    double midnight;
    CalendarDate nextDay;
  };
  const Case cases[] = {
      {2459215.5, {2021, 1, 1, 0, 0, 0}},    // new year
      {2459274.5, {2021, 3, 1, 0, 0, 0}},    // end of a common February
      {2299160.5, {1582, 10, 15, 0, 0, 0}},  // over the reform gap
      {1757582.5, {100, 1, 1, 0, 0, 0}},     // a shifted early date
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::fixed << c.midnight);
    ExpectInstant(DateOf(c.midnight - kQuarterMillisecond), c.nextDay);
  }
  // A millisecond before midnight still belongs to the old day.
  ExpectInstant(DateOf(2459215.5 - 1e-3 / 86400), {2020, 12, 31, 23, 59, 59.999});
}

// The redraw's instants: every whole hour of a year, from 1 January 0 h.
TEST(JulianDayToDate, EveryHourOfTheYearComesBackExactly) {
  for (const std::int32_t year : {2021, 2024, 1583, 1, -4712, 9999}) {
    SCOPED_TRACE(year);
    double newYear = 0;
    DateToJulianDay(year, 1, 1, 0, 0, 0, newYear);
    double expectedDay = newYear;
    for (std::int32_t k = 0; k <= 8736; ++k) {
      if (k % 24 == 0 && k > 0) expectedDay += 1;
      const CalendarDate actual = DateOf(k / 24.0 + newYear);
      ASSERT_EQ(JulianDayOf({actual.year, actual.month, actual.day, 0, 0, 0}), expectedDay) << k;
      ASSERT_EQ(actual.hours, k % 24) << k;
      ASSERT_EQ(actual.minutes, 0) << k;
      ASSERT_EQ(actual.seconds, 0) << k;
    }
  }
}

TEST(JulianDayToDate, ConsecutiveDaysAcrossTheReform) {
  ExpectInstant(DateOf(2299159.5), {1582, 10, 4, 0, 0, 0});
  ExpectInstant(DateOf(2299160.5), {1582, 10, 15, 0, 0, 0});
}

TEST(CalendarFailures, HugeValuesRaiseTheRunTimeErrors) {
  std::int32_t y = 0, mo = 0, d = 0;
  double h = 0, mi = 0, s = 0, jd = 0;
  const auto messageOf = [&](auto action) -> std::string {
    try {
      action();
    } catch (const RunError& error) {
      return error.what();
    }
    return "no error";
  };
  EXPECT_EQ(messageOf([&] { JulianDayToDate(y, mo, d, h, mi, s, 2.2e9); }), "Range check error");
  EXPECT_EQ(messageOf([&] { JulianDayToDate(y, mo, d, h, mi, s, std::nan("")); }),
            "Range check error");
  EXPECT_EQ(messageOf([&] { JulianDayToDate(y, mo, d, h, mi, s, -1e300); }), "Integer overflow");
  EXPECT_EQ(messageOf([&] { JulianDayToDate(y, mo, d, h, mi, s, -HUGE_VAL); }), "Integer overflow");
  EXPECT_EQ(messageOf([&] { DateToJulianDay(2147483647, 1, 1, 0, 0, 0, jd); }), "Integer overflow");
  EXPECT_EQ(messageOf([&] { DateToJulianDay(-2147483647, 1, 1, 0, 0, 0, jd); }),
            "Integer overflow");
  EXPECT_EQ(messageOf([&] { DateToJulianDay(2021, 2147483647, 1, 0, 0, 0, jd); }),
            "Integer overflow");
}

}  // namespace
}  // namespace helidisk
