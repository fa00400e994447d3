#include "redraw.h"

#include <cmath>

#include "checked.h"
#include "compass.h"
#include "ephemeris.h"
#include "grids.h"
#include "projection.h"
#include "stonyhurst.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

constexpr std::int32_t kCrossArmPixels = 6;

void FindInstant(ViewState& state, std::int32_t year, double hourPosition) {
  state.Year = year;
  state.Month = 1;
  state.Day = 1;
  state.Hours = 0.0;
  state.Minutes = 0.0;
  state.Seconds = 0.0;
  DateToJulianDay(state.Year, state.Month, state.Day, state.Hours, state.Minutes, state.Seconds,
                  state.JulianDay);
  state.JulianDay = hourPosition / 24.0 + state.JulianDay;
  JulianDayToDate(state.Year, state.Month, state.Day, state.Hours, state.Minutes, state.Seconds,
                  state.JulianDay);
}

// The disk's size follows the distance; its orientation enters the
// projection only through these sines and cosines and the picture's
// orientation.
void OrientDisk(ViewState& state) {
  state.L0Copy = state.SunL0;
  state.B0Copy = state.SunB0;
  state.NegP = -state.SunP;
  state.DiskRadius = DiskRadiusOf(state.Geometry, state.SunDistance);
  state.SinL0 = std::sin(state.L0Copy);
  state.CosL0 = std::cos(state.L0Copy);
  state.SinB0 = std::sin(state.B0Copy);
  state.CosB0 = std::cos(state.B0Copy);
  state.SinNegP = std::sin(state.NegP);
  state.CosNegP = std::cos(state.NegP);
}

void PaintBackgroundAndDisk(ViewState& state, Canvas& canvas) {
  const DiskGeometry& geometry = state.Geometry;

  canvas.SetBrushColor(kBlack);
  state.DrawRect = {0, 0, CheckedAdd(geometry.ImageRight, 1), CheckedAdd(geometry.ImageBottom, 1)};
  canvas.FillRect(state.DrawRect);

  // The disk's outline uses the pen the previous redraw left: black, 2 px.
  canvas.SetBrushColor(kYellow);
  state.DrawRect = {CheckedSub(geometry.CentreX, state.DiskRadius),
                    CheckedSub(geometry.CentreY, state.DiskRadius),
                    CheckedAdd(geometry.CentreX, state.DiskRadius),
                    CheckedAdd(geometry.CentreY, state.DiskRadius)};
  canvas.Ellipse(state.DrawRect);
}

// A closed polyline of 361 points, from the rightmost point downward.
void DrawLimb(ViewState& state, Canvas& canvas) {
  const DiskGeometry& geometry = state.Geometry;
  canvas.MoveTo(CheckedAdd(geometry.CentreX, state.DiskRadius), geometry.CentreY);
  for (state.LimbAngle = 0; state.LimbAngle <= 360; ++state.LimbAngle) {
    const double angle = state.LimbAngle * DegToRad;
    const std::int32_t y = RoundToInt32(std::sin(angle) * state.DiskRadius + geometry.CentreY);
    const std::int32_t x = RoundToInt32(std::cos(angle) * state.DiskRadius + geometry.CentreX);
    canvas.LineTo(x, y);
  }
}

void DrawCentreCross(const ViewState& state, Canvas& canvas) {
  const DiskGeometry& geometry = state.Geometry;
  canvas.MoveTo(CheckedSub(geometry.CentreX, kCrossArmPixels), geometry.CentreY);
  canvas.LineTo(CheckedAdd(geometry.CentreX, kCrossArmPixels), geometry.CentreY);
  canvas.MoveTo(geometry.CentreX, CheckedSub(geometry.CentreY, kCrossArmPixels));
  canvas.LineTo(geometry.CentreX, CheckedAdd(geometry.CentreY, kCrossArmPixels));
}

