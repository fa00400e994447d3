// The precise solar ephemeris: the Sun's apparent place, distance and
// physical ephemeris to a fraction of an arc second, on ERFA (the IAU's
// SOFA routines).
//
// Earth: heliocentric and barycentric position and velocity from eraEpv00
// (VSOP2000 fit, a few km); precession IAU 2006 (Fukushima-Williams angles,
// eraPfw06) with nutation IAU 2000B (eraNut00b, 1 mas); annual aberration
// by eraAb.  Rotation of the Sun: the IAU Working Group's elements
// (Archinal et al. 2018): north pole at RA 286.13 deg, Dec 63.87 deg
// (ICRF), prime meridian W = 84.176 deg + 14.1844 deg/day from J2000.0,
// which is the Carrington system.
//
// Conventions, as SunPy's sunpy.coordinates.sun: L0 and B0 are the
// Carrington longitude and latitude of the Earth seen from the Sun's centre,
// with the Sun's rotation taken back by the light time from its near
// surface to the Earth; P is the position angle of the solar north pole
// from the true celestial pole of date at the Sun's apparent place; RA and
// Dec are apparent, true equator and equinox of date; the distance is the
// geometric one.  With stellar aberration (as the Astronomical Almanac
// prints L0 and B0) the Earth's direction is taken from the aberrated
// place of the Sun instead, which lowers L0 by about 20.5".
//
// Time: UTC as in timescales.h; TDB - TT (under 1.7 ms) moves the Earth by
// less than 60 m, so TT serves as TDB.
#pragma once

#include <array>
#include <cstdint>

#include "sun.h"

namespace helidisk {

// The dates the theory serves, UTC: 1900-01-01 0 h to 2100-12-31 24 h.
inline constexpr double kFirstPreciseJulianDay = 2415020.5;
inline constexpr double kEndPreciseJulianDay = 2488434.5;
inline constexpr const char* kPreciseRangeText = "1900-01-01 to 2100-12-31 (UTC)";
constexpr bool PreciseEphemerisServes(double julianDayUtc) {
  return julianDayUtc >= kFirstPreciseJulianDay && julianDayUtc < kEndPreciseJulianDay;
}

// The slowly changing part of the ephemeris at one instant of TT: what is
// left once the Sun's rotation is taken out.  Angles in radians.
struct SunGeometry {
  double distanceAu = 0;
  double raRad = 0;
  double decRad = 0;
  double pRad = 0;
  double b0Rad = 0;
  // The Earth's longitude seen from the Sun, counted in the solar equator
  // from its ascending node on the ICRF equator.
  double nodeLongitudeRad = 0;
};

// Straight from ERFA, some 40 us.
SunGeometry SunGeometryAtTt(double julianDayTt, bool stellarAberration);

// The full ephemeris of an instant from its geometry: L0 and the reduced
// angles.  julianDay stays UTC.
SunEphemeris SunEphemerisOfGeometry(double julianDayUtc, double julianDayTt,
                                    const SunGeometry& geometry);

// The ephemeris for a Julian day in UTC, straight from ERFA.
SunEphemeris ComputePreciseSunDirect(double julianDayUtc, bool stellarAberration);

// The same from Chebyshev series fitted to SunGeometryAtTt over segments of
// sixteen days, built as instants reach them; agrees with the direct
// computation to some 10 micro-arc-seconds.  One series set per thread.
SunEphemeris ComputePreciseSun(double julianDayUtc, bool stellarAberration);

// Chebyshev series of the geometry over one segment of TT.
class SunGeometrySeries {
 public:
  static constexpr std::int32_t kTerms = 14;
  static constexpr double kSegmentDays = 16;

  // Fits the series to the segment that holds the instant.
  SunGeometrySeries(double julianDayTt, bool stellarAberration);

  bool Covers(double julianDayTt, bool stellarAberration) const {
    return stellarAberration == stellarAberration_ && julianDayTt >= startTt_ &&
           julianDayTt < startTt_ + kSegmentDays;
  }
  SunGeometry At(double julianDayTt) const;

 private:
  using Coefficients = std::array<double, kTerms>;
  static constexpr std::int32_t kQuantities = 6;

  double startTt_ = 0;
  bool stellarAberration_ = false;
  std::array<Coefficients, kQuantities> series_{};
};

}  // namespace helidisk
