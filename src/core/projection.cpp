#include "projection.h"

#include <cmath>

#include "checked.h"
#include "trigfunc.h"

namespace helidisk {

namespace {
constexpr double kMarkerArmPixels = 18;
}  // namespace

DiskFrame FrameOfState(const ViewState& state) {
  DiskFrame frame;
  frame.centreXPx = state.Geometry.CentreX;
  frame.centreYPx = state.Geometry.CentreY;
  frame.radiusPx = state.DiskRadius;
  frame.l0Rad = state.L0Copy;
  frame.sinL0 = state.SinL0;
  frame.cosL0 = state.CosL0;
  frame.sinB0 = state.SinB0;
  frame.cosB0 = state.CosB0;
  OrientSkyPlane(frame, -state.SinNegP, state.CosNegP, state.PictureOrientation);
  return frame;
}

void ProjectPoint(ViewState& state, double longitudeArcSeconds, double latitudeArcSeconds) {
  const ProjectedPoint point =
      Project(FrameOfState(state), ArcSecondsToRadians(longitudeArcSeconds),
              ArcSecondsToRadians(latitudeArcSeconds));
  state.ProjDepth = point.depth;
  state.ProjX = RoundToInt32(point.xPx);
  state.ProjY = RoundToInt32(point.yPx);
}

void DrawAxisMarker(Canvas& canvas, std::int32_t x, std::int32_t y, double theta) {
  const double armX = kMarkerArmPixels * std::cos(theta);
  const double armY = kMarkerArmPixels * std::sin(theta);
  const std::int32_t frontX = RoundToInt32(x + armX);
  const std::int32_t frontY = RoundToInt32(y + armY);
  const std::int32_t backX = RoundToInt32(x - armX);
  const std::int32_t backY = RoundToInt32(y - armY);

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

void DrawAxisMarker(ViewState& state, std::int32_t x, std::int32_t y, double theta) {
  DrawAxisMarker(state.Form->ImageCanvas(), x, y, theta);
}

}  // namespace helidisk
