#include "timescales.h"

#include <erfa.h>

#include <initializer_list>
#include <iterator>

namespace helidisk {

namespace {

// TT - TAI, fixed by the definition of TT.
constexpr double kTtMinusTaiSeconds = 32.184;
constexpr double kJulianDayOf2000January1 = 2451544.5;
constexpr double kDaysPerJulianYear = 365.25;
// The first year of eraDat's table.
constexpr int kFirstYearOfLeapSecondTable = 1960;

// TAI - UTC from eraDat, and whether ERFA vouches for it (status 0).
struct TaiMinusUtc {
  double seconds = 0;
  bool tabulated = false;
};

TaiMinusUtc TaiMinusUtcOf(double julianDayUtc) {
  int year = 0;
  int month = 0;
  int day = 0;
  double fractionOfDay = 0;
  TaiMinusUtc result;
  if (eraJd2cal(julianDayUtc, 0, &year, &month, &day, &fractionOfDay) != 0) return result;
  result.tabulated = eraDat(year, month, day, fractionOfDay, &result.seconds) == 0;
  return result;
}

double PowerSum(double t, std::initializer_list<double> coefficients) {
  // Horner's rule over the coefficients from the constant term up.
  double sum = 0;
  for (auto it = std::rbegin(coefficients); it != std::rend(coefficients); ++it) {
    sum = sum * t + *it;
  }
  return sum;
}

}  // namespace

double EspenakMeeusDeltaTSeconds(double decimalYear) {
  const double y = decimalYear;
  if (y < 1920) return PowerSum(y - 1900, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197});
  if (y < 1941) return PowerSum(y - 1920, {21.20, 0.84493, -0.076100, 0.0020936});
  if (y < 1961) return PowerSum(y - 1950, {29.07, 0.407, -1.0 / 233, 1.0 / 2547});
  if (y < 1986) return PowerSum(y - 1975, {45.45, 1.067, -1.0 / 260, -1.0 / 718});
  if (y < 2005) {
    return PowerSum(y - 2000, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599});
  }
  if (y < 2050) return PowerSum(y - 2000, {62.92, 0.32217, 0.005589});
  const double u = (y - 1820) / 100;
  return -20 + 32 * u * u - 0.5628 * (2150 - y);
}

double DecimalYearOfJulianDay(double julianDay) {
  return 2000 + (julianDay - kJulianDayOf2000January1) / kDaysPerJulianYear;
}

double EndOfLeapSecondTableJulianDay() {
  // eraDat stops vouching a few years after ERFA's release; found once by
  // asking it year by year.
  static const double end = [] {
    int year = kFirstYearOfLeapSecondTable;
    double seconds = 0;
    while (eraDat(year, 1, 1, 0, &seconds) == 0) ++year;
    double mjd0 = 0;
    double mjd = 0;
    eraCal2jd(year, 1, 1, &mjd0, &mjd);
    return mjd0 + mjd;
  }();
  return end;
}

double TtMinusUtcSeconds(double julianDayUtc) {
  const TaiMinusUtc tai = TaiMinusUtcOf(julianDayUtc);
  if (tai.tabulated) return tai.seconds + kTtMinusTaiSeconds;
  const double year = DecimalYearOfJulianDay(julianDayUtc);
  if (year < kFirstYearOfLeapSecondTable) return EspenakMeeusDeltaTSeconds(year);
  // Past the table: the prediction's growth added to the last tabulated
  // offset, which eraDat still returns with its warning.
  const double end = EndOfLeapSecondTableJulianDay();
  return tai.seconds + kTtMinusTaiSeconds + EspenakMeeusDeltaTSeconds(year) -
         EspenakMeeusDeltaTSeconds(DecimalYearOfJulianDay(end));
}

}  // namespace helidisk
