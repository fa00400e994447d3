#include "qpaintercanvas.h"

#include <QPainter>
#include <QPen>
#include <algorithm>

namespace helidisk {

namespace {

QColor ToQColor(Color color) { return {color.Red, color.Green, color.Blue}; }

}  // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter) : painter_(painter) {}

QPainterCanvas::~QPainterCanvas() { PaintPolyline(); }

std::int32_t QPainterCanvas::EffectivePenWidth() const { return std::max(penWidthPixels_, 1); }

void QPainterCanvas::SetBrushColor(Color color) { brushColor_ = ToQColor(color); }

void QPainterCanvas::SetPenColor(Color color) {
  const QColor penColor = ToQColor(color);
  if (penColor == penColor_) return;
  PaintPolyline();
  penColor_ = penColor;
}

void QPainterCanvas::SetPenWidth(std::int32_t widthPixels) {
  if (widthPixels == penWidthPixels_) return;
  PaintPolyline();
  penWidthPixels_ = widthPixels;
}

void QPainterCanvas::FillRect(const Rect& rect) {
  PaintPolyline();
  const double width = static_cast<double>(rect.Right) - rect.Left;
  const double height = static_cast<double>(rect.Bottom) - rect.Top;
  if (width <= 0 || height <= 0) return;
  painter_.fillRect(QRectF(rect.Left, rect.Top, width, height), brushColor_);
}

void QPainterCanvas::Ellipse(const Rect& rect) {
  PaintPolyline();
  const double boxRadiusX = (static_cast<double>(rect.Right) - rect.Left) / 2;
  const double boxRadiusY = (static_cast<double>(rect.Bottom) - rect.Top) / 2;
  if (boxRadiusX <= 0 || boxRadiusY <= 0) return;
  const double strokeWidth =
      std::min({static_cast<double>(EffectivePenWidth()), boxRadiusX, boxRadiusY});
  painter_.setPen(QPen(penColor_, strokeWidth));
  painter_.setBrush(brushColor_);
  painter_.drawEllipse(QPointF((static_cast<double>(rect.Left) + rect.Right) / 2,
                               (static_cast<double>(rect.Top) + rect.Bottom) / 2),
                       boxRadiusX - strokeWidth / 2, boxRadiusY - strokeWidth / 2);
}

void QPainterCanvas::MoveTo(std::int32_t x, std::int32_t y) {
  if (x != penX_ || y != penY_) PaintPolyline();
  penX_ = x;
  penY_ = y;
}

void QPainterCanvas::LineTo(std::int32_t x, std::int32_t y) {
  if (polyline_.isEmpty()) polyline_.append(QPoint(penX_, penY_));
  polyline_.append(QPoint(x, y));
  penX_ = x;
  penY_ = y;
}

void QPainterCanvas::PaintPolyline() {
  if (polyline_.isEmpty()) return;
  const std::int32_t width = EffectivePenWidth();
  // Odd widths are centred on pixel centres, even ones on pixel corners.
  const double origin = width % 2 == 1 ? 0.5 : 0.0;
  QPolygonF vertices(polyline_);
  vertices.translate(origin, origin);
  polyline_.clear();

  const bool wide = width > 1;
  const bool dot =
      std::all_of(vertices.cbegin(), vertices.cend(),
                  [&vertices](const QPointF& vertex) { return vertex == vertices[0]; });
  if (dot) {
    // A thin pen's butt ends leave nothing of a line without length.
    if (!wide) return;
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(penColor_);
    painter_.drawEllipse(vertices[0], width / 2.0, width / 2.0);
    return;
  }
  painter_.setPen(QPen(penColor_, width, Qt::SolidLine, wide ? Qt::RoundCap : Qt::FlatCap,
                       wide ? Qt::RoundJoin : Qt::MiterJoin));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPolyline(vertices);
}

}  // namespace helidisk
