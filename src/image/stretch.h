// A grey picture of measured values (a FITS image's pixels): a linear
// stretch between robust limits, the 0.5 % and 99.5 % points of the finite
// values, so that a few hot pixels or cosmic-ray hits do not wash the
// picture out.
#pragma once

#include <QImage>
#include <optional>
#include <span>

namespace helidisk {

struct StretchLimits {
  double low = 0;   // shown black
  double high = 1;  // shown white; always above low
};

// The limits from a regular sample of at most about a million of the
// values (nth_element on the sample); NaN and infinities do not count.
// Nothing when no value is finite.  Where the percentiles coincide the
// finite range is used, and a constant image gets high = low + 1.
std::optional<StretchLimits> RobustLimits(std::span<const float> values);

// The values (width x height, row after row) as an 8-bit grey image, low
// black and high white, NaN and infinities black.  With `rowsUpward` the
// first row of values is the bottom row of the image (the FITS order).
// A null image when the image cannot be allocated.
QImage StretchToGrey(std::span<const float> values, int widthPx, int heightPx, StretchLimits limits,
                     bool rowsUpward);

}  // namespace helidisk
