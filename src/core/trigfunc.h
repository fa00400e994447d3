// Angle constants and the trigonometric helpers of the ephemeris.
#pragma once

namespace helidisk {

inline constexpr double Pi = 3.141592653589793;
inline constexpr double TwoPi = 6.283185307179586;
inline constexpr double DegToRad = 0.017453292519943295;
inline constexpr double RadToDeg = 57.29577951308232;
inline constexpr double RadToHours = 3.819718634205488;

// The angle of the direction (x, y) in radians, -pi ... pi; the sine-like
// component comes first.  A zero y of either sign with negative x gives +pi.
double FullArcTan(double y, double x);

// The arcsine in radians for any s, clamped to -1 ... 1 first.
double ClampedArcSin(double s);

// x reduced by whole multiples of m (m > 0) into 0 ... m.
double PositiveMod(double x, double m);

}  // namespace helidisk
