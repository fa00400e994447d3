#include "openedimage.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace helidisk {

OpenedImage::OpenedImage(const QString& path)
    : image_(LoadSolarImage(path)), disk_(LocateDisk(image_)) {
  if (const std::optional<ImageView> view = HeaderView()) rotationDeg_ = view->rotationDeg;
}

void OpenedImage::FitInto(QSize pictureSize) {
  fitted_ = QImage();
  if (pictureSize.isEmpty() || image_.display.isNull()) return;
  scale_ = std::min(static_cast<double>(pictureSize.width()) / image_.display.width(),
                    static_cast<double>(pictureSize.height()) / image_.display.height());
  const QSizeF shown = QSizeF(image_.display.size()) * scale_;
  offset_ = QPointF((pictureSize.width() - shown.width()) / 2,
                    (pictureSize.height() - shown.height()) / 2);
  fitted_ = QImage(pictureSize, QImage::Format_RGB32);
  fitted_.fill(Qt::black);
  QPainter painter(&fitted_);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(offset_, shown), image_.display);
}

DiskFrame OpenedImage::ImageFrame(const SunEphemeris& sun, Orientation orientation) const {
  return ImageDiskFrame(disk_, sun, ImageView{orientation, rotationDeg_});
}

DiskFrame OpenedImage::ShownFrame(const SunEphemeris& sun, Orientation orientation) const {
  return ScaledDiskFrame(ImageFrame(sun, orientation), scale_, offset_.x(), offset_.y());
}

QImage OpenedImage::ShownPicture(const DiskFrame& shownFrame, bool differentialGrid,
                                 double hours) const {
  return OverlaidImage(fitted_, shownFrame, differentialGrid, hours, opacity_);
}

QPointF OpenedImage::ImagePointOf(QPointF shownPoint) const {
  return (shownPoint + QPointF(0.5, 0.5) - offset_) / scale_ - QPointF(0.5, 0.5);
}

QPointF OpenedImage::ShownPointOf(QPointF imagePoint) const {
  return offset_ + (imagePoint + QPointF(0.5, 0.5)) * scale_ - QPointF(0.5, 0.5);
}

void OpenedImage::MoveCentreTo(QPointF imagePoint) {
  disk_.centreXPx = imagePoint.x();
  disk_.centreYPx = imagePoint.y();
}

void OpenedImage::PutLimbThrough(QPointF imagePoint) {
  disk_.radiusPx =
      std::max(1.0, std::hypot(imagePoint.x() - disk_.centreXPx, imagePoint.y() - disk_.centreYPx));
}

}  // namespace helidisk
