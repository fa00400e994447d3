// What helidisk-render prints about an instant besides the readout: the
// point under a pixel (--locate) and the whole instant as JSON (--json).
#pragma once

#include <optional>
#include <string>

#include "diskframe.h"
#include "redraw.h"
#include "renderoptions.h"

namespace helidisk {

// "x", "y", "on_disk", "latitude_deg", "longitude_deg", "cm_distance_deg",
// "mu", "rho", "position_angle_deg", one "name: value" line each; "-" for
// what a point off the disk does not have.
std::string LocateText(const PixelQuery& pixel, const LocatedPoint& point);

// One JSON object: the instant's ephemeris record, the orientation, the
// disk in the picture's pixels and, for a pixel, the point there.
std::string JsonText(const RedrawResult& result, Orientation orientation,
                     const std::optional<PixelQuery>& pixel);

}  // namespace helidisk
