// What a picture shows, as plain values: the instant, the grid, how the
// picture is read and the picture control it fills.  The window builds one
// from what it shows, the command line from its options; the core computes
// the instant's results from it, a canvas painter draws it, and the output
// library turns it into a file's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "diskframe.h"
#include "diskgeometry.h"
#include "ephemerischoice.h"

namespace helidisk {

inline constexpr std::int32_t kDesignControlWidth = 1000;
inline constexpr std::int32_t kDesignControlHeight = 628;

struct PictureRequest {
  // The year whose 1 January, 0 h UT, counts as hour 0.
  std::int32_t year = 0;
  // Hours since then: a whole scroll position, or any instant of the year.
  double hourPosition = 0;
  bool differentialGrid = true;
  // The grid fixed to the observer instead of either heliographic one.
  bool stonyhurstGrid = false;
  // A Stonyhurst template for this B0 alone, in degrees: no instant.
  std::optional<double> templateB0Deg;
  Orientation orientation = Orientation::Sky;
  // The picture control; the image is two pixels narrower and shorter.
  std::int32_t controlWidth = kDesignControlWidth;
  std::int32_t controlHeight = kDesignControlHeight;
  // UTF-8, one character.
  std::string decimalSeparator;
  // The theory that computes the Sun.
  EphemerisChoice ephemeris;
};

// Where the request's picture control puts the disk, and the image's size:
// two pixels narrower and shorter, zero or negative under 3 pixels.
DiskGeometry GeometryOf(const PictureRequest& request);
std::int32_t ImageWidthOf(const PictureRequest& request);
std::int32_t ImageHeightOf(const PictureRequest& request);

}  // namespace helidisk
