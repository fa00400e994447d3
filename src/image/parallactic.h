// How an alt-azimuth mount turns the Sun's image: the angle between the
// local zenith and solar north.
//
// The Sun's parallactic angle q (Meeus, Astronomical Algorithms, 2nd ed.,
// eq. 14.1: tan q = sin H / (tan phi cos delta - sin delta cos H)) is the
// position angle of the zenith, counted from celestial north through east;
// P is that of solar north.  The zenith thus lies q - P from solar north,
// counted through solar east.  In an image taken with the zenith up (not
// mirrored) solar north therefore points P - q counterclockwise from up,
// so the grid drawn with solar north up is turned by
// -ZenithToSolarNorthDeg(...) counterclockwise to lie on the image.
//
// Reference values (an independent library): 40 N, 75 W, 2017-07-18 12:00
// UT gives -59.4 deg; 40 S, 75 W, 2017-02-18 13:00 UT gives -110.8 deg.
#pragma once

#include "sun.h"

namespace helidisk {

// Greenwich mean sidereal time in degrees, 0 ... 360 (Meeus eq. 12.4), the
// Julian day taken as UT.
double GreenwichMeanSiderealDeg(double julianDay);

// The Sun's parallactic angle q in degrees, -180 ... 180, for a site at
// latitudeDeg (north positive) and longitudeDeg (east positive); negative
// before the Sun's transit, positive after.
double SolarParallacticAngleDeg(double latitudeDeg, double longitudeDeg, double julianDay);
// The same for the Sun's place from any ephemeris, at its Julian day.
double ParallacticAngleDeg(const SunEphemeris& sun, double latitudeDeg, double longitudeDeg);

// q - P in degrees, reduced to -180 ... 180: the zenith's position angle
// counted from solar north through solar east.
double ZenithToSolarNorthDeg(double latitudeDeg, double longitudeDeg, double julianDay);

}  // namespace helidisk
