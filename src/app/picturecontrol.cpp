#include "picturecontrol.h"

#include <QMouseEvent>
#include <QPainter>

namespace helidisk {

namespace {
// A press and release this far apart still count as one click.
constexpr double kClickSlopPixels = 3;
}  // namespace

PictureControl::PictureControl(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

QPointF PictureControl::ImagePointAt(const QPointF& controlPosition) {
  return controlPosition - QPointF(0.5, 0.5);
}

void PictureControl::paintEvent(QPaintEvent* /*event*/) {
  if (canvas_.Image().isNull()) return;
  QPainter painter(this);
  painter.drawImage(0, 0, canvas_.Image());
}

bool PictureControl::OverImage(const QPointF& controlPosition) const {
  return !canvas_.Image().isNull() && controlPosition.x() >= 0 && controlPosition.y() >= 0 &&
         controlPosition.x() < canvas_.Image().width() &&
         controlPosition.y() < canvas_.Image().height();
}

void PictureControl::mouseMoveEvent(QMouseEvent* event) {
  if (OverImage(event->position())) {
    emit PointerMoved(ImagePointAt(event->position()));
  } else {
    emit PointerLeft();
  }
  QWidget::mouseMoveEvent(event);
}

void PictureControl::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  pressedAt_ = event->position();
  if (pressed_) emit Pressed(ImagePointAt(event->position()));
  QWidget::mousePressEvent(event);
}

void PictureControl::mouseReleaseEvent(QMouseEvent* event) {
  if (pressed_ && event->button() == Qt::LeftButton) emit Released(ImagePointAt(event->position()));
  const QPointF moved = event->position() - pressedAt_;
  if (pressed_ && event->button() == Qt::LeftButton && OverImage(event->position()) &&
      QPointF::dotProduct(moved, moved) <= kClickSlopPixels * kClickSlopPixels) {
    emit Clicked(ImagePointAt(event->position()));
  }
  pressed_ = false;
  QWidget::mouseReleaseEvent(event);
}

void PictureControl::leaveEvent(QEvent* event) {
  emit PointerLeft();
  QWidget::leaveEvent(event);
}

}  // namespace helidisk
