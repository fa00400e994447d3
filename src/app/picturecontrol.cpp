#include "picturecontrol.h"

#include <QPainter>

namespace helidisk {

PictureControl::PictureControl(QWidget* parent) : QWidget(parent) {}

void PictureControl::paintEvent(QPaintEvent* /*event*/) {
  if (canvas_.Image().isNull()) return;
  QPainter painter(this);
  painter.drawImage(0, 0, canvas_.Image());
}

}  // namespace helidisk
