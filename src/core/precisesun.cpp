#include "precisesun.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <numbers>
#include <optional>

#include "timescales.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

using Vector = std::array<double, 3>;

constexpr double kModifiedJulianDayZero = 2400000.5;
constexpr double kJ2000JulianDay = 2451545.0;

// IAU rotation elements of the Sun (Archinal et al. 2018, Celest. Mech.
// Dyn. Astr. 130:22), ICRF.
constexpr double kPoleRaDeg = 286.13;
constexpr double kPoleDecDeg = 63.87;
constexpr double kPrimeMeridianAtJ2000Deg = 84.176;
constexpr double kSiderealRotationDegPerDay = 14.1844;

// The nominal solar radius (IAU 2015 Resolution B3) and the speed of light.
constexpr double kSolarRadiusKm = 695700;
constexpr double kAstronomicalUnitKm = 149597870.7;
constexpr double kSpeedOfLightKmPerS = 299792.458;

double Dot(const Vector& a, const Vector& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

Vector Cross(const Vector& a, const Vector& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vector Scaled(const Vector& a, double factor) {
  return {a[0] * factor, a[1] * factor, a[2] * factor};
}

Vector Sum(const Vector& a, const Vector& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }

Vector Unit(const Vector& a) { return Scaled(a, 1 / std::sqrt(Dot(a, a))); }

Vector Rotated(double (&matrix)[3][3], const Vector& a) {
  Vector result{};
  for (std::size_t row = 0; row < 3; ++row) {
    result[row] = matrix[row][0] * a[0] + matrix[row][1] * a[1] + matrix[row][2] * a[2];
  }
  return result;
}

// The solar equator's axes in the ICRF: its pole, its ascending node on the
// ICRF equator (RA of the pole + 90 deg) and the axis 90 deg east of the node.
struct SolarEquatorAxes {
  Vector pole;
  Vector node;
  Vector quadrature;
};

const SolarEquatorAxes& SolarAxes() {
  static const SolarEquatorAxes axes = [] {
    const double ra = kPoleRaDeg * DegToRad;
    const double dec = kPoleDecDeg * DegToRad;
    SolarEquatorAxes made;
    made.pole = {std::cos(dec) * std::cos(ra), std::cos(dec) * std::sin(ra), std::sin(dec)};
    made.node = {-std::sin(ra), std::cos(ra), 0};
    made.quadrature = Cross(made.pole, made.node);
    return made;
  }();
  return axes;
}

// The Sun's direction seen from the Earth, unit vectors in the GCRS.
struct SunDirections {
  Vector geometric;
  Vector apparent;  // with annual aberration
  // From the apparent centre to the apparent north pole of the disk, so
  // that aberration turns the axis as the eye sees it.
  Vector apparentAxis;
  double distanceAu = 0;
};

// Annual aberration of a direction seen from the Earth at a distance.
class Aberration {
 public:
  explicit Aberration(const double (&barycentricVelocityAuPerDay)[3]) {
    // The Earth's barycentric velocity in units of c.
    constexpr double kAuPerDayInC = ERFA_AULT / ERFA_DAYSEC;
    for (std::size_t axis = 0; axis < 3; ++axis) {
      velocity_[axis] = barycentricVelocityAuPerDay[axis] * kAuPerDayInC;
    }
    reciprocalLorentz_ = std::sqrt(1 - eraPm(velocity_) * eraPm(velocity_));
  }

  Vector Apparent(const Vector& direction, double distanceAu) {
    double natural[3] = {direction[0], direction[1], direction[2]};
    double apparent[3];
    eraAb(natural, velocity_, distanceAu, reciprocalLorentz_, apparent);
    return {apparent[0], apparent[1], apparent[2]};
  }

 private:
  double velocity_[3] = {};
  double reciprocalLorentz_ = 1;
};

SunDirections SunDirectionsAtTt(double julianDayTt) {
  double heliocentric[2][3];
  double barycentric[2][3];
  eraEpv00(kModifiedJulianDayZero, julianDayTt - kModifiedJulianDayZero, heliocentric, barycentric);
  SunDirections directions;
  const Vector earth{heliocentric[0][0], heliocentric[0][1], heliocentric[0][2]};
  directions.distanceAu = std::sqrt(Dot(earth, earth));
  directions.geometric = Scaled(earth, -1 / directions.distanceAu);

  Aberration aberration(barycentric[1]);
  directions.apparent = aberration.Apparent(directions.geometric, directions.distanceAu);
  const Vector northPole =
      Sum(Scaled(earth, -1), Scaled(SolarAxes().pole, kSolarRadiusKm / kAstronomicalUnitKm));
  const double northPoleAu = std::sqrt(Dot(northPole, northPole));
  directions.apparentAxis =
      Sum(aberration.Apparent(Scaled(northPole, 1 / northPoleAu), northPoleAu),
          Scaled(directions.apparent, -1));
  return directions;
}

// GCRS to the true equator and equinox of date: IAU 2006 precession with
// IAU 2000B nutation.
void TrueEquatorMatrix(double julianDayTt, double (&matrix)[3][3]) {
  const double mjd = julianDayTt - kModifiedJulianDayZero;
  double gammaBar = 0;
  double phiBar = 0;
  double psiBar = 0;
  double epsilonA = 0;
  eraPfw06(kModifiedJulianDayZero, mjd, &gammaBar, &phiBar, &psiBar, &epsilonA);
  double nutationLongitude = 0;
  double nutationObliquity = 0;
  eraNut00b(kModifiedJulianDayZero, mjd, &nutationLongitude, &nutationObliquity);
  eraFw2m(gammaBar, phiBar, psiBar + nutationLongitude, epsilonA + nutationObliquity, matrix);
}

// The position angle of a direction's projection on the sky at a place,
// from north through east; both in the same equatorial frame.
double PositionAngle(const Vector& place, const Vector& direction) {
  const Vector east = Unit(Vector{-place[1], place[0], 0});
  const Vector north = Cross(place, east);
  return std::atan2(Dot(direction, east), Dot(direction, north));
}

// The light time from the Sun's near surface to the Earth, in days.
double NearSurfaceLightTimeDays(double distanceAu) {
  return (distanceAu * kAstronomicalUnitKm - kSolarRadiusKm) / kSpeedOfLightKmPerS / kSecondsPerDay;
}

double UnwrappedNear(double angleRad, double referenceRad) {
  return angleRad - TwoPi * std::round((angleRad - referenceRad) / TwoPi);
}

}  // namespace

SunGeometry SunGeometryAtTt(double julianDayTt, bool stellarAberration) {
  const SunDirections sun = SunDirectionsAtTt(julianDayTt);
  const SolarEquatorAxes& axes = SolarAxes();
  const Vector earthFromSun = Scaled(stellarAberration ? sun.apparent : sun.geometric, -1);

  SunGeometry geometry;
  geometry.distanceAu = sun.distanceAu;
  geometry.b0Rad = std::asin(Dot(earthFromSun, axes.pole));
  geometry.nodeLongitudeRad =
      std::atan2(Dot(earthFromSun, axes.quadrature), Dot(earthFromSun, axes.node));

  double toTrueEquator[3][3];
  TrueEquatorMatrix(julianDayTt, toTrueEquator);
  const Vector place = Rotated(toTrueEquator, sun.apparent);
  geometry.raRad = std::atan2(place[1], place[0]);
  geometry.decRad = std::asin(place[2]);
  geometry.pRad = PositionAngle(place, Rotated(toTrueEquator, sun.apparentAxis));
  return geometry;
}

SunEphemeris SunEphemerisOfGeometry(double julianDayUtc, double julianDayTt,
                                    const SunGeometry& geometry) {
  // The meridian facing the Earth now is where the Sun's rotation stood when
  // the light left its surface.
  const double emissionTt = julianDayTt - NearSurfaceLightTimeDays(geometry.distanceAu);
  const double primeMeridianDeg =
      kPrimeMeridianAtJ2000Deg + kSiderealRotationDegPerDay * (emissionTt - kJ2000JulianDay);
  SunEphemeris sun;
  sun.julianDay = julianDayUtc;
  sun.distanceAu = geometry.distanceAu;
  sun.raRad = PositiveMod(geometry.raRad, TwoPi);
  sun.decRad = geometry.decRad;
  sun.pRad = geometry.pRad;
  sun.b0Rad = geometry.b0Rad;
  sun.l0Rad =
      PositiveMod(geometry.nodeLongitudeRad - PositiveMod(primeMeridianDeg, 360) * DegToRad, TwoPi);
  return sun;
}

SunEphemeris ComputePreciseSunDirect(double julianDayUtc, bool stellarAberration) {
  const double julianDayTt = TerrestrialTimeOfUtc(julianDayUtc);
  return SunEphemerisOfGeometry(julianDayUtc, julianDayTt,
                                SunGeometryAtTt(julianDayTt, stellarAberration));
}

SunGeometrySeries::SunGeometrySeries(double julianDayTt, bool stellarAberration)
    : startTt_(kJ2000JulianDay +
               std::floor((julianDayTt - kJ2000JulianDay) / kSegmentDays) * kSegmentDays),
      stellarAberration_(stellarAberration) {
  // Samples at the Chebyshev nodes of the segment; the angles that wrap are
  // made continuous first.
  std::array<std::array<double, kTerms>, kQuantities> samples{};
  for (std::int32_t j = 0; j < kTerms; ++j) {
    const double x = std::cos(std::numbers::pi * (j + 0.5) / kTerms);
    const SunGeometry g = SunGeometryAtTt(startTt_ + (x + 1) / 2 * kSegmentDays, stellarAberration);
    const auto node = static_cast<std::size_t>(j);
    const double previousRa = node == 0 ? g.raRad : samples[1][node - 1];
    const double previousLongitude = node == 0 ? g.nodeLongitudeRad : samples[5][node - 1];
    samples[0][node] = g.distanceAu;
    samples[1][node] = UnwrappedNear(g.raRad, previousRa);
    samples[2][node] = g.decRad;
    samples[3][node] = g.pRad;
    samples[4][node] = g.b0Rad;
    samples[5][node] = UnwrappedNear(g.nodeLongitudeRad, previousLongitude);
  }
  for (std::size_t q = 0; q < kQuantities; ++q) {
    for (std::int32_t k = 0; k < kTerms; ++k) {
      double sum = 0;
      for (std::int32_t j = 0; j < kTerms; ++j) {
        sum += samples[q][static_cast<std::size_t>(j)] *
               std::cos(std::numbers::pi * k * (j + 0.5) / kTerms);
      }
      series_[q][static_cast<std::size_t>(k)] = 2.0 * sum / kTerms;
    }
  }
}

SunGeometry SunGeometrySeries::At(double julianDayTt) const {
  const double x = 2 * (julianDayTt - startTt_) / kSegmentDays - 1;
  std::array<double, kQuantities> values{};
  for (std::size_t q = 0; q < kQuantities; ++q) {
    // Clenshaw's recurrence.
    double b1 = 0;
    double b2 = 0;
    for (std::size_t k = kTerms - 1; k > 0; --k) {
      const double b0 = 2 * x * b1 - b2 + series_[q][k];
      b2 = b1;
      b1 = b0;
    }
    values[q] = x * b1 - b2 + series_[q][0] / 2;
  }
  return {values[0], values[1], values[2], values[3], values[4], values[5]};
}

SunEphemeris ComputePreciseSun(double julianDayUtc, bool stellarAberration) {
  thread_local std::array<std::optional<SunGeometrySeries>, 2> series;
  const double julianDayTt = TerrestrialTimeOfUtc(julianDayUtc);
  std::optional<SunGeometrySeries>& held = series[stellarAberration ? 1 : 0];
  if (!held || !held->Covers(julianDayTt, stellarAberration)) {
    held.emplace(julianDayTt, stellarAberration);
  }
  return SunEphemerisOfGeometry(julianDayUtc, julianDayTt, held->At(julianDayTt));
}

}  // namespace helidisk
