// Where the mark of a measured point goes at the instant shown: a point on
// the disk where the rotation law has carried it since it was measured, a
// point on the sky where it was, by position angle and distance.
#pragma once

#include <optional>

#include "diskframe.h"
#include "measuredpoints.h"
#include "solarrotation.h"

namespace helidisk {

struct MarkPlace {
  double xPx = 0;
  double yPx = 0;
};

// Empty while a point on the disk is on the far side.
std::optional<MarkPlace> MeasuredPointMarkPlace(const MeasuredPoint& point, const DiskFrame& frame,
                                                const RotationModel& model, double shownJulianDay);

}  // namespace helidisk
