// A place on the Earth, for the parallactic angle of an alt-azimuth mount.
#pragma once

namespace helidisk {

// Latitude north positive, longitude east positive, degrees.
struct Site {
  double latitudeDeg = 0;
  double longitudeDeg = 0;
};

}  // namespace helidisk
