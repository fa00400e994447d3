// Where the disk sits in the picture: the one piece of state that outlives a
// redraw.  The window keeps it; only resizing the picture changes it.
#pragma once

#include <cstdint>

namespace helidisk {

struct DiskGeometry {
  std::int32_t ImageRight = 0;   // picture control width - 1
  std::int32_t ImageBottom = 0;  // picture control height - 1
  std::int32_t CentreX = 0;      // ImageRight div 2
  std::int32_t CentreY = 0;      // ImageBottom div 2

  friend constexpr bool operator==(const DiskGeometry&, const DiskGeometry&) = default;
};

// The disk at one astronomical unit leaves this margin above and below it.
inline constexpr std::int32_t kDiskMarginPixels = 12;

// The geometry of a picture control of the given size, with checked
// subtractions; the divisions truncate toward zero.
DiskGeometry DiskGeometryOfPicture(std::int32_t controlWidth, std::int32_t controlHeight);

// The raster image is two pixels narrower and shorter than the control.
std::int32_t ImageWidthOf(const DiskGeometry& geometry);
std::int32_t ImageHeightOf(const DiskGeometry& geometry);

// The disk's radius in pixels at the given distance: CentreY - 12 at one
// astronomical unit, inversely proportional to the distance, rounded to
// nearest with ties to even.
std::int32_t DiskRadiusOf(const DiskGeometry& geometry, double distanceAu);

}  // namespace helidisk