// What a redraw takes from the window or from a picture request.
struct RedrawInputs {
  DiskGeometry geometry;
  Orientation orientation = Orientation::Sky;
  std::int32_t year = 0;
  double hourPosition = 0;
  bool differentialGrid = true;
  bool stonyhurstGrid = false;
  EphemerisChoice ephemeris;
};

// The instant, its ephemeris and the disk's orientation, without drawing.
RedrawResult ComputeRedraw(ViewState& state, const RedrawInputs& inputs) {
  state.Geometry = inputs.geometry;
  state.PictureOrientation = inputs.orientation;
  RedrawResult result;
  result.geometry = state.Geometry;

  FindInstant(state, inputs.year, inputs.hourPosition);
  result.instant = {state.Year, state.Month, state.Day, state.Hours, state.Minutes, state.Seconds};
  result.ephemeris = inputs.ephemeris;
  result.sun = ComputeSunWith(inputs.ephemeris, state.JulianDay);
  StoreSunEphemeris(state, result.sun);
  OrientDisk(state);
  result.diskRadiusPx = state.DiskRadius;
  result.frame = FrameOfState(state);
  return result;
}

// The grid, limb, centre cross and compass over the painted disk.
void PaintGridAndMarks(ViewState& state, const RedrawInputs& inputs, const DiskFrame& frame,
                       Canvas& canvas) {
  canvas.SetPenColor(kGrey);
  if (inputs.stonyhurstGrid) {
    DrawStonyhurstGrid(canvas, frame);
  } else if (inputs.differentialGrid) {
    DrawDifferentialGrid(canvas, frame, inputs.hourPosition);
  } else {
    DrawFixedGrid(canvas, frame);
  }

  canvas.SetPenWidth(2);
  canvas.SetPenColor(kBlack);
  DrawLimb(state, canvas);
  DrawCentreCross(state, canvas);
  DrawCompass(canvas, frame);
}

RedrawInputs InputsOf(const PictureRequest& request) {
  return {GeometryOf(request),  request.orientation,      request.year,
          request.hourPosition, request.differentialGrid, request.stonyhurstGrid,
          request.ephemeris};
}

}  // namespace

RedrawResult Redraw(FormView& form) {
  // The record and its texts end with this call, also when a check fails.
  ViewState state;
  state.Form = &form;
  const RedrawInputs inputs{form.PictureGeometry(),    form.PictureOrientation(),
                            form.CurrentYear(),        form.HourPosition(),
                            form.DiffRotChecked(),     form.StonyhurstGridChosen(),
                            form.ChosenEphemeris()};
  RedrawResult result = ComputeRedraw(state, inputs);
  Canvas& canvas = form.ImageCanvas();
  PaintBackgroundAndDisk(state, canvas);
  // The labels are captioned between the disk and its grid, so that a
  // failed check in the grid leaves the readout of the instant shown.
  result.readout = FillReadout(state);
  PaintGridAndMarks(state, inputs, result.frame, canvas);
  return result;
}

RedrawResult InstantResultsOf(const PictureRequest& request) {
  ViewState state;
  RedrawResult result = ComputeRedraw(state, InputsOf(request));
  result.readout = FormatReadout(result.instant, result.sun, request.decimalSeparator);
  return result;
}

RedrawResult DrawPicture(const PictureRequest& request, Canvas& canvas) {
  // The pen and brush that every earlier redraw leaves behind (black 2 px
  // pen, yellow brush): the picture the window keeps on screen is never its
  // very first redraw.
  canvas.SetPenColor(kBlack);
  canvas.SetPenWidth(2);
  canvas.SetBrushColor(kYellow);
  ViewState state;
  const RedrawInputs inputs = InputsOf(request);
  RedrawResult result = ComputeRedraw(state, inputs);
  PaintBackgroundAndDisk(state, canvas);
  result.readout = FormatReadout(result.instant, result.sun, request.decimalSeparator);
  PaintGridAndMarks(state, inputs, result.frame, canvas);
  return result;
}

}  // namespace helidisk
