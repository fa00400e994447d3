// The heliographic grid over an observer's own image: the disk's frame on
// the image for an instant, and the image with the grid drawn over it.
#pragma once

#include <QImage>
#include <optional>

#include "diskframe.h"
#include "site.h"
#include "solarimage.h"
#include "sun.h"

namespace helidisk {

// How the image is to be read: one of the orientations, turned further
// counterclockwise by the camera's angle.
struct ImageView {
  Orientation orientation = Orientation::Sky;
  double rotationDeg = 0;
};

// The view a FITS header fixes: a helioprojective image is referred to
// solar north, turned by its rotation; nothing for any other image.
std::optional<ImageView> ViewFromHeader(const HeaderGeometry& header);

// The frame of the image's disk for the ephemeris of an instant, in the
// image's pixels (x to the right, y downward, (0, 0) the top-left pixel's
// centre).
DiskFrame ImageDiskFrame(const ImageDisk& disk, const SunEphemeris& sun, const ImageView& view);

// The same frame on a picture that shows the image scaled by `scale`, the
// image's top-left corner (the edge of its first pixel, not its centre) at
// (leftPx, topPx) of the picture.
DiskFrame ScaledDiskFrame(const DiskFrame& frame, double scale, double leftPx, double topPx);

// The camera angle that puts the zenith straight up in the orientation, for
// an alt-azimuth mount at the site (latitude north positive, longitude east
// positive) at the instant.
double ZenithUpRotationDeg(Orientation orientation, const SunEphemeris& sun, double latitudeDeg,
                           double longitudeDeg);

// The image with the grid (rigid, or differential after `hoursSinceNewYear`
// hours), its coloured meridians and axis markers and the limb drawn over
// it through the frame, blended at the opacity (0 ... 1); 32-bit RGB.  At
// full opacity a 32-bit image handed over (moved in) is drawn on in place,
// without a second full-size buffer.
QImage OverlaidImage(QImage image, const DiskFrame& frame, bool differentialGrid,
                     double hoursSinceNewYear, double opacity);

}  // namespace helidisk
