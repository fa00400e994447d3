// The raster canvas: every Canvas operation rasterized straight into rows of
// 32-bit pixels, without antialiasing and without a toolkit.  The window's
// picture draws through it on a QImage, helidisk-render's design-size PNG on
// a buffer of its own, with the same pixels either way.  (QPainter strokes a
// wide line some ten times slower than a whole redraw can afford, and its
// aliased thin lines keep or drop their end pixel depending on the cap
// style.)
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

#include <cstdint>

#include "canvas.h"
#include "largebuffer.h"

namespace helidisk {

// Pixels as 0xffRRGGBB words (the layout of Qt's RGB32), row y starting
// RowStride words after row y - 1.  A view with no pixels has a side of 0.
struct PixelView {
  std::uint32_t* Pixels = nullptr;
  std::int64_t RowStride = 0;
  std::int64_t Width = 0;
  std::int64_t Height = 0;
};

constexpr std::uint32_t PixelOf(Color color) {
  return 0xff000000U | static_cast<std::uint32_t>(color.Red) << 16U |
         static_cast<std::uint32_t>(color.Green) << 8U | color.Blue;
}

// Pen and brush start black, 1 px, and white.
class RasterCanvas : public Canvas {
 public:
  void SetBrushColor(Color color) final;
  void SetPenColor(Color color) final;
  void SetPenWidth(std::int32_t widthPixels) final;
  void FillRect(const Rect& rect) final;
  void Ellipse(const Rect& rect) final;
  void MoveTo(std::int32_t x, std::int32_t y) final;
  void LineTo(std::int32_t x, std::int32_t y) final;

 protected:
  // The pixels to draw on, asked for once per operation: an image shared
  // with a reader may move them.
  virtual PixelView Pixels() = 0;

 private:
  std::uint32_t brushColor_ = PixelOf(kWhite);
  std::uint32_t penColor_ = PixelOf(kBlack);
  std::int32_t penWidthPixels_ = 1;
  std::int32_t penX_ = 0;
  std::int32_t penY_ = 0;
};

// A raster canvas on a white buffer of its own, on huge pages: a
// design-size picture takes two page faults instead of some six hundred.
class PixelCanvas final : public RasterCanvas {
 public:
  // A side of zero or less leaves no pixels; raises std::bad_alloc when
  // they do not fit in memory.
  PixelCanvas(std::int32_t widthPixels, std::int32_t heightPixels);

  PixelView View() { return Pixels(); }

 private:
  PixelView Pixels() override;

  std::int32_t widthPixels_;
  std::int32_t heightPixels_;
  LargeBuffer pixels_;
};

}  // namespace helidisk
