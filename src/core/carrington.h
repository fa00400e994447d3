// The Carrington rotation number: solar rotations counted since the one
// that began on 9 November 1853 (Carrington, Observations of the Spots on
// the Sun, 1863), in the longitude system of the program's own L0.
#pragma once

#include <cstdint>

namespace helidisk {

struct CarringtonRotation {
  // The rotation in progress: it goes up by one exactly when L0 passes
  // from 0 deg back to 360 deg.
  std::int32_t number = 0;
  // number + (360 deg - L0) / 360 deg.
  double fraction = 0;
};

CarringtonRotation CarringtonRotationOf(double julianDay, double l0Rad);

}  // namespace helidisk
