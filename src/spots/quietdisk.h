// The quiet photosphere's brightness from the centre of the disk to the
// limb, against which spots are found.
//
// The disk is sampled on a grid, the samples sorted into bins of mu (the
// cosine of the heliocentric angle), and a cubic in mu fitted by least
// squares to the bins' medians: the median ignores the spots, faculae and
// dust that occupy less than half of a bin.  Where too few bins are filled
// (a small or largely hidden disk) the curve is Allen's quadratic law at
// 0.55 um (Allen, Astrophysical Quantities, 3rd ed. 1973, sect. 81:
// I(mu)/I(1) = 1 - u2 (1 - mu) - v2 (1 - mu^2), u2 = 0.88, v2 = -0.23),
// scaled to the median of the central samples.
#pragma once

#include <array>

#include "diskframe.h"
#include "greyimage.h"

namespace helidisk {

// Pixels this close to the fitted limb mix disk and sky: neither the quiet
// disk's samples nor the spot search take them.
inline constexpr double kLimbMarginPx = 2;

inline constexpr double kAllenU2 = 0.88;
inline constexpr double kAllenV2 = -0.23;

struct QuietDiskProfile {
  // I(mu) = c[0] + c[1] mu + c[2] mu^2 + c[3] mu^3, in the image's values.
  std::array<double, 4> coefficients{};
  // False where Allen's law stands in for a fit.
  bool fitted = false;

  double LevelAt(double mu) const {
    return coefficients[0] + mu * (coefficients[1] + mu * (coefficients[2] + mu * coefficients[3]));
  }
};

// Allen's law scaled to the brightness at the disk centre.
QuietDiskProfile AllenProfile(double centreLevel);

// The quiet disk of the image within the frame's limb.  Raises SpotError
// when the disk has no light, or when more than a tenth of it is clipped at
// the image's saturation level.
QuietDiskProfile FitQuietDisk(const GreyImage& image, const DiskFrame& frame);

}  // namespace helidisk
