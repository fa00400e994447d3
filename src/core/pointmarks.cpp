#include "pointmarks.h"

#include <cmath>

#include "featurerotation.h"
#include "trigfunc.h"

namespace helidisk {

std::optional<MarkPlace> MeasuredPointMarkPlace(const MeasuredPoint& point, const DiskFrame& frame,
                                                const RotationModel& model, double shownJulianDay) {
  const LocatedPoint& located = point.located;
  if (located.onDisk) {
    const HeliographicPosition measured{located.latitudeRad * RadToDeg,
                                        located.longitudeRad * RadToDeg};
    const FeatureOnDisk seen =
        FeatureOnDiskOf(RotatedPosition(model, measured, shownJulianDay - point.julianDay), frame);
    if (!seen.visible) return std::nullopt;
    return MarkPlace{seen.xPx, seen.yPx};
  }
  const ScreenDirection direction = SkyDirectionOnScreen(frame, -std::sin(located.positionAngleRad),
                                                         std::cos(located.positionAngleRad));
  return MarkPlace{frame.centreXPx + located.rho * frame.radiusPx * direction.right,
                   frame.centreYPx + located.rho * frame.radiusPx * direction.down};
}

}  // namespace helidisk
