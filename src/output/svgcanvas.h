// The picture as a vector drawing: every canvas operation becomes one SVG
// element, in drawing order, so that a disk template prints crisply at any
// size.
//
// The elements follow the raster canvas's pixel geometry, with pixel (x, y)
// the unit square from (x, y) to (x + 1, y + 1):
// - FillRect gives a <rect> covering Left ... Right and Top ... Bottom, filled
//   with the brush and without outline.
// - Ellipse gives an <ellipse> inscribed in the same box, filled with the
//   brush and stroked with the pen; the stroke runs half a pen width inside
//   the box, so that the outline lies within it as on the raster.
// - LineTo gives a <line> from the pen position, zero-length ones included,
//   stroked with the pen's colour and width.  A thin pen joins pixel centres
//   with butt caps; a wide one (more than 1 px) has round caps and joins
//   pixel centres for odd widths and pixel corners for even ones.
// An empty or inverted box becomes an element of zero size, which paints
// nothing.  Pen widths below 1 px draw as 1 px, as on the raster.
// Pen and brush start black, 1 px, and white, and keep their settings until
// set again; setting them and MoveTo add no element.
#pragma once

#include <cstdint>
#include <string>

#include "canvas.h"

namespace helidisk {

class SvgCanvas final : public Canvas {
 public:
  // The drawing's size in pixels; a side of zero or less gives an empty
  // drawing that still lists every element.
  SvgCanvas(std::int32_t widthPixels, std::int32_t heightPixels);

  void SetBrushColor(Color color) override;
  void SetPenColor(Color color) override;
  void SetPenWidth(std::int32_t widthPixels) override;
  void FillRect(const Rect& rect) override;
  void Ellipse(const Rect& rect) override;
  void MoveTo(std::int32_t x, std::int32_t y) override;
  void LineTo(std::int32_t x, std::int32_t y) override;

  std::int64_t ElementCount() const { return elementCount_; }
  // The complete SVG document, UTF-8.
  std::string Document() const;

 private:
  std::int32_t EffectivePenWidth() const;
  void AppendNumber(double value);
  void AppendAttribute(const char* name, double value);
  void AppendColorAttribute(const char* name, Color color);

  std::int32_t widthPixels_;
  std::int32_t heightPixels_;
  std::string elements_;
  std::int64_t elementCount_ = 0;
  Color brushColor_ = kWhite;
  Color penColor_ = kBlack;
  std::int32_t penWidthPixels_ = 1;
  std::int32_t penX_ = 0;
  std::int32_t penY_ = 0;
};

}  // namespace helidisk
