// From Coordinated Universal Time to Terrestrial Time, the argument of the
// precise solar ephemeris.
//
// From 1960 to the end of ERFA's leap-second table, TT - UTC = (TAI - UTC)
// + 32.184 s with TAI - UTC from eraDat: exact by definition (the drifting
// offsets of 1960-1972 included).  Before 1960 the instant is read as
// Universal Time and TT - UT = Delta T from the polynomials of Espenak &
// Meeus (NASA, "Polynomial expressions for Delta T", 2006), fitted to the
// observed values, uncertain by well under a second in 1900-1960.  Beyond
// the table Delta T is a prediction: the same authors' polynomials, shifted
// by a constant so that they meet the table's last value without a jump and
// keep only their predicted rate of change.  Its error grows with the
// distance from today, to an estimated minute or more by 2100 (L0 moves
// 0.59" per second of time).
#pragma once

namespace helidisk {

// Espenak & Meeus's Delta T = TT - UT1 in seconds for a decimal year in
// 1900 ... 2150.
double EspenakMeeusDeltaTSeconds(double decimalYear);

// The decimal year of a Julian day: 2000.0 at 1 January 2000, 0 h.
double DecimalYearOfJulianDay(double julianDay);

// The first Julian day (UTC, 0 h of 1 January) for which ERFA's leap-second
// table no longer vouches for TAI - UTC.
double EndOfLeapSecondTableJulianDay();

// TT - UTC in seconds at an instant given as a Julian day in UTC.
double TtMinusUtcSeconds(double julianDayUtc);

inline constexpr double kSecondsPerDay = 86400;
inline double TerrestrialTimeOfUtc(double julianDayUtc) {
  return julianDayUtc + TtMinusUtcSeconds(julianDayUtc) / kSecondsPerDay;
}

}  // namespace helidisk
