// An image as plain grey values, the one input of the sunspot detection.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <vector>

namespace helidisk {

struct GreyImage {
  int widthPx = 0;
  int heightPx = 0;
  // Row after row, the top row first; (0, 0) is the centre of the top-left
  // pixel, x to the right, y downward.
  std::vector<float> values;
  // The largest value the file can hold (255 for 8-bit pixels), at which a
  // pixel is clipped; 0 where unknown.
  float saturationLevel = 0;

  float At(int x, int y) const {
    return values[static_cast<std::size_t>(y) * static_cast<std::size_t>(widthPx) +
                  static_cast<std::size_t>(x)];
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
