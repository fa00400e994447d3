#include "ephemerischoice.h"

#include <cmath>
#include <cstdio>

#include "astronom.h"
#include "precisesun.h"

namespace helidisk {

const char* EphemerisTheoryName(EphemerisTheory theory) {
  return theory == EphemerisTheory::Precise ? "precise" : "standard";
}

std::optional<EphemerisTheory> EphemerisTheoryNamed(const std::string& name) {
  if (name == "standard") return EphemerisTheory::Standard;
  if (name == "precise") return EphemerisTheory::Precise;
  return std::nullopt;
}

bool ChoiceServes(const EphemerisChoice& choice, double julianDay) {
  return choice.theory == EphemerisTheory::Standard || PreciseEphemerisServes(julianDay);
}

std::string OutsidePreciseRangeMessage(double julianDay) {
  std::string instant = "a Julian day that is no date";
  if (std::isfinite(julianDay) && std::abs(julianDay) < 1e9) {
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
    double hours = 0;
    double minutes = 0;
    double seconds = 0;
    JulianDayToDate(year, month, day, hours, minutes, seconds, julianDay);
    char text[48];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02.0f:%02.0f UTC", year, month, day, hours,
                  minutes);
    instant = text;
  }
  return std::string("the precise ephemeris serves ") + kPreciseRangeText + " only, not " +
         instant + "; the standard ephemeris serves any instant";
}

SunEphemeris ComputeSunWith(const EphemerisChoice& choice, double julianDay) {
  if (choice.theory == EphemerisTheory::Standard) return ComputeSun(julianDay);
  if (!PreciseEphemerisServes(julianDay)) {
    throw EphemerisRangeError(OutsidePreciseRangeMessage(julianDay));
  }
  return ComputePreciseSun(julianDay, choice.stellarAberration);
}

}  // namespace helidisk
