// A picture that could not be made: no memory for the image, a page the
// disk does not fit, or a failed encoding.
#pragma once

#include <stdexcept>

namespace helidisk {

class PictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace helidisk
