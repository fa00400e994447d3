// The picture control: owns the one raster image the redraw paints and
// shows it at its natural size from its top-left corner.
#pragma once

#include <QWidget>

#include "qimagecanvas.h"

namespace helidisk {

class PictureControl final : public QWidget {
  Q_OBJECT

 public:
  explicit PictureControl(QWidget* parent);

  QImageCanvas& Canvas() { return canvas_; }
  const QImage& Image() const { return canvas_.Image(); }

 protected:
  // Neither stretched nor centred; where the image is smaller than the
  // control, the panel behind it shows through.
  void paintEvent(QPaintEvent* event) override;

 private:
  QImageCanvas canvas_;
};

}  // namespace helidisk
