#include "diskgeometry.h"

#include "checked.h"

namespace helidisk {

DiskGeometry DiskGeometryOfPicture(std::int32_t controlWidth, std::int32_t controlHeight) {
  DiskGeometry geometry;
  geometry.ImageRight = CheckedSub(controlWidth, 1);
  geometry.ImageBottom = CheckedSub(controlHeight, 1);
  geometry.CentreX = geometry.ImageRight / 2;
  geometry.CentreY = geometry.ImageBottom / 2;
  return geometry;
}

std::int32_t ImageWidthOf(const DiskGeometry& geometry) {
  return CheckedSub(geometry.ImageRight, 1);
}

std::int32_t ImageHeightOf(const DiskGeometry& geometry) {
  return CheckedSub(geometry.ImageBottom, 1);
}

std::int32_t DiskRadiusOf(const DiskGeometry& geometry, double distanceAu) {
  const std::int32_t radiusAt1Au = CheckedSub(geometry.CentreY, kDiskMarginPixels);
  return RoundToInt32(radiusAt1Au / distanceAu);
}

}  // namespace helidisk
