#include "instantseries.h"

#include <gtest/gtest.h>

namespace helidisk {
namespace {

TEST(InstantSeries, StepsInMinutesHoursAndDays) {
  EXPECT_EQ(ParseStepMinutes("1m"), 1);
  EXPECT_EQ(ParseStepMinutes("90m"), 90);
  EXPECT_EQ(ParseStepMinutes("6h"), 360);
  EXPECT_EQ(ParseStepMinutes("1d"), 1440);
  EXPECT_EQ(ParseStepMinutes("999999999d"), 999999999LL * 1440);
  for (const char* refused :
       {"0d", "0m", "", "d", "12", "1w", "-1h", "+1h", "1.5h", "1 h", "1H", "1000000000d"}) {
    EXPECT_EQ(ParseStepMinutes(refused), std::nullopt) << refused;
  }
}

// Each case counts from `from` by whole steps: the instant `index` steps on
// and the number of instants up to `to`.
TEST(InstantSeries, LandsOnWholeMinutesAcrossCalendarEdges) {
  struct Case {
    const char* what;
    UtcMinute from;
    UtcMinute to;
    std::int64_t stepMinutes;
    std::int64_t index;
    UtcMinute expected;
    std::int64_t count;
  };
  const Case cases[] = {
      {"odd minutes", {2026, 1, 1, 0, 0}, {2026, 1, 31, 0, 0}, 7, 1000, {2026, 1, 5, 20, 40}, 6172},
      {"month end", {2026, 1, 31, 23, 0}, {2026, 2, 1, 1, 0}, 60, 1, {2026, 2, 1, 0, 0}, 3},
      {"year end", {2026, 12, 31, 23, 59}, {2027, 1, 1, 0, 0}, 1, 1, {2027, 1, 1, 0, 0}, 2},
      {"Gregorian leap day",
       {2024, 2, 28, 0, 0},
       {2024, 3, 1, 0, 0},
       1440,
       1,
       {2024, 2, 29, 0, 0},
       3},
      {"Gregorian century",
       {2100, 2, 28, 0, 0},
       {2100, 3, 1, 0, 0},
       1440,
       1,
       {2100, 3, 1, 0, 0},
       2},
      {"Julian century leap day",
       {1500, 2, 28, 0, 0},
       {1500, 3, 1, 0, 0},
       1440,
       1,
       {1500, 2, 29, 0, 0},
       3},
      {"calendar reform",
       {1582, 10, 4, 12, 0},
       {1582, 10, 31, 0, 0},
       1440,
       1,
       {1582, 10, 15, 12, 0},
       17},
      {"into year 0", {-1, 12, 31, 6, 0}, {0, 1, 1, 6, 0}, 720, 2, {0, 1, 1, 6, 0}, 3},
      {"a century hourly",
       {2000, 1, 1, 0, 0},
       {2100, 1, 1, 0, 0},
       60,
       876600,
       {2100, 1, 1, 0, 0},
       876601},
      {"a common year hourly",
       {2026, 1, 1, 0, 0},
       {2026, 12, 31, 23, 59},
       60,
       8759,
       {2026, 12, 31, 23, 0},
       8760},
      {"a leap year daily",
       {2024, 1, 1, 0, 0},
       {2024, 12, 31, 23, 59},
       1440,
       365,
       {2024, 12, 31, 0, 0},
       366},
      {"a single instant", {2026, 5, 5, 5, 5}, {2026, 5, 5, 5, 5}, 1440, 0, {2026, 5, 5, 5, 5}, 1},
  };
  for (const Case& c : cases) {
    const InstantSeries series = SeriesFromTo(c.from, c.to, c.stepMinutes);
    EXPECT_EQ(series.count, c.count) << c.what;
    EXPECT_EQ(InstantAt(series, c.index), c.expected) << c.what;
  }
  EXPECT_EQ(SeriesFromTo({2026, 3, 1, 0, 0}, {2026, 2, 28, 23, 59}, 1).count, 0);
  EXPECT_EQ(MinutesBetween({1582, 10, 4, 23, 59}, {1582, 10, 15, 0, 0}), 1);
}

}  // namespace
}  // namespace helidisk
