// An image as plain grey values, the one input of the sunspot detection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace helidisk {

struct GreyImage {
  int widthPx = 0;
  int heightPx = 0;
  // Row after row, the top row first; (0, 0) is the centre of the top-left
  // pixel, x to the right, y downward.
  std::vector<float> values;
  // Instead of values: 8-bit pixels that another owner keeps, each row
  // bytesPerLine after the one above (a decoded image read in place,
  // without a copy as large as the image).
  const std::uint8_t* bytes = nullptr;
  std::ptrdiff_t bytesPerLine = 0;
  // The largest value the file can hold (255 for 8-bit pixels), at which a
  // pixel is clipped; 0 where unknown.
  float saturationLevel = 0;

  float At(int x, int y) const {
    if (bytes != nullptr) return bytes[y * bytesPerLine + x];
    return values[static_cast<std::size_t>(y) * static_cast<std::size_t>(widthPx) +
                  static_cast<std::size_t>(x)];
  }

  // The values of row y, converted into `scratch` where they are bytes.
  const float* Row(int y, std::vector<float>& scratch) const {
    if (bytes == nullptr) return &values[static_cast<std::size_t>(y) * widthPx];
    scratch.assign(bytes + y * bytesPerLine, bytes + y * bytesPerLine + widthPx);
    return scratch.data();
  }
};

// What keeps spots from being measured on an image: a disk without light,
// a saturated one, or an image that is not white light.  what() is the
// message for the user.
class SpotError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace helidisk
