#include "grids.h"

#include <array>
#include <cmath>

#include "checked.h"
#include "divprocs.h"
#include "projection.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

constexpr std::int32_t kFullCircle = 360 * kGridDegree;
constexpr std::int32_t kOutermostThinParallel = 80 * kGridDegree;
constexpr std::int32_t kThickParallelSpacing = 30 * kGridDegree;
constexpr std::int32_t kOutermostThickParallel = 60 * kGridDegree;
constexpr std::int32_t kMeridianEnd = 85 * kGridDegree;
constexpr std::int32_t kRedMeridian = 280 * kGridDegree;
constexpr std::int32_t kBlueMeridian = 100 * kGridDegree;

constexpr std::int32_t kRigidMeridianSampleStep = 2 * kGridDegree;
constexpr std::int32_t kDifferentialMeridianSampleStep = 1 * kGridDegree;
constexpr std::int32_t kEquatorShiftPerHour = 250;  // arc seconds, 5/3 deg a day

// The markers sit 25 deg from the equator on four meridians a quarter turn
// apart, the red and blue ones first; the direction is taken from two
// samples 3 deg north and south of each.
constexpr std::int32_t kMarkerMeridians[] = {-80 * kGridDegree, 100 * kGridDegree, 10 * kGridDegree,
                                             190 * kGridDegree};
constexpr std::int32_t kMarkerLatitude = 25 * kGridDegree;
constexpr std::int32_t kMarkerDirectionOffset = 3 * kGridDegree;
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
    for (std::int32_t degree = -kMeridianEnd / kGridDegree; degree <= kMeridianEnd / kGridDegree;
         ++degree) {
      shiftByDegree_[IndexOf(degree * kGridDegree)] =
          DifferentialShiftArcSeconds(degree * kGridDegree, hours);
    }
  }

  double operator()(std::int32_t latitudeArcSeconds) const {
    return shiftByDegree_[IndexOf(latitudeArcSeconds)];
  }

 private:
  static std::size_t IndexOf(std::int32_t latitudeArcSeconds) {
    return CheckedIndex(latitudeArcSeconds / kGridDegree + kMeridianEnd / kGridDegree, kShiftCount);
  }

  static constexpr std::size_t kShiftCount = 2 * kMeridianEnd / kGridDegree + 1;
  std::array<double, kShiftCount> shiftByDegree_{};
};

struct SineCosine {
  double sine;
  double cosine;
};

// The sine and cosine of an angle in arc seconds.  Most of a grid's sample
// angles are whole degrees from -90 to 360 (all the latitudes, and the
// longitudes of the parallels and of the rigid meridians): those are
// looked up, once worked out, as the very values std::sin and std::cos
// give, instead of being worked out some twenty thousand times a redraw.
SineCosine SineCosineOf(double arcSeconds) {
  constexpr std::int32_t kFirstDegree = -90;
  constexpr std::int32_t kLastDegree = 360;
  static const auto table = [] {
    std::array<SineCosine, kLastDegree - kFirstDegree + 1> angles{};
    for (std::int32_t degree = kFirstDegree; degree <= kLastDegree; ++degree) {
      const double radians = ArcSecondsToRadians(static_cast<double>(degree * kGridDegree));
      angles[degree - kFirstDegree] = {std::sin(radians), std::cos(radians)};
    }
    return angles;
  }();
  const double degrees = std::round(arcSeconds / kGridDegree);
  if (degrees * kGridDegree == arcSeconds && degrees >= kFirstDegree && degrees <= kLastDegree) {
    return table[static_cast<std::size_t>(degrees - kFirstDegree)];
  }
  const double radians = ArcSecondsToRadians(arcSeconds);
  return {std::sin(radians), std::cos(radians)};
}

// Projects grid points, given in whole arc seconds with a real longitude
// shift, onto the canvas's pixels and draws the lines between them.
class GridPen {
 public:
  GridPen(Canvas& canvas, const DiskFrame& frame) : canvas_(canvas), frame_(frame) {}

  Canvas& canvas() { return canvas_; }

  struct Pixel {
    std::int32_t x;
    std::int32_t y;
    double depth;
  };

  Pixel Project(std::int32_t longitude, double longitudeShift, std::int32_t latitude) const {
    const SineCosine alongLongitude = SineCosineOf(longitude + longitudeShift);
    const SineCosine alongLatitude = SineCosineOf(latitude);
    const ProjectedPoint point = helidisk::Project(
        frame_,
        {alongLongitude.sine, alongLongitude.cosine, alongLatitude.sine, alongLatitude.cosine});
    return {RoundToInt32(point.xPx), RoundToInt32(point.yPx), point.depth};
  }

  void MoveTo(const Pixel& pixel) { canvas_.MoveTo(pixel.x, pixel.y); }

  // Draws toward the point if it lies on the visible hemisphere, otherwise
  // only moves there: a stretch on the far side leaves a gap, and the first
  // visible sample is joined to the last hidden one.
  void DrawOrMoveTo(const Pixel& pixel) {
    if (pixel.depth > 0) {
      canvas_.LineTo(pixel.x, pixel.y);
    } else {
      canvas_.MoveTo(pixel.x, pixel.y);
    }
  }

