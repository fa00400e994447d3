// The Sun's apparent place, distance and physical ephemeris for one instant.
//
// Solar coordinates: the low-accuracy theory of J. Meeus, Astronomical
// Algorithms (2nd ed., Willmann-Bell 1998), ch. 25 -- mean elements, a
// three-term equation of centre, one term of the Moon's node for nutation and
// aberration, the cubic mean obliquity of ch. 22.  Physical ephemeris: Meeus
// ch. 29, after Carrington's elements of the solar rotation (sidereal period
// 25.38 days, solar equator inclined 7.25 deg, node 73.6667 deg at 1850.0).
//
// Accuracy: about 0.01 deg in the Sun's longitude, so 0.01 ... 0.02 deg in
// P and B0 and 1e-5 AU in the distance.  The Julian day is taken as UT and
// used as dynamical time; the ~1 minute between the two in our era moves L0
// by about 0.01 deg.  Outside the years -4712 ... 9999 the theory's error
// grows without a known bound.
#pragma once

#include <cstdint>

namespace helidisk {

// The theory's intermediate values; angles in radians.
struct SolarTheoryTerms {
  double meanLongitudeRad = 0;      // L, reduced to 0 ... 2 pi
  double meanAnomalyRad = 0;        // M, reduced to 0 ... 2 pi
  double eccentricity = 0;          // e of the Earth's orbit
  double equationOfCentreRad = 0;   // C
  double trueLongitudeRad = 0;      // L + C
  double trueAnomalyRad = 0;        // M + C
  double moonNodeRad = 0;           // Omega, not reduced
  double apparentLongitudeRad = 0;  // lambda
  double meanObliquityRad = 0;      // epsilon0
  double obliquityRad = 0;          // epsilon, with nutation
};

struct SunEphemeris {
  double julianDay = 0;   // UT
  double raRad = 0;       // apparent right ascension, 0 ... 2 pi
  double decRad = 0;      // apparent declination
  double distanceAu = 0;  // Earth-Sun distance
  double pRad = 0;   // position angle of the north pole, from north through east, -pi < P <= pi
  double b0Rad = 0;  // heliographic latitude of the disk centre
  double l0Rad = 0;  // heliographic (Carrington) longitude of the disk centre, 0 ... 2 pi
  SolarTheoryTerms terms;
};

SunEphemeris ComputeSun(double julianDay);

// The years over which the theory's accuracy is known.
inline constexpr std::int32_t kFirstYearOfKnownAccuracy = -4712;
inline constexpr std::int32_t kLastYearOfKnownAccuracy = 9999;
constexpr bool AccuracyKnownFor(std::int32_t year) {
  return year >= kFirstYearOfKnownAccuracy && year <= kLastYearOfKnownAccuracy;
}

// Whether a computed distance can be the Earth's from the Sun (0.983 ...
// 1.017 AU today, with room for the slow change of the orbit): far from our
// era the theory's polynomials run away and give nonsense.
constexpr bool PlausibleSunDistance(double distanceAu) {
  return distanceAu >= 0.95 && distanceAu <= 1.05;
}

// The apparent semi-diameter: 15.996' at one astronomical unit.
inline constexpr double kSemiDiameterAt1AuArcMinutes = 15.996;
inline constexpr double SemiDiameterArcMinutes(double distanceAu) {
  return kSemiDiameterAt1AuArcMinutes / distanceAu;
}
inline constexpr double SemiDiameterArcSeconds(double distanceAu) {
  constexpr double kArcSecondsPerArcMinute = 60;
  return SemiDiameterArcMinutes(distanceAu) * kArcSecondsPerArcMinute;
}

}  // namespace helidisk
