// Sunspots found on a white-light image: regions darker than a fraction of
// the quiet disk's level at their place, with their heliographic places and
// their areas on the sphere.
//
// A pixel belongs to a spot where its value falls below
// penumbraFraction x I(mu) of the quiet disk, to an umbra where it falls
// below umbraFraction x I(mu).  Spots are the 8-connected regions of such
// pixels (labelled run by run, row after row), umbrae the connected regions
// of umbral pixels within them.  A region of fewer than minimumSpotPx
// pixels is ignored as noise or dust; an umbra of fewer than
// minimumUmbraPx counts only toward its spot's umbral area.
//
// Areas are corrected for foreshortening pixel by pixel: a pixel at mu
// covers 1 / mu times its own area on the sphere, and the hemisphere
// 2 pi R^2, so the area in millionths of the hemisphere (MSH) is
// 10^6 x sum(1 / mu) / (2 pi R^2) with R the disk's radius in pixels.
#pragma once

#include <string>
#include <vector>

#include "diskframe.h"
#include "greyimage.h"
#include "quietdisk.h"

namespace helidisk {

struct DetectionSettings {
  double penumbraFraction = 0.85;
  double umbraFraction = 0.55;
  int minimumSpotPx = 5;
  int minimumUmbraPx = 3;
  // More regions than this are not a white-light image's spots but an
  // H-alpha or Ca K image's mottles, filaments and plage.
  int mostSpots = 250;
};

// Where a region lies on the Sun: its centroid's pixel and what the frame
// says of that point.
struct SpotPlace {
  double xPx = 0;
  double yPx = 0;
  double latitudeDeg = 0;
  double longitudeDeg = 0;   // Carrington, 0 ... 360
  double cmDistanceDeg = 0;  // east negative
  double mu = 0;
  double positionAngleDeg = 0;  // from celestial north through east
};

struct Umbra {
  SpotPlace place;
  int pixels = 0;
  double areaMsh = 0;
};

struct DetectedSpot {
  SpotPlace place;
  int pixels = 0;
  // Whole spot (umbra and penumbra) and umbra, corrected for foreshortening.
  double areaMsh = 0;
  double umbraAreaMsh = 0;
  std::vector<Umbra> umbrae;
  // The region reaches the limb or the image's edge: part of it may be
  // hidden, so its place and area are those of the part that shows.
  bool partial = false;
  // The group it belongs to, numbered from 1; 0 before grouping.
  int group = 0;
  // The official (NOAA) number the observer gave the spot's group; 0 for
  // none.  Kept with the spots so that it follows them through edits.
  int region = 0;
  // The Zurich and McIntosh classes the observer chose for the spot's
  // group; 0 and empty while the proposal stands.  Kept with the spots, as
  // the region number is.
  char zurichClass = 0;
  std::string mcIntoshClass;

  // The spots it counts as in f: each umbra is a spot, a pore without
  // umbra is one.
  int CountedSpots() const { return umbrae.empty() ? 1 : static_cast<int>(umbrae.size()); }
  bool HasPenumbra() const { return !umbrae.empty(); }
};

struct Detection {
  QuietDiskProfile quiet;
  std::vector<DetectedSpot> spots;
};

// The spots within the frame's limb, largest first.  Raises SpotError for
// a disk without light or saturated (FitQuietDisk), for more regions than
// settings.mostSpots, and for a disk of which more than a third is dark.
Detection DetectSpots(const GreyImage& image, const DiskFrame& frame,
                      const DetectionSettings& settings = {});

// A pixel's area on the sphere in MSH: 10^6 / (2 pi R^2 mu).
double PixelAreaMsh(double radiusPx, double mu);

// The place of a pixel (real-valued) in the frame.
SpotPlace PlaceOf(const DiskFrame& frame, double xPx, double yPx);

}  // namespace helidisk
