// What helidisk-render prints about an instant besides the readout: the
// point under a pixel (--locate) and the whole instant as JSON (--json).
#pragma once

#include <optional>
#include <string>

#include "diskframe.h"
#include "featurereport.h"
#include "redraw.h"
#include "renderoptions.h"

namespace helidisk {

// "x", "y", "on_disk", "latitude_deg", "longitude_deg", "cm_distance_deg",
// "mu", "rho", "position_angle_deg", one "name: value" line each; "-" for
// what a point off the disk does not have.
std::string LocateText(const PixelQuery& pixel, const LocatedPoint& point);

// An observer's image and where its disk lies on it, in the pixels of the
// image as shown (0, 0 the top-left pixel's centre, rows counting down).
struct ImageReport {
  int widthPx = 0;
  int heightPx = 0;
  double centreXPx = 0;
  double centreYPx = 0;
  double radiusPx = 0;
  double rotationDeg = 0;
  bool fromHeader = false;
  double fitRmsPx = 0;
};

// One JSON object: the instant's ephemeris record, the orientation, the
// disk in the picture's pixels, the image where there is one and, for a
// pixel, the point there; a feature carried through time where there is
// one.
std::string JsonText(const RedrawResult& result, Orientation orientation,
                     const std::optional<PixelQuery>& pixel,
                     const std::optional<ImageReport>& image = std::nullopt,
                     const std::optional<FeatureReport>& feature = std::nullopt);

}  // namespace helidisk
