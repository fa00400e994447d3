#include "spotdetect.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <unordered_map>

#include "trigfunc.h"

namespace helidisk {

namespace {

constexpr double kMostDarkFraction = 1.0 / 3;
constexpr double kMillion = 1e6;

// One horizontal stretch of dark pixels in one row, with the sums its
// region's centroid and area are made of.
struct Run {
  int y = 0;
  int x0 = 0;
  int x1 = 0;  // included
  int parent = 0;
  int pixels = 0;
  double sumX = 0;
  double sumInverseMu = 0;
  bool partial = false;
  // For an umbral run: the spot's run in the same row that holds it.
  int enclosingRun = -1;
};

int Root(std::vector<Run>& runs, int index) {
  while (runs[index].parent != index) {
    runs[index].parent = runs[runs[index].parent].parent;
    index = runs[index].parent;
  }
  return index;
}

void Join(std::vector<Run>& runs, int a, int b) {
  const int rootA = Root(runs, a);
  const int rootB = Root(runs, b);
  if (rootA != rootB) runs[std::max(rootA, rootB)].parent = std::min(rootA, rootB);
}

// Joins the runs of one row [rowStart, end) with those of the row above
// [aboveStart, rowStart) that touch them, diagonals included.
void JoinWithRowAbove(std::vector<Run>& runs, std::size_t aboveStart, std::size_t rowStart) {
  std::size_t above = aboveStart;
  for (std::size_t current = rowStart; current < runs.size(); ++current) {
    while (above < rowStart && runs[above].x1 + 1 < runs[current].x0) ++above;
    for (std::size_t a = above; a < rowStart && runs[a].x0 <= runs[current].x1 + 1; ++a) {
      Join(runs, static_cast<int>(a), static_cast<int>(current));
    }
  }
}

// The dark runs of both kinds, row after row, and how much of the disk was
// searched.
struct RunScan {
  std::vector<Run> spotRuns;
  std::vector<Run> umbraRuns;
  std::size_t searchedPixels = 0;
  std::size_t darkPixels = 0;
};

// Runs of one kind in one row: opened where a dark pixel follows a bright
// one and closed where it ends.
class RowRuns {
 public:
  RowRuns(std::vector<Run>& runs, int y) : runs_(runs), y_(y) {}

  // Returns the index of the run the pixel went into, or -1 for a bright
  // pixel.
  int Take(bool dark, int x, double inverseMu) {
    if (!dark) {
      open_ = -1;
      return -1;
    }
    if (open_ < 0) {
      open_ = static_cast<int>(runs_.size());
      Run run;
      run.y = y_;
      run.x0 = x;
      run.parent = open_;
      runs_.push_back(run);
    }
    Run& run = runs_[open_];
    run.x1 = x;
    ++run.pixels;
    run.sumX += x;
    run.sumInverseMu += inverseMu;
    return open_;
  }

