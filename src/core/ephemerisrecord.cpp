#include "ephemerisrecord.h"

#include <cstdio>
#include <cstdlib>

#include "carrington.h"
#include "trigfunc.h"

namespace helidisk {

namespace {}  // namespace

std::string UtcMinuteText(const CalendarInstant& instant) {
  char text[48];
  std::snprintf(text, sizeof text, "%s%04lld-%02d-%02dT%02d:%02dZ", instant.year < 0 ? "-" : "",
                std::llabs(static_cast<long long>(instant.year)), instant.month, instant.day,
                static_cast<int>(instant.hours), static_cast<int>(instant.minutes));
  return text;
}

EphemerisRecord EphemerisRecordOf(const CalendarInstant& instant, const SunEphemeris& sun) {
  EphemerisRecord record;
  record.utc = UtcMinuteText(instant);
  record.jd = sun.julianDay;
  record.raHours = sun.raRad * RadToHours;
  record.decDeg = sun.decRad * RadToDeg;
  record.distanceAu = sun.distanceAu;
  record.semidiameterArcsec = SemiDiameterArcSeconds(sun.distanceAu);
  record.pDeg = sun.pRad * RadToDeg;
  record.b0Deg = sun.b0Rad * RadToDeg;
  record.l0Deg = sun.l0Rad * RadToDeg;
  const CarringtonRotation rotation = CarringtonRotationOf(sun.julianDay, sun.l0Rad);
  record.carringtonRotation = rotation.number;
  record.carringtonFraction = rotation.fraction;
  return record;
}

}  // namespace helidisk
