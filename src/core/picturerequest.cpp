#include "picturerequest.h"

namespace helidisk {

DiskGeometry GeometryOf(const PictureRequest& request) {
  return DiskGeometryOfPicture(request.controlWidth, request.controlHeight);
}

std::int32_t ImageWidthOf(const PictureRequest& request) {
  return ImageWidthOf(GeometryOf(request));
}

std::int32_t ImageHeightOf(const PictureRequest& request) {
  return ImageHeightOf(GeometryOf(request));
}

}  // namespace helidisk
