// The picture's raster image, drawn on through the Canvas operations.
//
// The pixels live in one QImage (Format_RGB32) that the window shows and a
// renderer may save.  The canvas rasterizes every operation itself, straight
// into the image's scanlines and without antialiasing: QPainter strokes a
// wide line some ten times slower than a whole redraw can afford, and its
// aliased thin lines keep or drop their end pixel depending on the cap style.
// No painter is ever held open, so the image is complete after every call.
//
// Pixel geometry: pixel (x, y) is the unit square from (x, y) to (x + 1, y + 1)
// and is painted when its centre (x + 0.5, y + 0.5) lies inside a shape.
// - FillRect paints x = Left ... Right - 1, y = Top ... Bottom - 1.
// - Ellipse paints the ellipse inscribed in that same box; a ring of the pen's
//   width along its inner side takes the pen colour, the rest the brush colour.
//   Nothing is painted outside the box, and an empty or inverted box paints
//   nothing.
// - LineTo with a pen of width 1 or less paints the pixels nearest to the
//   mathematical line, one per step along the longer axis, from the start pixel
//   up to but not including the end pixel (a tie between two pixels goes to the
//   one further right or down, whichever way the line runs).
// - LineTo with a wider pen paints every pixel within half the pen width of the
//   segment, which gives round ends and, along a polyline, round joins; a
//   zero-length line is a round dot of the pen's width.  The segment joins the
//   pixel centres for odd widths and the pixels' top-left corners for even
//   widths, so that both keep the exact width across the line.
// Everything outside the image is clipped, whatever the coordinates.
#pragma once

#include <QImage>
#include <cstdint>

#include "canvas.h"

namespace helidisk {

class QImageCanvas final : public Canvas {
 public:
  QImageCanvas() = default;

  // The window sizes the picture one side at a time.  While either side is
  // zero or negative the image is null and every drawing operation does
  // nothing.  Resizing keeps the pixels the old and new image share and
  // paints the new ones white; pen and brush are unaffected.
  void SetWidth(std::int32_t widthPixels);
  void SetHeight(std::int32_t heightPixels);
  // The sides as last set, zero or negative ones included.
  std::int32_t Width() const { return widthPixels_; }
  std::int32_t Height() const { return heightPixels_; }

  const QImage& Image() const { return image_; }

  // Draws from now on over the given picture, which the canvas takes as it
  // is (converted to 32-bit RGB) with its size; pen and brush are
  // unaffected.
  void Adopt(QImage picture);

  void SetBrushColor(Color color) override;
  void SetPenColor(Color color) override;
  void SetPenWidth(std::int32_t widthPixels) override;
  void FillRect(const Rect& rect) override;
  void Ellipse(const Rect& rect) override;
  void MoveTo(std::int32_t x, std::int32_t y) override;
  void LineTo(std::int32_t x, std::int32_t y) override;

 private:
  void ResizeImage(std::int32_t widthPixels, std::int32_t heightPixels);

  QImage image_;
  std::int32_t widthPixels_ = 0;
  std::int32_t heightPixels_ = 0;
  QRgb brushColor_ = qRgb(255, 255, 255);
  QRgb penColor_ = qRgb(0, 0, 0);
  std::int32_t penWidthPixels_ = 1;
  std::int32_t penX_ = 0;
  std::int32_t penY_ = 0;
};

}  // namespace helidisk
