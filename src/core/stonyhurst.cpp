#include "stonyhurst.h"

#include <cmath>
#include <cstdint>

#include "checked.h"
#include "grids.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

// Grid angles in whole arc seconds, as in the heliographic grids.
constexpr std::int32_t kOutermostMeridian = 90 * kGridDegree;
constexpr std::int32_t kPole = 90 * kGridDegree;
constexpr std::int32_t kOutermostParallel = 80 * kGridDegree;
constexpr std::int32_t kMeridianSampleStep = 1 * kGridDegree;
// Parallels run once round the sphere, from the far side's middle, so that
// the sheets for B0 and -B0 sample the same points turned by 180 deg.
constexpr std::int32_t kParallelStart = -180 * kGridDegree;
constexpr std::int32_t kParallelEnd = 180 * kGridDegree;

constexpr std::int32_t kCentralMeridianWidthPx = 2;
constexpr std::int32_t kLimbOverhangPx = 1;
constexpr std::int32_t kLimbRingWidthPx = 3;
constexpr std::int32_t kCrossWidthPx = 2;
constexpr std::int32_t kCrossArmPx = 6;

constexpr int kLimbSearchSteps = 40;

// A grid point: central-meridian distance and latitude in radians, and
// where the frame puts it.
struct GridPoint {
  double cmDistanceRad = 0;
  double latitudeRad = 0;
  ProjectedPoint projected;

  // On the limb a point counts as visible, so that the meridians at 90 deg
  // run along it.
  bool Visible() const { return projected.depth >= 0; }
};

// Traces the lines of the grid through samples given in arc seconds, on a
// frame without L0, so that longitude is the distance from the central
// meridian.  A line runs only over the visible hemisphere and ends exactly
// on the limb where it passes behind it.  A pixel is the centre's pixel
// plus the rounded offset from it, so that points opposite each other
// through the centre land on pixels opposite each other.
class ObserverGridPen {
 public:
  ObserverGridPen(Canvas& canvas, const DiskFrame& frame)
      : canvas_(canvas),
        frame_(frame),
        centreX_(RoundToInt32(frame.centreXPx)),
        centreY_(RoundToInt32(frame.centreYPx)) {
    frame_.sinL0 = 0;
    frame_.cosL0 = 1;
    frame_.centreXPx = 0;
    frame_.centreYPx = 0;
  }

  Canvas& canvas() { return canvas_; }

  void StartLine(std::int32_t cmDistance, std::int32_t latitude) {
    last_ = PointAt(ArcSecondsToRadians(cmDistance), ArcSecondsToRadians(latitude));
    if (last_.Visible()) MoveTo(last_);
  }

  void ContinueLine(std::int32_t cmDistance, std::int32_t latitude) {
    const GridPoint next = PointAt(ArcSecondsToRadians(cmDistance), ArcSecondsToRadians(latitude));
    if (last_.Visible() && next.Visible()) {
      LineTo(next);
    } else if (last_.Visible()) {
      LineTo(LimbCrossing(last_, next));
    } else if (next.Visible()) {
      MoveTo(LimbCrossing(next, last_));
      LineTo(next);
    }
    last_ = next;
  }

 private:
  GridPoint PointAt(double cmDistanceRad, double latitudeRad) const {
    return {cmDistanceRad, latitudeRad, Project(frame_, cmDistanceRad, latitudeRad)};
  }

  // Where the stretch from a visible to a hidden sample meets the limb, by
  // bisection; always searched from the visible end, so that the same
  // stretch traced either way ends on the same point.
  GridPoint LimbCrossing(const GridPoint& visible, const GridPoint& hidden) const {
    GridPoint inside = visible;
    GridPoint outside = hidden;
    for (int step = 0; step < kLimbSearchSteps; ++step) {
      const GridPoint middle =
          PointAt(inside.cmDistanceRad + (outside.cmDistanceRad - inside.cmDistanceRad) / 2,
                  inside.latitudeRad + (outside.latitudeRad - inside.latitudeRad) / 2);
      (middle.Visible() ? inside : outside) = middle;
    }
    return inside;
  }

  void MoveTo(const GridPoint& point) {
    canvas_.MoveTo(CheckedAdd(centreX_, RoundToInt32(point.projected.xPx)),
                   CheckedAdd(centreY_, RoundToInt32(point.projected.yPx)));
  }

