// A feature of the solar surface -- a spot, a facula, a measured point --
// carried forward or back in time by a rotation law, and how the observer
// on the Earth then sees it.
//
// The feature keeps its heliographic latitude and turns about the axis at
// the law's sidereal rate; the Carrington system turns at 14.1844 deg/day,
// so the feature's Carrington longitude drifts by the difference.  What the
// observer sees at the later instant follows from the ephemeris at that
// instant (L0, B0, P), not from a mean synodic rate: the Earth's uneven
// motion along its orbit is in it.
#pragma once

#include <optional>

#include "diskframe.h"
#include "solarrotation.h"

namespace helidisk {

// Heliographic latitude and Carrington longitude (0 ... 360 deg).
struct HeliographicPosition {
  double latitudeDeg = 0;
  double longitudeDeg = 0;
};

// The position `days` later (earlier when negative) under the law.
HeliographicPosition RotatedPosition(const RotationModel& model,
                                     const HeliographicPosition& position, double days);

// The feature as the observer sees it on the disk of the frame.
struct FeatureOnDisk {
  double latitudeDeg = 0;
  double longitudeDeg = 0;
  // From the central meridian, east negative, west positive, -180 ... 180.
  double cmDistanceDeg = 0;
  // The cosine of the heliocentric angle: the depth of the projection.
  double mu = 0;
  // The pixel in the frame; a point on the far side falls inside the limb
  // too, only `visible` tells.
  double xPx = 0;
  double yPx = 0;
  // On the hemisphere that faces the Earth: mu > 0.
  bool visible = false;
};

FeatureOnDisk FeatureOnDiskOf(const HeliographicPosition& position, const DiskFrame& frame);

// The instants (Julian days, UT) at which the feature next reaches the
// central meridian and the west limb after `julianDay`, where it stands at
// `position`.  The limb is where mu = 0 at that instant's B0.  Empty where
// it does not happen within two rotations: near a pole that B0 keeps in
// view (or out of it), the feature never reaches the limb.
struct FeatureCrossings {
  std::optional<double> centralMeridianJulianDay;
  std::optional<double> westLimbJulianDay;
};

FeatureCrossings NextCrossings(const RotationModel& model, const HeliographicPosition& position,
                               double julianDay);

}  // namespace helidisk
