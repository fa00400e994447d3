#include "grids.h"

#include <array>
#include <cmath>

#include "checked.h"
#include "divprocs.h"
#include "projection.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

// Grid angles are whole arc seconds.
constexpr std::int32_t kDegree = 3600;
constexpr std::int32_t kFullCircle = 360 * kDegree;
constexpr std::int32_t kParallelSampleStep = 2 * kDegree;
constexpr std::int32_t kLineSpacing = 10 * kDegree;
constexpr std::int32_t kOutermostThinParallel = 80 * kDegree;
constexpr std::int32_t kThickParallelSpacing = 30 * kDegree;
constexpr std::int32_t kOutermostThickParallel = 60 * kDegree;
constexpr std::int32_t kMeridianEnd = 85 * kDegree;
constexpr std::int32_t kRedMeridian = 280 * kDegree;
constexpr std::int32_t kBlueMeridian = 100 * kDegree;

constexpr std::int32_t kRigidMeridianSampleStep = 2 * kDegree;
constexpr std::int32_t kDifferentialMeridianSampleStep = 1 * kDegree;
constexpr std::int32_t kEquatorShiftPerHour = 250;  // arc seconds, 5/3 deg a day

// The markers sit 25 deg from the equator on four meridians a quarter turn
// apart, the red and blue ones first; the direction is taken from two
// samples 3 deg north and south of each.
constexpr std::int32_t kMarkerMeridians[] = {-80 * kDegree, 100 * kDegree, 10 * kDegree,
                                             190 * kDegree};
constexpr std::int32_t kMarkerLatitude = 25 * kDegree;
constexpr std::int32_t kMarkerDirectionOffset = 3 * kDegree;
constexpr double kMarkerMinDepth = 0.2;

// The shift of a grid point's longitude: none for the rigid grid, the
// differential rotation since 1 January 0 h for the other.
struct RigidRotation {
  double operator()(std::int32_t /*latitudeArcSeconds*/) const { return 0.0; }
};

// The shift depends on the latitude alone, and every meridian sample and
// marker point lies on a whole degree within the meridians' ends, so each
// redraw works it out once per degree instead of once per point.
class DifferentialRotation {
 public:
  explicit DifferentialRotation(double hours) {
    for (std::int32_t degree = -kMeridianEnd / kDegree; degree <= kMeridianEnd / kDegree;
         ++degree) {
      shiftByDegree_[IndexOf(degree * kDegree)] =
          DifferentialShiftArcSeconds(degree * kDegree, hours);
    }
  }

  double operator()(std::int32_t latitudeArcSeconds) const {
    return shiftByDegree_[IndexOf(latitudeArcSeconds)];
  }

 private:
  static std::size_t IndexOf(std::int32_t latitudeArcSeconds) {
    return CheckedIndex(latitudeArcSeconds / kDegree + kMeridianEnd / kDegree, kShiftCount);
  }

  static constexpr std::size_t kShiftCount = 2 * kMeridianEnd / kDegree + 1;
  std::array<double, kShiftCount> shiftByDegree_{};
};

Canvas& CanvasOf(ViewState& state) { return state.Form->ImageCanvas(); }

void ProjectGridPoint(ViewState& state, double longitudeShift) {
  ProjectPoint(state, state.GridLon + longitudeShift, state.GridLat);
}

// Draws toward the point just projected if it lies on the visible
// hemisphere, otherwise only moves there: a stretch on the far side leaves a
// gap, and the first visible sample is joined to the last hidden one.
void DrawOrMoveToProjection(ViewState& state) {
  Canvas& canvas = CanvasOf(state);
  if (state.ProjDepth > 0) {
    canvas.LineTo(state.ProjX, state.ProjY);
  } else {
    canvas.MoveTo(state.ProjX, state.ProjY);
  }
}

void TraceParallel(ViewState& state, std::int32_t latitude) {
  state.GridLat = latitude;
  state.GridLon = 0;
  ProjectGridPoint(state, 0.0);
  CanvasOf(state).MoveTo(state.ProjX, state.ProjY);
  for (std::int32_t longitude = 0; longitude <= kFullCircle;
       longitude = CheckedAdd(longitude, kParallelSampleStep)) {
    state.GridLon = longitude;
    ProjectGridPoint(state, 0.0);
    DrawOrMoveToProjection(state);
  }
}

