// The drawing surface of the picture: a raster image seen through pen, brush
// and a few primitives.
//
// Fill covers x from Left to Right - 1 and y from Top to Bottom - 1; the
// ellipse is inscribed in the same half-open box, filled with the brush and
// outlined with the pen; a line does not draw its end pixel and leaves the pen
// at its end point.  Drawing outside the image is clipped.  Pen and brush keep
// their settings until they are set again.
#pragma once

#include <cstdint>

namespace helidisk {

struct Color {
  std::uint8_t Red = 0;
  std::uint8_t Green = 0;
  std::uint8_t Blue = 0;

  friend constexpr bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kYellow{255, 255, 0};
inline constexpr Color kGrey{128, 128, 128};
inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kBlue{0, 0, 255};

struct Rect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;

  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void SetBrushColor(Color color) = 0;
  virtual void SetPenColor(Color color) = 0;
  virtual void SetPenWidth(std::int32_t widthPixels) = 0;
  virtual void FillRect(const Rect& rect) = 0;
  virtual void Ellipse(const Rect& rect) = 0;
  virtual void MoveTo(std::int32_t x, std::int32_t y) = 0;
  virtual void LineTo(std::int32_t x, std::int32_t y) = 0;
};

}  // namespace helidisk
