#include "instantsteps.h"

#include "astronom.h"
#include "checked.h"

namespace helidisk {

namespace {

// The hours from 1 January, 0 h UT, of the year to that of the next: the
// two Julian days end in .5 and their difference is exact.
double HoursInYear(std::int32_t year) {
  double start = 0;
  double end = 0;
  DateToJulianDay(year, 1, 1, 0.0, 0.0, 0.0, start);
  DateToJulianDay(CheckedAdd(year, 1), 1, 1, 0.0, 0.0, 0.0, end);
  return (end - start) * kHoursPerDay;
}

}  // namespace

YearHours SteppedYearHours(const YearHours& from, double stepHours) {
  YearHours stepped{from.year, from.hours + stepHours};
  while (stepped.hours < 0) {
    stepped.year = CheckedSub(stepped.year, 1);
    stepped.hours += HoursInYear(stepped.year);
  }
  for (double length = HoursInYear(stepped.year); stepped.hours >= length;
       length = HoursInYear(stepped.year)) {
    stepped.hours -= length;
    stepped.year = CheckedAdd(stepped.year, 1);
  }
  return stepped;
}

}  // namespace helidisk