template <typename Shift>
void TraceMeridian(ViewState& state, std::int32_t longitude, std::int32_t sampleStep, Shift shift) {
  state.GridLat = kMeridianEnd;
  state.GridLon = longitude;
  ProjectGridPoint(state, shift(state.GridLat));
  CanvasOf(state).MoveTo(state.ProjX, state.ProjY);
  for (std::int32_t latitude = kMeridianEnd; latitude >= -kMeridianEnd;
       latitude = CheckedSub(latitude, sampleStep)) {
    state.GridLat = latitude;
    ProjectGridPoint(state, shift(latitude));
    DrawOrMoveToProjection(state);
  }
}

void DrawThinParallels(ViewState& state) {
  CanvasOf(state).SetPenWidth(1);
  for (std::int32_t latitude = kOutermostThinParallel; latitude >= -kOutermostThinParallel;
       latitude = CheckedSub(latitude, kLineSpacing)) {
    TraceParallel(state, latitude);
  }
}

void ChooseMeridianPen(Canvas& canvas, std::int32_t longitude) {
  if (longitude == kRedMeridian) {
    canvas.SetPenColor(kRed);
    canvas.SetPenWidth(2);
  } else if (longitude == kBlueMeridian) {
    canvas.SetPenColor(kBlue);
    canvas.SetPenWidth(2);
  } else {
    canvas.SetPenColor(kGrey);
    canvas.SetPenWidth(1);
  }
}

template <typename Shift>
void DrawMeridians(ViewState& state, std::int32_t sampleStep, Shift shift) {
  for (std::int32_t longitude = 0; longitude <= kFullCircle;
       longitude = CheckedAdd(longitude, kLineSpacing)) {
    ChooseMeridianPen(CanvasOf(state), longitude);
    TraceMeridian(state, longitude, sampleStep, shift);
  }
}

void DrawThickParallels(ViewState& state) {
  Canvas& canvas = CanvasOf(state);
  canvas.SetPenWidth(2);
  canvas.SetPenColor(kBlack);
  for (std::int32_t latitude = kOutermostThickParallel; latitude >= -kOutermostThickParallel;
       latitude = CheckedSub(latitude, kThickParallelSpacing)) {
    TraceParallel(state, latitude);
  }
}

// The marker at `latitude` on the meridian `longitude`, drawn only well
// inside the limb; its direction samples are used whatever their depth.
template <typename Shift>
void DrawMarker(ViewState& state, std::int32_t longitude, std::int32_t latitude, Shift shift) {
  state.GridLon = longitude;
  state.GridLat = latitude;
  ProjectGridPoint(state, shift(latitude));
  const std::int32_t centreX = state.ProjX;
  const std::int32_t centreY = state.ProjY;
  if (!(state.ProjDepth > kMarkerMinDepth)) return;

  state.GridLat = CheckedAdd(latitude, kMarkerDirectionOffset);
  ProjectGridPoint(state, shift(state.GridLat));
  const std::int32_t northX = state.ProjX;
  const std::int32_t northY = state.ProjY;

  state.GridLat = CheckedSub(latitude, kMarkerDirectionOffset);
  ProjectGridPoint(state, shift(state.GridLat));
  const std::int32_t southX = state.ProjX;
  const std::int32_t southY = state.ProjY;

  // Along the projected meridian from north to south, in screen terms.
  const double theta = std::atan2(CheckedSub(southY, northY), CheckedSub(southX, northX));
  DrawAxisMarker(state, centreX, centreY, theta);
}

template <typename Shift>
void DrawMarkers(ViewState& state, Shift shift) {
  for (const std::int32_t longitude : kMarkerMeridians) {
    DrawMarker(state, longitude, -kMarkerLatitude, shift);
    DrawMarker(state, longitude, kMarkerLatitude, shift);
  }
}

template <typename Shift>
void DrawGrid(ViewState& state, std::int32_t meridianSampleStep, Shift shift) {
  DrawThinParallels(state);
  DrawMeridians(state, meridianSampleStep, shift);
  DrawThickParallels(state);
  DrawMarkers(state, shift);
}

}  // namespace

double DifferentialShiftArcSeconds(std::int32_t latitudeArcSeconds, double hours) {
  // Exact for the whole hours of the window, as an integer product would be.
  const double equatorShift = kEquatorShiftPerHour * hours;
  const double cosLatitude = std::cos(latitudeArcSeconds / 3600.0 * DegToRad);
  return equatorShift * PowerOf(cosLatitude, 5.0);
}

void DrawFixedGrid(ViewState& state) { DrawGrid(state, kRigidMeridianSampleStep, RigidRotation{}); }

void DrawDifferentialGrid(ViewState& state) {
  const DifferentialRotation shift(state.Form->HourPosition());
  DrawGrid(state, kDifferentialMeridianSampleStep, shift);
}

}  // namespace helidisk
