#include "featurerotation.h"

#include <cmath>
#include <functional>

#include "sun.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

constexpr double kFullTurnDeg = 360;
constexpr double kHalfTurnDeg = 180;

// The mean synodic period of the Carrington system as seen from the Earth.
constexpr double kMeanSynodicPeriodDays = 27.2753;

// Crossings are looked for this far ahead, in steps short enough that the
// feature moves less than a quarter turn from one to the next, and then
// narrowed down to well under a second.
constexpr double kCrossingHorizonDays = 2 * kMeanSynodicPeriodDays + 2;
constexpr double kCrossingStepDays = 0.5;
constexpr double kCrossingToleranceDays = 1e-6;

double WrappedDeg(double angleDeg) {
  return angleDeg - kFullTurnDeg * std::floor(angleDeg / kFullTurnDeg);
}

// -180 ... 180.
double SignedDeg(double angleDeg) { return WrappedDeg(angleDeg + kHalfTurnDeg) - kHalfTurnDeg; }

// How far the feature has moved west across the disk `days` after the
// instant where it stood `startCmdDeg` from the central meridian, counted
// without wrapping.  L0 falls by about a turn each synodic period; what the
// real ephemeris adds to the mean fall is a few degrees, so wrapping that
// part alone keeps the count of whole turns.
class WestwardMotion {
 public:
  WestwardMotion(const RotationModel& model, const HeliographicPosition& position, double julianDay)
      : latitudeDeg_(position.latitudeDeg),
        driftDegPerDay_(SiderealRateDegPerDay(model, position.latitudeDeg) -
                        kCarringtonSiderealDegPerDay),
        startL0Deg_(ComputeSun(julianDay).l0Rad * RadToDeg),
        startCmdDeg_(SignedDeg(position.longitudeDeg - startL0Deg_)) {}

  double StartCmdDeg() const { return startCmdDeg_; }

  // The central-meridian distance, unwrapped, and the west limb's at the
  // same instant.
  double CmdDeg(double days, double l0Deg) const {
    const double meanFallDeg = kFullTurnDeg / kMeanSynodicPeriodDays * days;
    const double fallDeg = meanFallDeg + SignedDeg(startL0Deg_ - l0Deg - meanFallDeg);
    return startCmdDeg_ + driftDegPerDay_ * days + fallDeg;
  }

  // cos(CMD) = -tan(B0) tan(B): empty when the parallel does not meet the
  // limb.
  std::optional<double> WestLimbCmdDeg(double b0Rad) const {
    const double cosine = -std::tan(b0Rad) * std::tan(latitudeDeg_ * DegToRad);
    if (!(std::fabs(cosine) <= 1)) return std::nullopt;
    return std::acos(cosine) * RadToDeg;
  }

 private:
  double latitudeDeg_;
  double driftDegPerDay_;
  double startL0Deg_;
  double startCmdDeg_;
};

// The first instant after the start at which `ahead(days)` turns from
// negative to zero or positive, narrowed by halving; empty when it does not
// within the horizon or stops being defined.
std::optional<double> FirstRise(const std::function<std::optional<double>(double)>& ahead) {
  double before = 0;
  for (double after = kCrossingStepDays; after <= kCrossingHorizonDays;
       after += kCrossingStepDays) {
    const std::optional<double> value = ahead(after);
    if (!value) return std::nullopt;
    if (*value < 0) {
      before = after;
      continue;
    }
    double low = before;
    double high = after;
    while (high - low > kCrossingToleranceDays) {
      const double middle = (low + high) / 2;
      const std::optional<double> there = ahead(middle);
      if (!there) return std::nullopt;
      (*there < 0 ? low : high) = middle;
    }
    return high;
  }
  return std::nullopt;
}

}  // namespace

HeliographicPosition RotatedPosition(const RotationModel& model,
                                     const HeliographicPosition& position, double days) {
  const double driftDegPerDay =
      SiderealRateDegPerDay(model, position.latitudeDeg) - kCarringtonSiderealDegPerDay;
  return {position.latitudeDeg, WrappedDeg(position.longitudeDeg + driftDegPerDay * days)};
}

FeatureOnDisk FeatureOnDiskOf(const HeliographicPosition& position, const DiskFrame& frame) {
  const ProjectedPoint projected =
      Project(frame, position.longitudeDeg * DegToRad, position.latitudeDeg * DegToRad);
  FeatureOnDisk feature;
  feature.latitudeDeg = position.latitudeDeg;
  feature.longitudeDeg = WrappedDeg(position.longitudeDeg);
  feature.cmDistanceDeg = SignedDeg(position.longitudeDeg - frame.l0Rad * RadToDeg);
  feature.mu = projected.depth;
  feature.xPx = projected.xPx;
  feature.yPx = projected.yPx;
  feature.visible = projected.depth > 0;
  return feature;
}

FeatureCrossings NextCrossings(const RotationModel& model, const HeliographicPosition& position,
                               double julianDay) {
  const WestwardMotion motion(model, position, julianDay);
  // A feature on the meridian or beyond the limb reaches it again a turn
  // later.
  const double meridianTurnDeg = motion.StartCmdDeg() < 0 ? 0 : kFullTurnDeg;
  const auto beyondMeridian = [&](double days) -> std::optional<double> {
    const double l0Deg = ComputeSun(julianDay + days).l0Rad * RadToDeg;
    return motion.CmdDeg(days, l0Deg) - meridianTurnDeg;
  };

  const std::optional<double> startLimb = motion.WestLimbCmdDeg(ComputeSun(julianDay).b0Rad);
  const double limbTurnDeg = startLimb && motion.StartCmdDeg() < *startLimb ? 0 : kFullTurnDeg;
  const auto beyondLimb = [&](double days) -> std::optional<double> {
    const SunEphemeris sun = ComputeSun(julianDay + days);
    const std::optional<double> limbDeg = motion.WestLimbCmdDeg(sun.b0Rad);
    if (!limbDeg) return std::nullopt;
    return motion.CmdDeg(days, sun.l0Rad * RadToDeg) - limbTurnDeg - *limbDeg;
  };

  FeatureCrossings crossings;
  if (const auto days = FirstRise(beyondMeridian)) {
    crossings.centralMeridianJulianDay = julianDay + *days;
  }
  if (startLimb) {
    if (const auto days = FirstRise(beyondLimb)) crossings.westLimbJulianDay = julianDay + *days;
  }
  return crossings;
}

}  // namespace helidisk