 private:
  Canvas& canvas_;
  const DiskFrame& frame_;
};

void TraceParallel(GridPen& pen, std::int32_t latitude) {
  pen.MoveTo(pen.Project(0, 0.0, latitude));
  for (std::int32_t longitude = 0; longitude <= kFullCircle;
       longitude = CheckedAdd(longitude, kParallelSampleStep)) {
    pen.DrawOrMoveTo(pen.Project(longitude, 0.0, latitude));
  }
}

template <typename Shift>
void TraceMeridian(GridPen& pen, std::int32_t longitude, std::int32_t sampleStep, Shift shift) {
  pen.MoveTo(pen.Project(longitude, shift(kMeridianEnd), kMeridianEnd));
  for (std::int32_t latitude = kMeridianEnd; latitude >= -kMeridianEnd;
       latitude = CheckedSub(latitude, sampleStep)) {
    pen.DrawOrMoveTo(pen.Project(longitude, shift(latitude), latitude));
  }
}

void DrawThinParallels(GridPen& pen) {
  pen.canvas().SetPenWidth(1);
  for (std::int32_t latitude = kOutermostThinParallel; latitude >= -kOutermostThinParallel;
       latitude = CheckedSub(latitude, kGridLineSpacing)) {
    TraceParallel(pen, latitude);
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
void DrawMeridians(GridPen& pen, std::int32_t sampleStep, Shift shift) {
  for (std::int32_t longitude = 0; longitude <= kFullCircle;
       longitude = CheckedAdd(longitude, kGridLineSpacing)) {
    ChooseMeridianPen(pen.canvas(), longitude);
    TraceMeridian(pen, longitude, sampleStep, shift);
  }
}

void DrawThickParallels(GridPen& pen) {
  pen.canvas().SetPenWidth(2);
  pen.canvas().SetPenColor(kBlack);
  for (std::int32_t latitude = kOutermostThickParallel; latitude >= -kOutermostThickParallel;
       latitude = CheckedSub(latitude, kThickParallelSpacing)) {
    TraceParallel(pen, latitude);
  }
}

// The marker at `latitude` on the meridian `longitude`, drawn only well
// inside the limb; its direction samples are used whatever their depth.
template <typename Shift>
void DrawMarker(GridPen& pen, std::int32_t longitude, std::int32_t latitude, Shift shift) {
  const GridPen::Pixel centre = pen.Project(longitude, shift(latitude), latitude);
  if (!(centre.depth > kMarkerMinDepth)) return;

  const std::int32_t northLatitude = CheckedAdd(latitude, kMarkerDirectionOffset);
  const GridPen::Pixel north = pen.Project(longitude, shift(northLatitude), northLatitude);
  const std::int32_t southLatitude = CheckedSub(latitude, kMarkerDirectionOffset);
  const GridPen::Pixel south = pen.Project(longitude, shift(southLatitude), southLatitude);

  // Along the projected meridian from north to south, in screen terms.
  const double theta = std::atan2(CheckedSub(south.y, north.y), CheckedSub(south.x, north.x));
  DrawAxisMarker(pen.canvas(), centre.x, centre.y, theta);
}

template <typename Shift>
void DrawMarkers(GridPen& pen, Shift shift) {
  for (const std::int32_t longitude : kMarkerMeridians) {
    DrawMarker(pen, longitude, -kMarkerLatitude, shift);
    DrawMarker(pen, longitude, kMarkerLatitude, shift);
  }
}

template <typename Shift>
void DrawGrid(Canvas& canvas, const DiskFrame& frame, std::int32_t meridianSampleStep,
              Shift shift) {
  GridPen pen(canvas, frame);
  DrawThinParallels(pen);
  DrawMeridians(pen, meridianSampleStep, shift);
  DrawThickParallels(pen);
  DrawMarkers(pen, shift);
}

}  // namespace

double DifferentialShiftArcSeconds(std::int32_t latitudeArcSeconds, double hours) {
  // Exact for the whole hours of the window, as an integer product would be.
  const double equatorShift = kEquatorShiftPerHour * hours;
  const double cosLatitude = std::cos(ArcSecondsToRadians(latitudeArcSeconds));
  return equatorShift * PowerOf(cosLatitude, 5.0);
}

void DrawFixedGrid(Canvas& canvas, const DiskFrame& frame) {
  DrawGrid(canvas, frame, kRigidMeridianSampleStep, RigidRotation{});
}

void DrawDifferentialGrid(Canvas& canvas, const DiskFrame& frame, double hours) {
  DrawGrid(canvas, frame, kDifferentialMeridianSampleStep, DifferentialRotation(hours));
}

void DrawFixedGrid(ViewState& state) {
  DrawFixedGrid(state.Form->ImageCanvas(), FrameOfState(state));
}

void DrawDifferentialGrid(ViewState& state) {
  DrawDifferentialGrid(state.Form->ImageCanvas(), FrameOfState(state), state.Form->HourPosition());
}

}  // namespace helidisk
