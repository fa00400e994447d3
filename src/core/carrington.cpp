#include "carrington.h"

#include <cmath>
#include <numbers>

#include "checked.h"

namespace helidisk {

namespace {

// Rotation C begins near the Julian day 2398140.2270 + 27.2752316 C
// (Meeus, Astronomical Algorithms, ch. 29): the mean synodic period from
// Carrington's epoch.
constexpr double kRotationEpochJulianDay = 2398140.2270;
constexpr double kSynodicPeriodDays = 27.2752316;

}  // namespace

CarringtonRotation CarringtonRotationOf(double julianDay, double l0Rad) {
  // The part of the rotation done follows from L0 exactly; the mean
  // rotation rate only has to pick the right whole number, which it does
  // to within a day or so of the true boundary.
  const double done = (2 * std::numbers::pi - l0Rad) / (2 * std::numbers::pi);
  const double approximate = (julianDay - kRotationEpochJulianDay) / kSynodicPeriodDays;
  CarringtonRotation rotation;
  rotation.number = RoundToInt32(approximate - done);
  rotation.fraction = rotation.number + done;
  return rotation;
}

}  // namespace helidisk
