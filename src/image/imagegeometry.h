// The observer's geometry written into an exported picture, so that other
// solar tools place it: the keywords of a helioprojective FITS image
// (Thompson 2006, A&A 449, 791: HPLN/HPLT with the gnomonic projection,
// the Sun's centre at the reference pixel, CROTA2 the turn of solar north;
// DSUN_OBS, HGLT_OBS, HGLN_OBS and CRLN_OBS the observer in Stonyhurst and
// Carrington coordinates, as SunPy and the SDO pipelines write them).  The
// same keywords and values go into a PNG's text chunks.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "sun.h"

namespace helidisk {

// Where the disk lies on a picture of `widthPx` x `heightPx`, in the
// program's pixels (x to the right, y downward, (0, 0) the top-left
// pixel's centre), for the ephemeris of the instant shown.
struct PictureGeometry {
  int widthPx = 0;
  int heightPx = 0;
  double centreXPx = 0;
  double centreYPx = 0;
  double radiusPx = 0;
  // Solar north on the picture, counterclockwise from up, in degrees.
  double northTurnDeg = 0;
  SunEphemeris sun;
};

struct GeometryCard {
  std::string keyword;
  std::variant<double, std::string> value;
  std::string comment;
};

// DATE-OBS, CTYPE1/2, CUNIT1/2, CRPIX1/2, CRVAL1/2, CDELT1/2, CROTA2,
// RSUN_OBS, RSUN_REF, DSUN_OBS, HGLT_OBS, HGLN_OBS, CRLN_OBS, in that order.
// The scale is chosen so that the projected solar radius, tan of the
// semi-diameter, spans the picture's radius.
std::vector<GeometryCard> GeometryCards(const PictureGeometry& geometry);

// A card's value as text: a string as it is, a number with 15 significant
// digits and a full stop whatever the locale.
std::string CardValueText(const GeometryCard& card);

// "YYYY-MM-DDThh:mm:ss.sss" in UT, as FITS writes DATE-OBS.
std::string FitsDateText(double julianDay);

}  // namespace helidisk
