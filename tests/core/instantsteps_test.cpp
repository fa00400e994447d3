#include "instantsteps.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "checked.h"

namespace helidisk {
namespace {

TEST(InstantStepsTest, StepsCrossTheTurnOfTheYearByItsExactLength) {
  struct Case {
    std::int32_t year;
    double hours;
    double stepHours;
    std::int32_t steppedYear;
    double steppedHours;
  };
  const Case cases[] = {
      {2026, 100, kHourStepHours, 2026, 101},
      {2026, 100, kDayStepHours, 2026, 124},
      {2026, 0, -kHourStepHours, 2025, 8759},
      {2024, 8783, kHourStepHours, 2025, 0},     // a leap year has 8784 hours
      {2025, 8770, -kDayStepHours, 2025, 8746},  // 2025 has 8760: not past its end
      {2026, 8750, kCarringtonRotationStepHours, 2027, 8750 + 654.6072 - 8760},
      {2025, 10, -kCarringtonRotationStepHours, 2024, 10 - 654.6072 + 8784},
      // 1582 lost ten days to the Gregorian reform: 355 days.
      {1582, 8519, kHourStepHours, 1583, 0},
      {1583, 0, -kHourStepHours, 1582, 8519},
      {2026, 5, 3 * 8760.0, 2028, 8765},  // 2028, a leap year, still holds it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << " + " << c.hours << " h by " << c.stepHours);
    const YearHours stepped = SteppedYearHours({c.year, c.hours}, c.stepHours);
    EXPECT_EQ(stepped.year, c.steppedYear);
    EXPECT_NEAR(stepped.hours, c.steppedHours, 1e-9);
  }
}

TEST(InstantStepsTest, WholeHoursStayWholeOverTheYear) {
  const YearHours stepped = SteppedYearHours({2023, 8759}, 2 * kDayStepHours);
  EXPECT_EQ(stepped.year, 2024);
  EXPECT_EQ(stepped.hours, 47.0);
}

TEST(InstantStepsTest, StepBeyondTheLastYearIsAnOverflow) {
  EXPECT_THROW(SteppedYearHours({INT32_MAX, 8700}, kCarringtonRotationStepHours), RunError);
  EXPECT_THROW(SteppedYearHours({INT32_MIN, 5}, -kDayStepHours), RunError);
}

}  // namespace
}  // namespace helidisk