 private:
  std::vector<Run>& runs_;
  int y_;
  int open_ = -1;
};

void MarkRowEnds(std::vector<Run>& runs, std::size_t rowStart, int left, int right, bool edgeRow) {
  for (std::size_t i = rowStart; i < runs.size(); ++i) {
    if (edgeRow || runs[i].x0 == left || runs[i].x1 == right) runs[i].partial = true;
  }
}

RunScan ScanRuns(const GreyImage& image, const DiskFrame& frame, const QuietDiskProfile& quiet,
                 const DetectionSettings& settings) {
  RunScan scan;
  const double radius = frame.radiusPx;
  // Pixels within kLimbMarginPx of the limb are neither searched nor
  // measured, and a region reaching them is partial.
  const double innerRadius = radius - kLimbMarginPx;
  const double inverseRadiusSquared = 1 / (radius * radius);
  const int top = std::max(0, static_cast<int>(std::ceil(frame.centreYPx - innerRadius)));
  const int bottom =
      std::min(image.heightPx - 1, static_cast<int>(std::floor(frame.centreYPx + innerRadius)));
  std::vector<float> scratch;
  std::size_t spotRowAbove = 0;
  std::size_t umbraRowAbove = 0;
  for (int y = top; y <= bottom; ++y) {
    const double dy = y - frame.centreYPx;
    const double halfChord = std::sqrt(std::max(0.0, innerRadius * innerRadius - dy * dy));
    const int left = std::max(0, static_cast<int>(std::ceil(frame.centreXPx - halfChord)));
    const int right =
        std::min(image.widthPx - 1, static_cast<int>(std::floor(frame.centreXPx + halfChord)));
    const std::size_t spotRowStart = scan.spotRuns.size();
    const std::size_t umbraRowStart = scan.umbraRuns.size();
    RowRuns spots(scan.spotRuns, y);
    RowRuns umbrae(scan.umbraRuns, y);
    const float* row = image.Row(y, scratch);
    for (int x = left; x <= right; ++x) {
      const double dx = x - frame.centreXPx;
      const double mu = std::sqrt(std::max(1e-6, 1 - (dx * dx + dy * dy) * inverseRadiusSquared));
      const double level = quiet.LevelAt(mu);
      const double value = row[x];
      const double inverseMu = 1 / mu;
      const int spotRun = spots.Take(value < settings.penumbraFraction * level, x, inverseMu);
      const int umbraRun = umbrae.Take(value < settings.umbraFraction * level, x, inverseMu);
      if (umbraRun >= 0 && scan.umbraRuns[umbraRun].enclosingRun < 0) {
        scan.umbraRuns[umbraRun].enclosingRun = spotRun;
      }
    }
    if (right >= left) scan.searchedPixels += static_cast<std::size_t>(right - left + 1);
    const bool edgeRow = y == top || y == bottom;
    MarkRowEnds(scan.spotRuns, spotRowStart, left, right, edgeRow);
    for (std::size_t i = spotRowStart; i < scan.spotRuns.size(); ++i) {
      scan.darkPixels += static_cast<std::size_t>(scan.spotRuns[i].pixels);
    }
    JoinWithRowAbove(scan.spotRuns, spotRowAbove, spotRowStart);
    JoinWithRowAbove(scan.umbraRuns, umbraRowAbove, umbraRowStart);
    spotRowAbove = spotRowStart;
    umbraRowAbove = umbraRowStart;
  }
  return scan;
}

// The sums of one connected region.
struct Region {
  int pixels = 0;
  double sumX = 0;
  double sumY = 0;
  double sumInverseMu = 0;
  bool partial = false;
  int firstRun = 0;
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
  // Joined into another region, the index of which; -1 for none.
  int joinedInto = -1;
};

// The regions of the runs, keyed by their root run, in the order they
// were first met.
std::vector<Region> Regions(std::vector<Run>& runs, std::vector<int>& regionOfRun) {
  std::vector<Region> regions;
  std::unordered_map<int, int> regionOfRoot;
  regionOfRun.assign(runs.size(), -1);
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const int root = Root(runs, static_cast<int>(i));
    const auto [found, inserted] = regionOfRoot.try_emplace(root, static_cast<int>(regions.size()));
    const Run& run = runs[i];
    if (inserted) {
      regions.emplace_back();
      Region& first = regions.back();
      first.firstRun = static_cast<int>(i);
      first.left = run.x0;
      first.right = run.x1;
      first.top = run.y;
      first.bottom = run.y;
    }
    Region& region = regions[found->second];
    region.left = std::min(region.left, run.x0);
    region.right = std::max(region.right, run.x1);
    region.top = std::min(region.top, run.y);
    region.bottom = std::max(region.bottom, run.y);
    region.pixels += run.pixels;
    region.sumX += run.sumX;
    region.sumY += static_cast<double>(run.y) * run.pixels;
    region.sumInverseMu += run.sumInverseMu;
    region.partial = region.partial || run.partial;
    regionOfRun[i] = found->second;
  }
  return regions;
}

// A spot across the limb shows as a sliver a few pixels wide, which the
// pixel grid may cut into pieces along the limb: regions that both reach
// the limb and lie within kLimbGapPx of each other are one spot.
constexpr int kLimbGapPx = 6;

bool Near(const Region& a, const Region& b) {
  return a.left <= b.right + kLimbGapPx && b.left <= a.right + kLimbGapPx &&
         a.top <= b.bottom + kLimbGapPx && b.top <= a.bottom + kLimbGapPx;
}

void Absorb(Region& into, Region& from, int intoIndex) {
  into.pixels += from.pixels;
  into.sumX += from.sumX;
  into.sumY += from.sumY;
  into.sumInverseMu += from.sumInverseMu;
  into.left = std::min(into.left, from.left);
  into.right = std::max(into.right, from.right);
  into.top = std::min(into.top, from.top);
  into.bottom = std::max(into.bottom, from.bottom);
  from.joinedInto = intoIndex;
}

// Joins the pieces of spots across the limb; each joined region's
// joinedInto names the one that holds its pixels now.
void JoinLimbPieces(std::vector<Region>& regions) {
  std::vector<int> partial;
  for (std::size_t i = 0; i < regions.size(); ++i) {
    if (regions[i].partial) partial.push_back(static_cast<int>(i));
  }
  bool joined = true;
  while (joined) {
    joined = false;
    for (const int a : partial) {
      for (const int b : partial) {
        if (a == b || regions[a].joinedInto >= 0 || regions[b].joinedInto >= 0) continue;
        if (!Near(regions[a], regions[b])) continue;
        Absorb(regions[a], regions[b], a);
        joined = true;
      }
    }
  }
}

int HoldingRegion(const std::vector<Region>& regions, int index) {
  while (regions[index].joinedInto >= 0) index = regions[index].joinedInto;
  return index;
}

std::string TooManyRegions(std::size_t found, int most) {
  return "found " + std::to_string(found) + " dark regions on the disk, more than the " +
         std::to_string(most) +
         " a white-light image shows: this looks like an H-alpha or Ca K image (filaments, "
         "plage and mottles), or the disk is not flat; no spots are reported";
}

}  // namespace

