// The picture control: owns the one raster image the redraw paints and
// shows it at its natural size from its top-left corner.  It reports where
// the mouse pointer is over the image and where the user clicks.
#pragma once

#include <QPointF>
#include <QWidget>

#include "qimagecanvas.h"

namespace helidisk {

class PictureControl final : public QWidget {
  Q_OBJECT

 public:
  explicit PictureControl(QWidget* parent);

  QImageCanvas& Canvas() { return canvas_; }
  const QImage& Image() const { return canvas_.Image(); }

  // A position in the control as a pixel of the image, real-valued: pixel
  // (i, j) covers the control's square from (i, j) to (i + 1, j + 1) and
  // stands for the point (i, j) of the drawing, so its middle maps there.
  static QPointF ImagePointAt(const QPointF& controlPosition);

 signals:
  // The pointer over the image, or no longer over it.
  void PointerMoved(QPointF imagePoint);
  void PointerLeft();
  // The left button pressed and released, and in between a left click that
  // did not move between press and release (after the release).
  void Pressed(QPointF imagePoint);
  void Released(QPointF imagePoint);
  void Clicked(QPointF imagePoint);

 protected:
  // Neither stretched nor centred; where the image is smaller than the
  // control, the panel behind it shows through.
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  bool OverImage(const QPointF& controlPosition) const;

  QImageCanvas canvas_;
  QPointF pressedAt_;
  bool pressed_ = false;
};

}  // namespace helidisk
