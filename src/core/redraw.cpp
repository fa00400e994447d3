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

void FindInstant(ViewState& state) {
  state.Year = state.Form->CurrentYear();
  state.Month = 1;
  state.Day = 1;
  state.Hours = 0.0;
  state.Minutes = 0.0;
  state.Seconds = 0.0;
  DateToJulianDay(state.Year, state.Month, state.Day, state.Hours, state.Minutes, state.Seconds,
                  state.JulianDay);
  state.JulianDay = state.Form->HourPosition() / 24.0 + state.JulianDay;
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

void PaintBackgroundAndDisk(ViewState& state) {
  const DiskGeometry& geometry = state.Geometry;
  Canvas& canvas = state.Form->ImageCanvas();

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
void DrawLimb(ViewState& state) {
  const DiskGeometry& geometry = state.Geometry;
  Canvas& canvas = state.Form->ImageCanvas();
  canvas.MoveTo(CheckedAdd(geometry.CentreX, state.DiskRadius), geometry.CentreY);
  for (state.LimbAngle = 0; state.LimbAngle <= 360; ++state.LimbAngle) {
    const double angle = state.LimbAngle * DegToRad;
    const std::int32_t y = RoundToInt32(std::sin(angle) * state.DiskRadius + geometry.CentreY);
    const std::int32_t x = RoundToInt32(std::cos(angle) * state.DiskRadius + geometry.CentreX);
    canvas.LineTo(x, y);
  }
}

void DrawCentreCross(ViewState& state) {
  const DiskGeometry& geometry = state.Geometry;
  Canvas& canvas = state.Form->ImageCanvas();
  canvas.MoveTo(CheckedSub(geometry.CentreX, kCrossArmPixels), geometry.CentreY);
  canvas.LineTo(CheckedAdd(geometry.CentreX, kCrossArmPixels), geometry.CentreY);
  canvas.MoveTo(geometry.CentreX, CheckedSub(geometry.CentreY, kCrossArmPixels));
  canvas.LineTo(geometry.CentreX, CheckedAdd(geometry.CentreY, kCrossArmPixels));
}

}  // namespace

RedrawResult Redraw(FormView& form) {
  // The record and its texts end with this call, also when a check fails.
  ViewState state;
  state.Form = &form;
  state.Geometry = form.PictureGeometry();
  state.PictureOrientation = form.PictureOrientation();
  RedrawResult result;
  result.geometry = state.Geometry;

  FindInstant(state);
  result.instant = {state.Year, state.Month, state.Day, state.Hours, state.Minutes, state.Seconds};
  result.ephemeris = form.ChosenEphemeris();
  result.sun = ComputeSunWith(result.ephemeris, state.JulianDay);
  StoreSunEphemeris(state, result.sun);
  OrientDisk(state);
  result.diskRadiusPx = state.DiskRadius;
  result.frame = FrameOfState(state);
  PaintBackgroundAndDisk(state);

  Canvas& canvas = form.ImageCanvas();
  canvas.SetPenColor(kGrey);
  result.readout = FillReadout(state);
  if (form.StonyhurstGridChosen()) {
    DrawStonyhurstGrid(canvas, result.frame);
  } else if (form.DiffRotChecked()) {
    DrawDifferentialGrid(state);
  } else {
    DrawFixedGrid(state);
  }

  canvas.SetPenWidth(2);
  canvas.SetPenColor(kBlack);
  DrawLimb(state);
  DrawCentreCross(state);
  DrawCompass(canvas, result.frame);
  return result;
}

}  // namespace helidisk
