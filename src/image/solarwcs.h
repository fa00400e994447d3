// Where the Sun's disk lies on an image, read from its FITS world
// coordinate system.
//
// Sources: Greisen & Calabretta 2002 (FITS WCS Paper I: CRPIXj, CDELTi,
// PCi_j, CDi_j, CUNITi), Calabretta & Greisen 2002 (Paper II: the gnomonic
// TAN projection, the spherical rotation with LONPOLE, and CROTA2 as a
// rotation matrix, eq. 188) and Thompson 2006 (A&A 449, 791: helioprojective
// longitude and latitude HPLN/HPLT, whose origin is the Sun's centre and
// whose latitude axis points to solar north).  The older "Solar-X" and
// "Solar-Y" axes are read as the same system with a linear projection.
//
// Pixels are those of the image as shown: x to the right, y downward, (0, 0)
// the centre of the top-left pixel.  FITS counts pixels from 1 with rows
// upward, so shown y = NAXIS2 - FITS row and shown x = FITS column - 1.
#pragma once

#include <optional>

#include "fitsheader.h"

namespace helidisk {

struct PixelPoint {
  double xPx = 0;
  double yPx = 0;
};

struct HeaderGeometry {
  // Angular size of one pixel (the square root of the pixel's area), when
  // the header gives the scale.
  std::optional<double> arcsecPerPx;
  // The pixel of helioprojective (0", 0"), the Sun's centre; only for a
  // helioprojective WCS with its reference pixel.
  std::optional<PixelPoint> centre;
  // RSUN_OBS or RSUN_ARC, the Sun's apparent radius.
  std::optional<double> solarRadiusArcsec;
  // That radius on the image, where the scale is known too.
  std::optional<double> radiusPx;
  // True for a helioprojective WCS: the image is referred to solar north.
  bool alignedToSolarNorth = false;
  // Solar north in the image as shown, counterclockwise from the image's up
  // direction, in degrees; the grid drawn with solar north up is turned by
  // this angle to lie on the image.  A header with CROTA2 = c gives -c.
  // Only meaningful when alignedToSolarNorth.
  double rotationDeg = 0;
  // True where solar west lies counterclockwise of north (a mirrored image).
  bool mirrored = false;
};

// The geometry a header states for an image of `heightPx` rows; fields the
// header does not determine stay empty.  Axis units come from CUNITi
// (arcsec, arcmin, deg, rad); where CUNITi is missing a |CDELTi| under
// 0.01 is taken as degrees and anything larger as arc seconds, as no solar
// image has pixels of 36" or of 0.01".
HeaderGeometry SolarGeometryFromHeader(const FitsHeader& header, int heightPx);

// The solar radius in pixels for a known scale and the image's instant:
// the ephemeris semi-diameter (SemiDiameterArcSeconds) over the scale.
double EphemerisRadiusPx(double arcsecPerPx, double julianDay);

}  // namespace helidisk
