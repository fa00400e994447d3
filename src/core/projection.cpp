#include "projection.h"

#include <cmath>

#include "checked.h"
#include "diskgeometry.h"
#include "trigfunc.h"

namespace helidisk {

namespace {
constexpr double kArcSecondsPerDegree = 3600;
constexpr double kMarkerArmPixels = 18;
}  // namespace

void ProjectPoint(ViewState& state, double longitudeArcSeconds, double latitudeArcSeconds) {
  const double lambda = longitudeArcSeconds / kArcSecondsPerDegree * DegToRad;
  const double phi = latitudeArcSeconds / kArcSecondsPerDegree * DegToRad;

  // Body frame: x toward longitude 90 deg, y along the north rotation axis,
  // z toward longitude 0 deg.
  state.BodyX = std::cos(phi) * std::sin(lambda);
  state.BodyY = std::sin(phi);
  state.BodyZ = std::cos(phi) * std::cos(lambda);

  // Turned about the axis by L0: z now lies in the observer's meridian.
  state.MeridianX = state.BodyX * state.CosL0 - state.BodyZ * state.SinL0;
  state.MeridianY = state.BodyY;
  state.MeridianZ = state.BodyX * state.SinL0 + state.BodyZ * state.CosL0;

  // Tilted by B0: z now points at the observer.
  state.TiltedX = state.MeridianX;
  state.TiltedY = state.MeridianY * state.CosB0 - state.MeridianZ * state.SinB0;
  state.TiltedZ = state.MeridianY * state.SinB0 + state.MeridianZ * state.CosB0;

  // Turned in the plane of the sky by -P.
  state.SkyX = state.TiltedX * state.CosNegP - state.TiltedY * state.SinNegP;
  state.SkyY = state.TiltedX * state.SinNegP + state.TiltedY * state.CosNegP;

  const DiskGeometry& geometry = CurrentDiskGeometry();
  state.ProjDepth = state.TiltedZ;
  state.ProjX = RoundToInt32(geometry.CentreX + state.DiskRadius * state.SkyX);
  state.ProjY = RoundToInt32(geometry.CentreY - state.DiskRadius * state.SkyY);
}

void DrawAxisMarker(ViewState& state, std::int32_t x, std::int32_t y, double theta) {
  const double armX = kMarkerArmPixels * std::cos(theta);
  const double armY = kMarkerArmPixels * std::sin(theta);
  const std::int32_t frontX = RoundToInt32(x + armX);
  const std::int32_t frontY = RoundToInt32(y + armY);
  const std::int32_t backX = RoundToInt32(x - armX);
  const std::int32_t backY = RoundToInt32(y - armY);

  Canvas& canvas = state.Form->ImageCanvas();
  canvas.SetPenWidth(13);
  canvas.SetPenColor(kGrey);
  canvas.MoveTo(frontX, frontY);
  canvas.LineTo(backX, backY);

  canvas.SetPenWidth(8);
  canvas.SetPenColor(kBlack);
  canvas.MoveTo(x, y);
  canvas.LineTo(frontX, frontY);

  canvas.SetPenColor(kWhite);
  canvas.MoveTo(x, y);
  canvas.LineTo(backX, backY);

  canvas.SetPenWidth(10);
  canvas.SetPenColor(kGrey);
  canvas.MoveTo(x, y);
  canvas.LineTo(x, y);
}

}  // namespace helidisk
