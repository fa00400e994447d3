#include "imagegeometry.h"

#include <cmath>
#include <cstdio>

#include "astronom.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

// IAU 2012 Resolution B2.
constexpr double kMetresPerAu = 149597870700.0;
constexpr double kArcsecPerRad = RadToDeg * ArcSecondsPerDegree;

}  // namespace

std::string FitsDateText(double julianDay) {
  const CalendarInstant instant = CalendarInstantOf(julianDay);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%06.3f", instant.year, instant.month,
                instant.day, static_cast<int>(instant.hours), static_cast<int>(instant.minutes),
                instant.seconds);
  return text;
}

std::string CardValueText(const GeometryCard& card) {
  if (const auto* text = std::get_if<std::string>(&card.value)) return *text;
  char number[32];
  std::snprintf(number, sizeof number, "%.15G", std::get<double>(card.value));
  return number;
}

std::vector<GeometryCard> GeometryCards(const PictureGeometry& geometry) {
  const SunEphemeris& sun = geometry.sun;
  const double semiDiameterArcsec = SemiDiameterArcSeconds(sun.distanceAu);
  const double projectedRadiusArcsec = std::tan(semiDiameterArcsec / kArcsecPerRad) * kArcsecPerRad;
  const double arcsecPerPx = projectedRadiusArcsec / geometry.radiusPx;
  const double distanceM = sun.distanceAu * kMetresPerAu;
  const std::string arcsec = "arcsec";
  return {
      {"DATE-OBS", FitsDateText(sun.julianDay), "instant shown, UT"},
      {"CTYPE1", std::string("HPLN-TAN"), "helioprojective longitude"},
      {"CTYPE2", std::string("HPLT-TAN"), "helioprojective latitude"},
      {"CUNIT1", arcsec, ""},
      {"CUNIT2", arcsec, ""},
      // FITS counts pixels from 1 and its rows upward.
      {"CRPIX1", geometry.centreXPx + 1, "Sun's centre"},
      {"CRPIX2", geometry.heightPx - geometry.centreYPx, "Sun's centre"},
      {"CRVAL1", 0.0, ""},
      {"CRVAL2", 0.0, ""},
      {"CDELT1", arcsecPerPx, "arcsec per pixel"},
      {"CDELT2", arcsecPerPx, "arcsec per pixel"},
      // Adding zero turns -0 into 0.
      {"CROTA2", -geometry.northTurnDeg + 0.0, "deg"},
      {"RSUN_OBS", semiDiameterArcsec, "apparent solar radius, arcsec"},
      {"RSUN_REF", distanceM * std::sin(semiDiameterArcsec / kArcsecPerRad), "solar radius, m"},
      {"DSUN_OBS", distanceM, "observer to Sun's centre, m"},
      {"HGLT_OBS", sun.b0Rad * RadToDeg, "observer's Stonyhurst latitude (B0), deg"},
      {"HGLN_OBS", 0.0, "observer's Stonyhurst longitude, deg"},
      {"CRLN_OBS", sun.l0Rad * RadToDeg, "observer's Carrington longitude (L0), deg"},
  };
}

}  // namespace helidisk
