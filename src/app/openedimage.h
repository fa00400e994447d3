// An observer's image opened in the window: the file, its disk (placed by
// its header, fitted, or moved by the user), how it is to be read, and the
// picture that shows it scaled into the window with the grid over it.
#pragma once

#include <QImage>
#include <QPointF>
#include <QSize>

#include "overlay.h"
#include "solarimage.h"

namespace helidisk {

class OpenedImage {
 public:
  // Opens and places the disk; raises ImageError naming the file and the
  // problem.
  explicit OpenedImage(const QString& path);

  const SolarImage& Image() const { return image_; }
  const ImageDisk& Disk() const { return disk_; }
  // The header's view, where a helioprojective FITS header fixes one.
  std::optional<ImageView> HeaderView() const { return ViewFromHeader(image_.header); }

  double RotationDeg() const { return rotationDeg_; }
  void SetRotationDeg(double degrees) { rotationDeg_ = degrees; }
  double Opacity() const { return opacity_; }
  void SetOpacity(double opacity) { opacity_ = opacity; }

  // The picture control's image size: the image is shown scaled to fit it,
  // centred, with black around it.
  void FitInto(QSize pictureSize);

  // The disk's frame on the image itself, and as the window shows it.
  DiskFrame ImageFrame(const SunEphemeris& sun, Orientation orientation) const;
  DiskFrame ShownFrame(const SunEphemeris& sun, Orientation orientation) const;
  // The window's picture: the fitted image with the grid over it.
  QImage ShownPicture(const DiskFrame& shownFrame, bool differentialGrid, double hours) const;

  // Between the window's picture and the image's own pixels.
  QPointF ImagePointOf(QPointF shownPoint) const;
  QPointF ShownPointOf(QPointF imagePoint) const;

  // The user moves the disk: its centre, or its radius through a point on
  // the limb (image pixels).
  void MoveCentreTo(QPointF imagePoint);
  void PutLimbThrough(QPointF imagePoint);

 private:
  SolarImage image_;
  ImageDisk disk_;
  double rotationDeg_ = 0;
  double opacity_ = 1;
  QImage fitted_;  // the image scaled into the picture, black around it
  double scale_ = 1;
  QPointF offset_;  // of the image's top-left corner in the picture
};

}  // namespace helidisk
