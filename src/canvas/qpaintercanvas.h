// The picture as vectors on a QPainter: a PDF page or a printer's page.
//
// One unit of the painter's coordinates is one pixel of the picture; the
// painter's transform puts the picture on the page.  The shapes follow the
// pixel geometry of the SVG drawing (svgcanvas.h), with pixel (x, y) the unit
// square from (x, y) to (x + 1, y + 1):
// - FillRect fills Left ... Right by Top ... Bottom with the brush, without
//   outline.
// - Ellipse fills the ellipse inscribed in the same box with the brush and
//   strokes it with the pen half a pen width inside the box, so that the
//   outline lies within it; an ellipse narrower than the pen is pen-coloured
//   right through.  An empty or inverted box paints nothing.
// - LineTo strokes from the pen position with the pen's colour and width,
//   at least 1 px.  A thin pen joins pixel centres with butt ends; a wider
//   one has round ends, joining pixel centres for odd widths and pixel
//   corners for even ones, and a zero-length line is a round dot.
// Lines that follow one another with the same pen are gathered into one
// polyline, joined as their ends would overlap, and painted when the pen
// changes, another shape is painted or the canvas ends: a page of thousands
// of grid segments then holds a few hundred paths.  The canvas must end
// before the painter does.
// Pen and brush start black, 1 px, and white, as on the SVG drawing.
#pragma once

#include <QColor>
#include <QPolygon>
#include <cstdint>

#include "canvas.h"

class QPainter;

namespace helidisk {

class QPainterCanvas final : public Canvas {
 public:
  explicit QPainterCanvas(QPainter& painter);
  ~QPainterCanvas() override;
  QPainterCanvas(const QPainterCanvas&) = delete;
  QPainterCanvas& operator=(const QPainterCanvas&) = delete;

  void SetBrushColor(Color color) override;
  void SetPenColor(Color color) override;
  void SetPenWidth(std::int32_t widthPixels) override;
  void FillRect(const Rect& rect) override;
  void Ellipse(const Rect& rect) override;
  void MoveTo(std::int32_t x, std::int32_t y) override;
  void LineTo(std::int32_t x, std::int32_t y) override;

 private:
  std::int32_t EffectivePenWidth() const;
  // Paints the gathered polyline, if any, and starts afresh.
  void PaintPolyline();

  QPainter& painter_;
  QColor brushColor_{Qt::white};
  QColor penColor_{Qt::black};
  std::int32_t penWidthPixels_ = 1;
  std::int32_t penX_ = 0;
  std::int32_t penY_ = 0;
  // The vertices of the lines not yet painted, in whole pixels; empty or
  // at least two.
  QPolygon polyline_;
};

}  // namespace helidisk
