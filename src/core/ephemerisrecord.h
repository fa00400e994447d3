// The figures of one instant as the command line hands them out (JSON,
// tables): the instant, the Sun's place and physical ephemeris and the
// Carrington rotation, in units named for each.
#pragma once

#include <cstdint>
#include <string>

#include "astronom.h"
#include "sun.h"

namespace helidisk {

struct EphemerisRecord {
  std::string utc;  // ISO 8601 to the minute, "YYYY-MM-DDTHH:MMZ"
  double jd = 0;
  double raHours = 0;
  double decDeg = 0;
  double distanceAu = 0;
  double semidiameterArcsec = 0;
  double pDeg = 0;
  double b0Deg = 0;
  double l0Deg = 0;
  std::int32_t carringtonRotation = 0;
  double carringtonFraction = 0;
};

EphemerisRecord EphemerisRecordOf(const CalendarInstant& instant, const SunEphemeris& sun);

// "YYYY-MM-DDTHH:MMZ": the year with at least four digits and its sign when
// negative.
std::string UtcMinuteText(const CalendarInstant& instant);

}  // namespace helidisk