  void LineTo(const GridPoint& point) {
    canvas_.LineTo(CheckedAdd(centreX_, RoundToInt32(point.projected.xPx)),
                   CheckedAdd(centreY_, RoundToInt32(point.projected.yPx)));
  }

  Canvas& canvas_;
  // Centred on (0, 0): the offsets from the centre.
  DiskFrame frame_;
  std::int32_t centreX_;
  std::int32_t centreY_;
  GridPoint last_;
};

void DrawParallels(ObserverGridPen& pen) {
  pen.canvas().SetPenWidth(1);
  for (std::int32_t latitude = -kOutermostParallel; latitude <= kOutermostParallel;
       latitude = CheckedAdd(latitude, kGridLineSpacing)) {
    pen.StartLine(kParallelStart, latitude);
    for (std::int32_t cmDistance = kParallelStart + kParallelSampleStep; cmDistance <= kParallelEnd;
         cmDistance = CheckedAdd(cmDistance, kParallelSampleStep)) {
      pen.ContinueLine(cmDistance, latitude);
    }
  }
}

void DrawMeridians(ObserverGridPen& pen) {
  for (std::int32_t cmDistance = -kOutermostMeridian; cmDistance <= kOutermostMeridian;
       cmDistance = CheckedAdd(cmDistance, kGridLineSpacing)) {
    pen.canvas().SetPenWidth(cmDistance == 0 ? kCentralMeridianWidthPx : 1);
    pen.StartLine(cmDistance, kPole);
    for (std::int32_t latitude = kPole - kMeridianSampleStep; latitude >= -kPole;
         latitude = CheckedSub(latitude, kMeridianSampleStep)) {
      pen.ContinueLine(cmDistance, latitude);
    }
  }
  pen.canvas().SetPenWidth(1);
}

void DrawCentreCross(Canvas& canvas, const DiskGeometry& geometry) {
  canvas.MoveTo(CheckedSub(geometry.CentreX, kCrossArmPx), geometry.CentreY);
  canvas.LineTo(CheckedAdd(geometry.CentreX, kCrossArmPx), geometry.CentreY);
  canvas.MoveTo(geometry.CentreX, CheckedSub(geometry.CentreY, kCrossArmPx));
  canvas.LineTo(geometry.CentreX, CheckedAdd(geometry.CentreY, kCrossArmPx));
}

}  // namespace

void DrawStonyhurstGrid(Canvas& canvas, const DiskFrame& frame) {
  ObserverGridPen pen(canvas, frame);
  DrawParallels(pen);
  DrawMeridians(pen);
}

std::int32_t TemplateDiskRadiusPx(const DiskGeometry& geometry) {
  return DiskRadiusOf(geometry, 1.0);
}

DiskFrame DrawStonyhurstTemplate(Canvas& canvas, const DiskGeometry& geometry, double b0Rad) {
  const std::int32_t radiusPx = TemplateDiskRadiusPx(geometry);
  const DiskFrame frame = OrientedDiskFrame(geometry.CentreX, geometry.CentreY, radiusPx, 0, b0Rad,
                                            0, Orientation::SolarNorth);
  canvas.SetBrushColor(kWhite);
  canvas.FillRect({0, 0, ImageWidthOf(geometry), ImageHeightOf(geometry)});
  // The limb ring the redraw leaves, its disk's 2 px outline under a 2 px
  // limb line: from 2 px inside the limb to 1 px outside, drawn at once as
  // an outline, which keeps the sheet symmetric through the centre.
  const std::int32_t outerRadiusPx = CheckedAdd(radiusPx, kLimbOverhangPx);
  canvas.SetPenColor(kBlack);
  canvas.SetPenWidth(kLimbRingWidthPx);
  canvas.Ellipse(
      {CheckedSub(geometry.CentreX, outerRadiusPx), CheckedSub(geometry.CentreY, outerRadiusPx),
       CheckedAdd(geometry.CentreX, outerRadiusPx), CheckedAdd(geometry.CentreY, outerRadiusPx)});
  DrawStonyhurstGrid(canvas, frame);
  canvas.SetPenWidth(kCrossWidthPx);
  DrawCentreCross(canvas, geometry);
  return frame;
}

}  // namespace helidisk
