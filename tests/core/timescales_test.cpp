#include "timescales.h"

#include <gtest/gtest.h>

#include <cmath>

#include "astronom.h"

namespace helidisk {
namespace {

double JulianDayOf(std::int32_t year, std::int32_t month, std::int32_t day, double hours = 0) {
  double julianDay = 0;
  DateToJulianDay(year, month, day, hours, 0, 0, julianDay);
  return julianDay;
}

// TAI - UTC from the IERS's Bulletin C history, plus 32.184 s.
TEST(TtMinusUtc, FollowsTheLeapSecondTable) {
  struct Case {
    double julianDayUtc;
    double seconds;
  };
  const Case cases[] = {
      {JulianDayOf(1972, 1, 1), 10 + 32.184},
      {JulianDayOf(1980, 1, 1), 19 + 32.184},
      {JulianDayOf(1999, 1, 1) - 1e-6, 31 + 32.184},
      {JulianDayOf(1999, 1, 1) + 1e-6, 32 + 32.184},
      {JulianDayOf(2013, 6, 17), 35 + 32.184},
      {JulianDayOf(2017, 1, 1) + 1e-6, 37 + 32.184},
      // 1965-01-01: 3.5401300 s + (MJD 38761 - 38761) x 0.001296 s.
      {JulianDayOf(1965, 1, 1), 3.5401300 + 32.184},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::fixed << c.julianDayUtc);
    EXPECT_NEAR(TtMinusUtcSeconds(c.julianDayUtc), c.seconds, 1e-6);
  }
}

// Espenak & Meeus's pieces meet where one hands over to the next; a wrong
// coefficient shows as a jump of seconds or more.
TEST(EspenakMeeusDeltaT, PiecesMeetAtTheirBoundaries) {
  for (const double year : {1920.0, 1941.0, 1961.0, 1986.0, 2005.0, 2050.0}) {
    SCOPED_TRACE(year);
    EXPECT_NEAR(EspenakMeeusDeltaTSeconds(year - 1e-9), EspenakMeeusDeltaTSeconds(year), 0.8);
  }
}

// Observed Delta T (the Astronomical Almanac's table, to 0.1 s): the
// polynomials reproduce it to about their stated fit.
TEST(EspenakMeeusDeltaT, FollowsObservedValues) {
  struct Case {
    double year;
    double seconds;
  };
  const Case cases[] = {{1900.0, -2.8}, {1910.0, 10.4}, {1930.0, 24.0},
                        {1950.0, 29.1}, {1970.0, 40.2}, {1990.0, 56.9}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.year);
    EXPECT_NEAR(EspenakMeeusDeltaTSeconds(c.year), c.seconds, 0.6);
  }
}

TEST(TtMinusUtc, BeforeTheTableIsDeltaT) {
  const double julianDay = JulianDayOf(1930, 7, 1);
  EXPECT_DOUBLE_EQ(TtMinusUtcSeconds(julianDay),
                   EspenakMeeusDeltaTSeconds(DecimalYearOfJulianDay(julianDay)));
}

// Past the table the prediction takes over without a jump and grows.
TEST(TtMinusUtc, JoinsThePredictionAtTheTablesEnd) {
  const double end = EndOfLeapSecondTableJulianDay();
  EXPECT_GT(end, JulianDayOf(2017, 1, 1));
  EXPECT_NEAR(TtMinusUtcSeconds(end - 1e-6), TtMinusUtcSeconds(end + 1e-6), 1e-3);
  EXPECT_GT(TtMinusUtcSeconds(JulianDayOf(2100, 1, 1)), TtMinusUtcSeconds(end) + 60);
}

}  // namespace
}  // namespace helidisk
