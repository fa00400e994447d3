#include "parallactic.h"

#include <cmath>

#include "sun.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

constexpr double kJ2000JulianDay = 2451545.0;
constexpr double kDaysPerJulianCentury = 36525;

// The angle reduced to -180 ... 180 degrees.
double SignedDegrees(double degrees) { return std::remainder(degrees, 360.0); }

}  // namespace

double GreenwichMeanSiderealDeg(double julianDay) {
  const double days = julianDay - kJ2000JulianDay;
  const double t = days / kDaysPerJulianCentury;
  const double degrees =
      280.46061837 + 360.98564736629 * days + 0.000387933 * t * t - t * t * t / 38710000;
  const double reduced = std::fmod(degrees, 360.0);
  return reduced < 0 ? reduced + 360 : reduced;
}

double ParallacticAngleDeg(const SunEphemeris& sun, double latitudeDeg, double longitudeDeg) {
  const double hourAngle =
      (GreenwichMeanSiderealDeg(sun.julianDay) + longitudeDeg) / RadToDeg - sun.raRad;
  const double latitude = latitudeDeg / RadToDeg;
  return std::atan2(std::sin(hourAngle), std::tan(latitude) * std::cos(sun.decRad) -
                                             std::sin(sun.decRad) * std::cos(hourAngle)) *
         RadToDeg;
}

double SolarParallacticAngleDeg(double latitudeDeg, double longitudeDeg, double julianDay) {
  return ParallacticAngleDeg(ComputeSun(julianDay), latitudeDeg, longitudeDeg);
}

double ZenithToSolarNorthDeg(double latitudeDeg, double longitudeDeg, double julianDay) {
  const SunEphemeris sun = ComputeSun(julianDay);
  return SignedDegrees(ParallacticAngleDeg(sun, latitudeDeg, longitudeDeg) - sun.pRad * RadToDeg);
}

}  // namespace helidisk
