#include "sun.h"

#include <cmath>

#include "trigfunc.h"

namespace helidisk {

SunEphemeris ComputeSun(double julianDay) {
  const double jd = julianDay;
  SunEphemeris sun;
  sun.julianDay = jd;
  SolarTheoryTerms& terms = sun.terms;

  // Rotation elements: theta grows by about 14.18 deg a day and is left
  // unreduced; i is the inclination of the solar equator; k the longitude of
  // its ascending node.
  const double theta = (jd - 2398220) * 360 / 25.38 * DegToRad;
  const double inclination = 7.25 * DegToRad;
  const double node = ((jd - 2396758) * 1.3958333 / 36525 + 73.6667) * DegToRad;

  // Julian centuries from J2000.0.
  const double t = (jd - 2451545) / 36525;
  const double t2 = t * t;

  const double meanLongitudeDeg = 36000.76983 * t + 280.46646 + 0.0003032 * t2;
  terms.meanLongitudeRad = PositiveMod(meanLongitudeDeg, 360) * DegToRad;
  const double meanAnomalyDeg = 35999.05029 * t + 357.52911 - 0.0001537 * t2;
  terms.meanAnomalyRad = PositiveMod(meanAnomalyDeg, 360) * DegToRad;
  terms.eccentricity = 0.016708634 - 0.000042037 * t - 0.0000001267 * t2;

  const double m = terms.meanAnomalyRad;
  terms.equationOfCentreRad =
      (std::sin(m) * (1.914602 - 0.004817 * t - 0.000014 * t2) +
       std::sin(2 * m) * (0.019993 - 0.000101 * t) + std::sin(3 * m) * 0.000289) *
      DegToRad;
  terms.trueLongitudeRad = terms.meanLongitudeRad + terms.equationOfCentreRad;
  terms.trueAnomalyRad = terms.meanAnomalyRad + terms.equationOfCentreRad;

  const double e = terms.eccentricity;
  sun.distanceAu = 1.000001018 * (1 - e * e) / (1 + e * std::cos(terms.trueAnomalyRad));

  // Nutation and aberration in one term of the Moon's node.
  terms.moonNodeRad = (125.04 - 1934.136 * t) * DegToRad;
  terms.apparentLongitudeRad = terms.trueLongitudeRad - 0.00569 * DegToRad -
                               0.00478 * DegToRad * std::sin(terms.moonNodeRad);
  terms.meanObliquityRad = (23.43929111111111 - 0.013004166666666667 * t -
                            0.00000016388888888888888 * t2 + 0.0000005036111111111111 * t2 * t) *
                           DegToRad;
  terms.obliquityRad = terms.meanObliquityRad + 0.00256 * DegToRad * std::cos(terms.moonNodeRad);

  const double lambda = terms.apparentLongitudeRad;
  const double epsilon = terms.obliquityRad;
  sun.raRad =
      PositiveMod(FullArcTan(std::cos(epsilon) * std::sin(lambda), std::cos(lambda)), TwoPi);
  sun.decRad = ClampedArcSin(std::sin(epsilon) * std::sin(lambda));

  // Physical ephemeris: x is the position angle of the ecliptic pole, y that
  // of the solar pole from the ecliptic pole, eta the longitude of the disk
  // centre reckoned from the solar equator's node.
  const double x = PositiveMod(std::atan(-std::cos(lambda) * std::tan(epsilon)), TwoPi);
  const double y = PositiveMod(std::atan(-std::cos(lambda - node) * std::tan(inclination)), TwoPi);
  const double eta =
      FullArcTan(-std::sin(lambda - node) * std::cos(inclination), -std::cos(lambda - node));

  double p = PositiveMod(x + y, TwoPi);
  if (p > Pi) p = p - TwoPi;
  sun.pRad = p;
  sun.b0Rad = ClampedArcSin(std::sin(lambda - node) * std::sin(inclination));
  sun.l0Rad = PositiveMod(eta - theta, TwoPi);
  return sun;
}

}  // namespace helidisk
