#include "overlay.h"

#include <QPainter>
#include <cmath>
#include <utility>

#include "checked.h"
#include "grids.h"
#include "parallactic.h"
#include "qimagecanvas.h"
#include "trigfunc.h"

namespace helidisk {

namespace {

constexpr int kLimbSamples = 720;

// The limb as a polyline through the frame's circle, thin and black, so
// that the placement of the disk can be judged against the image's limb.
void DrawLimb(Canvas& canvas, const DiskFrame& frame) {
  canvas.SetPenWidth(1);
  canvas.SetPenColor(kBlack);
  for (int sample = 0; sample <= kLimbSamples; ++sample) {
    const double angle = sample * TwoPi / kLimbSamples;
    const std::int32_t x = RoundToInt32(frame.centreXPx + frame.radiusPx * std::cos(angle));
    const std::int32_t y = RoundToInt32(frame.centreYPx + frame.radiusPx * std::sin(angle));
    if (sample == 0) {
      canvas.MoveTo(x, y);
    } else {
      canvas.LineTo(x, y);
    }
  }
}

// The grid and the limb in the overlay's grey.
void DrawOverlay(Canvas& canvas, const DiskFrame& frame, bool differentialGrid,
                 double hoursSinceNewYear) {
  canvas.SetPenColor(kGrey);
  if (differentialGrid) {
    DrawDifferentialGrid(canvas, frame, hoursSinceNewYear);
  } else {
    DrawFixedGrid(canvas, frame);
  }
  DrawLimb(canvas, frame);
}

}  // namespace

std::optional<ImageView> ViewFromHeader(const HeaderGeometry& header) {
  if (!header.alignedToSolarNorth) return std::nullopt;
  return ImageView{Orientation::SolarNorth, header.rotationDeg};
}

DiskFrame ImageDiskFrame(const ImageDisk& disk, const SunEphemeris& sun, const ImageView& view) {
  return OrientedDiskFrame(disk.centreXPx, disk.centreYPx, disk.radiusPx, sun.l0Rad, sun.b0Rad,
                           sun.pRad, view.orientation, view.rotationDeg * DegToRad);
}

DiskFrame ScaledDiskFrame(const DiskFrame& frame, double scale, double leftPx, double topPx) {
  // Pixel centres lie half a pixel inside the edges, on both pictures.
  DiskFrame scaled = frame;
  scaled.centreXPx = leftPx + scale * (frame.centreXPx + 0.5) - 0.5;
  scaled.centreYPx = topPx + scale * (frame.centreYPx + 0.5) - 0.5;
  scaled.radiusPx = scale * frame.radiusPx;
  return scaled;
}

double ZenithUpRotationDeg(Orientation orientation, const SunEphemeris& sun, double latitudeDeg,
                           double longitudeDeg) {
  const DiskFrame unturned = OrientedDiskFrame(0, 0, 1, 0, 0, sun.pRad, orientation);
  // The parallactic angle from the same ephemeris as P, whichever theory
  // computed it.
  const double zenithRad = ParallacticAngleDeg(sun, latitudeDeg, longitudeDeg) * DegToRad;
  // The zenith's direction on the screen, as an angle counterclockwise from
  // up; the camera turns the picture back by it.
  const ScreenDirection zenith =
      SkyDirectionOnScreen(unturned, -std::sin(zenithRad), std::cos(zenithRad));
  return -std::atan2(-zenith.right, -zenith.down) * RadToDeg;
}

QImage OverlaidImage(QImage image, const DiskFrame& frame, bool differentialGrid,
                     double hoursSinceNewYear, double opacity) {
  QImageCanvas canvas;
  if (opacity >= 1) {
    canvas.Adopt(std::move(image));
    DrawOverlay(canvas, frame, differentialGrid, hoursSinceNewYear);
    return canvas.Image();
  }
  QImage base = std::move(image).convertToFormat(QImage::Format_RGB32);
  canvas.Adopt(base);
  DrawOverlay(canvas, frame, differentialGrid, hoursSinceNewYear);
  QPainter painter(&base);
  painter.setOpacity(std::max(0.0, opacity));
  painter.drawImage(0, 0, canvas.Image());
  painter.end();
  return base;
}

}  // namespace helidisk