double PixelAreaMsh(double radiusPx, double mu) {
  return kMillion / (2 * std::numbers::pi * radiusPx * radiusPx * mu);
}

SpotPlace PlaceOf(const DiskFrame& frame, double xPx, double yPx) {
  const LocatedPoint point = Locate(frame, xPx, yPx);
  SpotPlace place;
  place.xPx = xPx;
  place.yPx = yPx;
  place.latitudeDeg = point.latitudeRad * RadToDeg;
  place.longitudeDeg = point.longitudeRad * RadToDeg;
  place.cmDistanceDeg = point.cmDistanceRad * RadToDeg;
  place.mu = point.mu;
  place.positionAngleDeg = point.positionAngleRad * RadToDeg;
  return place;
}

Detection DetectSpots(const GreyImage& image, const DiskFrame& frame,
                      const DetectionSettings& settings) {
  Detection detection;
  detection.quiet = FitQuietDisk(image, frame);
  RunScan scan = ScanRuns(image, frame, detection.quiet, settings);
  if (scan.searchedPixels > 0 &&
      static_cast<double>(scan.darkPixels) / scan.searchedPixels > kMostDarkFraction) {
    throw SpotError(
        "more than a third of the disk is darker than the spot threshold: the disk is not "
        "evenly lit (clouds, a wrong limb) or the image is not white light; no spots are "
        "reported");
  }
  const double unitAreaMsh = PixelAreaMsh(frame.radiusPx, 1);
  std::vector<int> spotOfRun;
  std::vector<Region> spotRegions = Regions(scan.spotRuns, spotOfRun);
  JoinLimbPieces(spotRegions);
  std::vector<int> spotIndexOfRegion(spotRegions.size(), -1);
  for (std::size_t r = 0; r < spotRegions.size(); ++r) {
    const Region& region = spotRegions[r];
    if (region.joinedInto >= 0 || region.pixels < settings.minimumSpotPx) continue;
    spotIndexOfRegion[r] = static_cast<int>(detection.spots.size());
    DetectedSpot spot;
    spot.place = PlaceOf(frame, region.sumX / region.pixels, region.sumY / region.pixels);
    spot.pixels = region.pixels;
    spot.areaMsh = region.sumInverseMu * unitAreaMsh;
    spot.partial = region.partial;
    detection.spots.push_back(spot);
  }
  if (detection.spots.size() > static_cast<std::size_t>(settings.mostSpots)) {
    throw SpotError(TooManyRegions(detection.spots.size(), settings.mostSpots));
  }
  std::vector<int> umbraOfRun;
  const std::vector<Region> umbraRegions = Regions(scan.umbraRuns, umbraOfRun);
  for (const Region& region : umbraRegions) {
    const int enclosing = scan.umbraRuns[region.firstRun].enclosingRun;
    if (enclosing < 0) continue;  // an umbral fraction above the penumbral one
    const int spotIndex = spotIndexOfRegion[HoldingRegion(spotRegions, spotOfRun[enclosing])];
    if (spotIndex < 0) continue;
    DetectedSpot& spot = detection.spots[spotIndex];
    const double areaMsh = region.sumInverseMu * unitAreaMsh;
    spot.umbraAreaMsh += areaMsh;
    if (region.pixels < settings.minimumUmbraPx) continue;
    spot.umbrae.push_back({PlaceOf(frame, region.sumX / region.pixels, region.sumY / region.pixels),
                           region.pixels, areaMsh});
  }
  std::stable_sort(
      detection.spots.begin(), detection.spots.end(),
      [](const DetectedSpot& a, const DetectedSpot& b) { return a.areaMsh > b.areaMsh; });
  return detection;
}

}  // namespace helidisk
