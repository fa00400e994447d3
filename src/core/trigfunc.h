// Angle constants and the trigonometric helpers of the ephemeris.
#pragma once

#include <cstdint>
#include <numbers>

namespace helidisk {

inline constexpr double Pi = std::numbers::pi;
inline constexpr double TwoPi = 2 * std::numbers::pi;
inline constexpr double DegToRad = std::numbers::pi / 180;
inline constexpr double RadToDeg = 180 / std::numbers::pi;
inline constexpr double RadToHours = 12 / std::numbers::pi;

// Grid angles and the differential shift are counted in whole arc seconds.
inline constexpr std::int32_t ArcSecondsPerDegree = 3600;

// An angle in arc seconds as radians, divided in this order so that every
// caller gets the same bits.
inline constexpr double ArcSecondsToRadians(double arcSeconds) {
  return arcSeconds / ArcSecondsPerDegree * DegToRad;
}

// The angle of the direction (x, y) in radians, -pi ... pi; the sine-like
// component comes first.  A zero y of either sign with negative x gives +pi.
// Built from the one-argument arctangent, by quadrant, so that every result
// is the one the ephemeris was first computed and checked with.
double FullArcTan(double y, double x);

// The arcsine in radians for any s, clamped to -1 ... 1 first; taken as
// arctan(s / sqrt(1 - s^2)) for the same reason.
double ClampedArcSin(double s);

// x reduced by whole multiples of m (m > 0) into 0 ... m.
double PositiveMod(double x, double m);

}  // namespace helidisk
