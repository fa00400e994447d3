// Reading the pixels and header of a FITS image through cfitsio.
#pragma once

#include <QString>
#include <memory>
#include <span>

#include "fitsheader.h"

namespace helidisk {

// The largest image side the program opens, in pixels.
inline constexpr long long kMaxImageSidePx = 8192;

struct FitsPixels {
  int widthPx = 0;   // NAXIS1
  int heightPx = 0;  // NAXIS2
  // Physical values (BSCALE and BZERO applied) in FITS order, the bottom row
  // first; undefined pixels (BLANK) are NaN.  Left uninitialized until
  // cfitsio fills it: zeroing 256 MB first would cost as much as reading.
  std::unique_ptr<float[]> values;
  std::span<const float> Values() const {
    return {values.get(), static_cast<std::size_t>(widthPx) * static_cast<std::size_t>(heightPx)};
  }
  // The image HDU's cards ahead of the primary header's.
  FitsHeader header;
};

// The primary image, or the first image extension when the primary HDU has
// no image (also a tile-compressed one); of a cube its first plane.  Raises
// ImageError for a file that cfitsio cannot read, one without an image and
// an image over kMaxImageSidePx on a side, which are refused before any
// pixel is read.
FitsPixels ReadFitsImage(const QString& path);

// True when the file starts as a FITS file does ("SIMPLE  ="), or as a
// gzip-compressed file does, which cfitsio opens as the FITS file inside.
bool LooksLikeFits(const QString& path);

}  // namespace helidisk
