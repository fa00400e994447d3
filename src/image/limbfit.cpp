#include "limbfit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "imageerror.h"
#include "largebuffer.h"

namespace helidisk {

namespace {

constexpr int kMinImageSidePx = 16;
constexpr double kMinContrastLevels = 12;       // disk over sky, of 255
constexpr double kMinDiskFraction = 0.0005;     // of the image's pixels
constexpr double kLimbLevelFraction = 1.0 / 3;  // of the way from sky to disk
constexpr double kRayReachOfRoughRadius = 3;
constexpr int kMinRays = 90;
constexpr int kMaxRays = 1440;
constexpr double kRayGapPx = 1.5;  // along the limb between rays
constexpr double kFineStepPx = 0.25;
constexpr double kFineHalfWidthPx = 5;
constexpr double kLevelWindowNearPx = 2.5;   // the inner and outer levels lie this far
constexpr double kLevelWindowFarPx = 5;      // ... to this far from the rough limb,
constexpr double kCloseWindowNearPx = 1.25;  // and then this far
constexpr double kCloseWindowFarPx = 2.5;    // ... to this far from the first crossing
constexpr double kMinEdgeContrast = 0.25;    // of the sky-to-disk contrast
constexpr int kEdgeModelSteps = 12;
constexpr double kEdgeModelMaxShiftPx = 2;  // from the half-level crossing
constexpr double kEdgeModelMinBlurPx = 0.05;
constexpr double kEdgeModelStartBlurPx = 1;
constexpr double kEdgeModelSettledPx = 0.001;  // a step that moves edge and blur less
constexpr int kRansacRounds = 400;
constexpr double kRansacMinTolerancePx = 1;
constexpr double kRansacToleranceOfRadius = 0.005;
constexpr double kResidualCutOfRms = 2.5;
constexpr double kMinResidualCutPx = 0.3;
constexpr int kRefinements = 8;
constexpr int kGaussNewtonSteps = 4;
constexpr std::size_t kMinLimbPoints = 12;
constexpr double kMinInlierShare = 0.25;
constexpr double kMaxArcGapRad = 4 * std::numbers::pi / 3;  // at least a third of the limb seen
constexpr double kMinRadiusPx = 4;

struct Point {
  double x = 0;
  double y = 0;
};

struct Circle {
  double x = 0;
  double y = 0;
  double r = 0;
};

[[noreturn]] void NoDisk(const char* reason) {
  throw ImageError(std::string("no solar disk found: ") + reason);
}

// The image as grey levels 0-255, row after row.
class GreyImage {
 public:
  explicit GreyImage(const QImage& image) : width_(image.width()), height_(image.height()) {
    // Every level is written below: no need to clear the buffer first.
    levels_ = AllocateLargeBuffer(PixelCount());
    if (!levels_) throw ImageError("not enough memory to search the image for the disk");
    if (image.format() == QImage::Format_Grayscale8) {
      for (int y = 0; y < height_; ++y) {
        std::copy_n(image.constScanLine(y), width_, Row(y));
      }
      return;
    }
    const bool direct = image.format() == QImage::Format_RGB32 ||
                        image.format() == QImage::Format_ARGB32 ||
                        image.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage rgb = direct ? image : image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull()) throw ImageError("not enough memory to search the image for the disk");
    for (int y = 0; y < height_; ++y) {
      const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
      std::uint8_t* out = Row(y);
      for (int x = 0; x < width_; ++x) {
        out[x] = static_cast<std::uint8_t>(std::max({qRed(in[x]), qGreen(in[x]), qBlue(in[x])}));
      }
    }
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  std::size_t PixelCount() const {
    return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  }
  std::span<const std::uint8_t> Levels() const { return {levels_.get(), PixelCount()}; }

  double At(int x, int y) const {
    return levels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
  }

  // Bilinear interpolation, the coordinates clamped to the image.
  double Sample(double x, double y) const {
    x = std::clamp(x, 0.0, width_ - 1.0);
    y = std::clamp(y, 0.0, height_ - 1.0);
    const int x0 = std::min(static_cast<int>(x), width_ - 2);
    const int y0 = std::min(static_cast<int>(y), height_ - 2);
    const double fx = x - x0;
    const double fy = y - y0;
    const double top = At(x0, y0) + (At(x0 + 1, y0) - At(x0, y0)) * fx;
    const double bottom = At(x0, y0 + 1) + (At(x0 + 1, y0 + 1) - At(x0, y0 + 1)) * fx;
    return top + (bottom - top) * fy;
  }

 private:
  std::uint8_t* Row(int y) {
    return levels_.get() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }
  int width_;
  int height_;
  LargeBuffer levels_;
};

struct SkyAndDisk {
  double skyLevel = 0;
  double diskLevel = 0;
};

// Otsu's threshold on the grey-level histogram, returned as the means of
// the two classes it separates.
SkyAndDisk OtsuClasses(std::span<const std::uint8_t> levels) {
  std::array<double, 256> histogram{};
  for (const std::uint8_t level : levels) histogram[level] += 1;
  const auto total = static_cast<double>(levels.size());
  double sumAll = 0;
  for (int level = 0; level < 256; ++level) sumAll += level * histogram[level];

  double countBelow = 0;
  double sumBelow = 0;
  double bestSpread = -1;
  SkyAndDisk best;
  for (int level = 0; level < 255; ++level) {
    countBelow += histogram[level];
    sumBelow += level * histogram[level];
    const double countAbove = total - countBelow;
    if (countBelow == 0 || countAbove == 0) continue;
    const double meanBelow = sumBelow / countBelow;
    const double meanAbove = (sumAll - sumBelow) / countAbove;
    const double spread =
        countBelow * countAbove * (meanAbove - meanBelow) * (meanAbove - meanBelow);
    if (spread > bestSpread) {
      bestSpread = spread;
      best = {meanBelow, meanAbove};
    }
  }
  return best;
}

struct RoughDisk {
  Point centre;
  double radiusPx = 0;
  double diskShare = 0;  // of the image's pixels
};

RoughDisk CentroidOfDisk(const GreyImage& grey, double limbLevel) {
  double count = 0;
  double sumX = 0;
  double sumY = 0;
  for (int y = 0; y < grey.Height(); ++y) {
    for (int x = 0; x < grey.Width(); ++x) {
      if (grey.At(x, y) >= limbLevel) {
        count += 1;
        sumX += x;
        sumY += y;
      }
    }
  }
  if (count == 0) return {};
  return {{sumX / count, sumY / count},
          std::sqrt(count / std::numbers::pi),
          count / static_cast<double>(grey.Levels().size())};
}

// The profile across the limb along the ray, averaged over three samples
// across the ray to quiet the noise.
double AcrossRay(const GreyImage& grey, Point centre, Point direction, double r) {
  const double x = centre.x + direction.x * r;
  const double y = centre.y + direction.y * r;
  return (grey.Sample(x, y) + grey.Sample(x - direction.y, y + direction.x) +
          grey.Sample(x + direction.y, y - direction.x)) /
         3;
}

// The distance along the ray of the last fall through the limb level, to a
// pixel; nothing when the ray leaves the image still on the disk.
std::optional<double> RoughLimbDistance(const GreyImage& grey, Point centre, Point direction,
                                        double reachPx, double limbLevel) {
  std::optional<double> limb;
  bool onDisk = false;
  for (double r = 0; r <= reachPx; r += 1) {
    const double x = std::round(centre.x + direction.x * r);
    const double y = std::round(centre.y + direction.y * r);
    if (x < 0 || y < 0 || x > grey.Width() - 1 || y > grey.Height() - 1) break;
    const bool bright = grey.At(static_cast<int>(x), static_cast<int>(y)) >= limbLevel;
    if (onDisk && !bright) limb = r - 0.5;
    onDisk = bright;
  }
  if (onDisk) return std::nullopt;
  return limb;
}

// Solves the N x N system a x = b, given as the augmented matrix [a | b],
// by Gaussian elimination with partial pivoting; nothing when it is
// singular.
template <std::size_t N>
std::optional<std::array<double, N>> SolveLinear(std::array<std::array<double, N + 1>, N> m) {
  for (std::size_t col = 0; col < N; ++col) {
    std::size_t pivot = col;
    for (std::size_t row = col + 1; row < N; ++row) {
      if (std::abs(m[row][col]) > std::abs(m[pivot][col])) pivot = row;
    }
    if (std::abs(m[pivot][col]) < 1e-12) return std::nullopt;
    std::swap(m[col], m[pivot]);
    for (std::size_t row = col + 1; row < N; ++row) {
      const double factor = m[row][col] / m[col][col];
      for (std::size_t k = col; k <= N; ++k) m[row][k] -= factor * m[col][k];
    }
  }
  std::array<double, N> x{};
  for (std::size_t row = N; row-- > 0;) {
    double sum = m[row][N];
    for (std::size_t k = row + 1; k < N; ++k) sum -= m[row][k] * x[k];
    x[row] = sum / m[row][row];
  }
  return x;
}

// The profile across the rough limb, sampled every kFineStepPx.
struct LimbProfile {
  static constexpr int kSteps = static_cast<int>(2 * kFineHalfWidthPx / kFineStepPx) + 1;
  std::array<double, kSteps> levels{};
  double startPx = 0;  // the distance along the ray of the first sample

  double DistanceAt(double index) const { return startPx + index * kFineStepPx; }
  int IndexAt(double distancePx) const {
    return std::clamp(static_cast<int>(std::lround((distancePx - startPx) / kFineStepPx)), 0,
                      kSteps - 1);
  }
  double MeanLevel(double fromPx, double toPx) const {
    const int first = IndexAt(fromPx);
    const int last = IndexAt(toPx);
    double sum = 0;
    for (int i = first; i <= last; ++i) sum += levels[i];
    return sum / (last - first + 1);
  }
};

// Where the profile last falls through the level halfway between its
// levels nearPx to farPx inside and outside `aroundPx`; nothing when the
// two differ by less than minContrast.
std::optional<double> HalfLevelCrossing(const LimbProfile& profile, double aroundPx, double nearPx,
                                        double farPx, double minContrast) {
  const double inner = profile.MeanLevel(aroundPx - farPx, aroundPx - nearPx);
  const double outer = profile.MeanLevel(aroundPx + nearPx, aroundPx + farPx);
  if (inner - outer < minContrast) return std::nullopt;
  const double half = (inner + outer) / 2;
  const auto& levels = profile.levels;
  for (int i = profile.IndexAt(aroundPx + farPx) - 1; i >= profile.IndexAt(aroundPx - farPx); --i) {
    if (levels[i] >= half && levels[i + 1] < half) {
      return profile.DistanceAt(i + (levels[i] - half) / (levels[i] - levels[i + 1]));
    }
  }
  return std::nullopt;
}

LimbProfile ProfileAround(const GreyImage& grey, Point centre, Point direction, double aroundPx) {
  LimbProfile profile;
  profile.startPx = aroundPx - kFineHalfWidthPx;
  for (int i = 0; i < LimbProfile::kSteps; ++i) {
    profile.levels[i] = AcrossRay(grey, centre, direction, std::max(0.0, profile.DistanceAt(i)));
  }
  return profile;
}

// A limb seen through seeing or a defocus: the disk's edge, a step from the
// sky level `sky` up by `step` with the intensity rising inward by `slope`
// per pixel (the limb darkening near the edge), blurred by a Gaussian of
// standard deviation `blurPx`.  With t = (edgePx - r) / blurPx along the
// ray, the convolution is
//   sky + step Phi(t) + slope blurPx (t Phi(t) + phi(t)),
// phi and Phi the standard normal density and distribution.  Where the
// profile is blurred, its half-level crossing and its steepest point both
// lie inside the true edge (the slope shifts the blurred step's middle
// inward); the model's edge does not.
struct BlurredEdge {
  double sky = 0;
  double step = 0;
  double slope = 0;
  double edgePx = 0;
  double blurPx = 0;

  // The model's value and its derivatives by sky, step, slope, edgePx and
  // blurPx at the distance r.
  std::array<double, 6> ValueAndGradient(double r) const {
    const double t = (edgePx - r) / blurPx;
    const double density = std::exp(-t * t / 2) / std::sqrt(2 * std::numbers::pi);
    const double below = std::erfc(-t / std::numbers::sqrt2) / 2;
    const double ramp = t * below + density;
    return {sky + step * below + slope * blurPx * ramp,
            1,
            below,
            blurPx * ramp,
            step * density / blurPx + slope * below,
            -step * density * t / blurPx + slope * density};
  }
};

// Gauss-Newton on the profile's samples from the half-level crossing;
// nothing when the fit fails to settle on an edge near that crossing with
// at least the contrast asked for.
std::optional<double> BlurredEdgeDistance(const LimbProfile& profile, double crossingPx,
                                          double minContrast) {
  constexpr std::size_t kParameters = 5;
  const double outer =
      profile.MeanLevel(crossingPx + kCloseWindowNearPx, crossingPx + kFineHalfWidthPx);
  const double inner =
      profile.MeanLevel(crossingPx - kFineHalfWidthPx, crossingPx - kCloseWindowNearPx);
  BlurredEdge edge{outer, inner - outer, 0, crossingPx, kEdgeModelStartBlurPx};
  for (int iteration = 0; iteration < kEdgeModelSteps; ++iteration) {
    std::array<std::array<double, kParameters + 1>, kParameters> normal{};
    for (int i = 0; i < LimbProfile::kSteps; ++i) {
      const std::array<double, 6> model = edge.ValueAndGradient(profile.DistanceAt(i));
      const double residual = profile.levels[i] - model[0];
      for (std::size_t row = 0; row < kParameters; ++row) {
        for (std::size_t col = 0; col < kParameters; ++col) {
          normal[row][col] += model[row + 1] * model[col + 1];
        }
        normal[row][kParameters] += model[row + 1] * residual;
      }
    }
    const std::optional<std::array<double, kParameters>> delta = SolveLinear<kParameters>(normal);
    if (!delta) return std::nullopt;
    edge = {edge.sky + (*delta)[0], edge.step + (*delta)[1], edge.slope + (*delta)[2],
            edge.edgePx + (*delta)[3], std::max(kEdgeModelMinBlurPx, edge.blurPx + (*delta)[4])};
    if (!(std::abs(edge.edgePx - crossingPx) <= kEdgeModelMaxShiftPx) ||
        !(edge.blurPx < kFineHalfWidthPx)) {
      return std::nullopt;
    }
    if (std::abs((*delta)[3]) < kEdgeModelSettledPx &&
        std::abs((*delta)[4]) < kEdgeModelSettledPx) {
      break;
    }
  }
  if (!(edge.step >= minContrast)) return std::nullopt;
  return edge.edgePx;
}

// The limb to a fraction of a pixel.  First where the profile passes
// halfway between its levels just inside and just outside the limb, with
// the levels taken a few pixels off the rough limb, then again with them
// taken closer to the crossing found; from there the blurred-edge model
// fitted to the profile around that crossing, which keeps the crossing
// where the model does not settle (a spot or a prominence on the limb).
std::optional<double> FineLimbDistance(const GreyImage& grey, Point centre, Point direction,
                                       double roughPx, double minContrast) {
  const LimbProfile profile = ProfileAround(grey, centre, direction, roughPx);
  const std::optional<double> coarse =
      HalfLevelCrossing(profile, roughPx, kLevelWindowNearPx, kLevelWindowFarPx, minContrast);
  if (!coarse) return std::nullopt;
  const double crossing =
      HalfLevelCrossing(profile, *coarse, kCloseWindowNearPx, kCloseWindowFarPx, minContrast)
          .value_or(*coarse);
  return BlurredEdgeDistance(ProfileAround(grey, centre, direction, crossing), crossing,
                             minContrast)
      .value_or(crossing);
}

std::vector<Point> LimbPoints(const GreyImage& grey, const RoughDisk& rough, SkyAndDisk levels) {
  const double limbLevel =
      levels.skyLevel + kLimbLevelFraction * (levels.diskLevel - levels.skyLevel);
  const double minContrast = kMinEdgeContrast * (levels.diskLevel - levels.skyLevel);
  const int rays = std::clamp(static_cast<int>(2 * std::numbers::pi * rough.radiusPx / kRayGapPx),
                              kMinRays, kMaxRays);
  std::vector<Point> points;
  points.reserve(static_cast<std::size_t>(rays));
  for (int ray = 0; ray < rays; ++ray) {
    const double angle = 2 * std::numbers::pi * ray / rays;
    const Point direction{std::cos(angle), std::sin(angle)};
    const std::optional<double> rough_r = RoughLimbDistance(
        grey, rough.centre, direction, kRayReachOfRoughRadius * rough.radiusPx, limbLevel);
    if (!rough_r) continue;
    const std::optional<double> r =
        FineLimbDistance(grey, rough.centre, direction, *rough_r, minContrast);
    if (r) {
      points.push_back({rough.centre.x + direction.x * *r, rough.centre.y + direction.y * *r});
    }
  }
  return points;
}

std::optional<Circle> CircleThrough(Point a, Point b, Point c) {
  const double bx = b.x - a.x;
  const double by = b.y - a.y;
  const double cx = c.x - a.x;
  const double cy = c.y - a.y;
  const double d = 2 * (bx * cy - by * cx);
  if (std::abs(d) < 1e-9) return std::nullopt;
  const double b2 = bx * bx + by * by;
  const double c2 = cx * cx + cy * cy;
  const double ux = (cy * b2 - by * c2) / d;
  const double uy = (bx * c2 - cx * b2) / d;
  return Circle{a.x + ux, a.y + uy, std::hypot(ux, uy)};
}

double Residual(const Circle& circle, Point p) {
  return std::hypot(p.x - circle.x, p.y - circle.y) - circle.r;
}

std::vector<Point> Inliers(const std::vector<Point>& points, const Circle& circle, double cutPx) {
  std::vector<Point> inliers;
  for (const Point& p : points) {
    if (std::abs(Residual(circle, p)) < cutPx) inliers.push_back(p);
  }
  return inliers;
}

std::optional<Circle> Ransac(const std::vector<Point>& points, double maxRadiusPx) {
  // A fixed seed: the same image always gives the same fit.
  std::mt19937 random(20170718);
  std::uniform_int_distribution<std::size_t> pick(0, points.size() - 1);
  std::optional<Circle> best;
  std::size_t bestCount = 0;
  for (int round = 0; round < kRansacRounds; ++round) {
    const std::size_t i = pick(random);
    const std::size_t j = pick(random);
    const std::size_t k = pick(random);
    if (i == j || j == k || i == k) continue;
    const std::optional<Circle> circle = CircleThrough(points[i], points[j], points[k]);
    if (!circle || circle->r < kMinRadiusPx || circle->r > maxRadiusPx) continue;
    const double tolerance = std::max(kRansacMinTolerancePx, kRansacToleranceOfRadius * circle->r);
    std::size_t count = 0;
    for (const Point& p : points) count += std::abs(Residual(*circle, p)) < tolerance ? 1 : 0;
    if (count > bestCount) {
      bestCount = count;
      best = circle;
    }
  }
  return best;
}

// Gauss-Newton on the geometric distances, from the given circle.
Circle GeometricFit(const std::vector<Point>& points, Circle circle) {
  for (int step = 0; step < kGaussNewtonSteps; ++step) {
    std::array<std::array<double, 4>, 3> normal{};
    for (const Point& p : points) {
      const double dx = p.x - circle.x;
      const double dy = p.y - circle.y;
      const double d = std::hypot(dx, dy);
      if (d == 0) continue;
      const std::array<double, 3> jacobian = {-dx / d, -dy / d, -1};
      const double residual = d - circle.r;
      for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) normal[row][col] += jacobian[row] * jacobian[col];
        normal[row][3] -= jacobian[row] * residual;
      }
    }
    const std::optional<std::array<double, 3>> delta = SolveLinear<3>(normal);
    if (!delta) break;
    circle = {circle.x + (*delta)[0], circle.y + (*delta)[1], circle.r + (*delta)[2]};
  }
  return circle;
}

double RmsResidual(const std::vector<Point>& points, const Circle& circle) {
  double sum = 0;
  for (const Point& p : points) sum += Residual(circle, p) * Residual(circle, p);
  return std::sqrt(sum / static_cast<double>(points.size()));
}

// The largest stretch of the circle, as an angle, with no point on it.
double LargestArcGapRad(const std::vector<Point>& points, const Circle& circle) {
  std::vector<double> angles;
  angles.reserve(points.size());
  for (const Point& p : points) angles.push_back(std::atan2(p.y - circle.y, p.x - circle.x));
  std::sort(angles.begin(), angles.end());
  double gap = angles.front() + 2 * std::numbers::pi - angles.back();
  for (std::size_t i = 1; i < angles.size(); ++i) gap = std::max(gap, angles[i] - angles[i - 1]);
  return gap;
}

}  // namespace

LimbFit FitLimb(const QImage& image) {
  if (image.isNull() || image.width() < kMinImageSidePx || image.height() < kMinImageSidePx) {
    NoDisk("the image is too small");
  }
  const GreyImage grey(image);
  const SkyAndDisk levels = OtsuClasses(grey.Levels());
  if (levels.diskLevel - levels.skyLevel < kMinContrastLevels) {
    NoDisk("the image has too little contrast");
  }
  const double limbLevel =
      levels.skyLevel + kLimbLevelFraction * (levels.diskLevel - levels.skyLevel);
  const RoughDisk rough = CentroidOfDisk(grey, limbLevel);
  if (rough.diskShare < kMinDiskFraction) NoDisk("nothing in the image is bright enough");

  const std::vector<Point> points = LimbPoints(grey, rough, levels);
  if (points.size() < kMinLimbPoints) NoDisk("too few points on a limb");
  const double diagonalPx = std::hypot(grey.Width(), grey.Height());
  const std::optional<Circle> consensus = Ransac(points, diagonalPx);
  if (!consensus) NoDisk("the edge points follow no circle");

  Circle circle = *consensus;
  std::vector<Point> inliers =
      Inliers(points, circle, std::max(kRansacMinTolerancePx, kRansacToleranceOfRadius * circle.r));
  for (int round = 0; round < kRefinements && inliers.size() >= kMinLimbPoints; ++round) {
    circle = GeometricFit(inliers, circle);
    const double cut =
        std::max(kMinResidualCutPx, kResidualCutOfRms * RmsResidual(inliers, circle));
    std::vector<Point> next = Inliers(points, circle, cut);
    const bool settled = next.size() == inliers.size();
    inliers = std::move(next);
    if (settled) break;
  }
  if (inliers.size() < kMinLimbPoints ||
      static_cast<double>(inliers.size()) < kMinInlierShare * static_cast<double>(points.size())) {
    NoDisk("too few edge points lie on one circle");
  }
  circle = GeometricFit(inliers, circle);
  if (!(circle.r >= kMinRadiusPx && circle.r <= diagonalPx))
    NoDisk("the limb's radius is implausible");
  if (LargestArcGapRad(inliers, circle) > kMaxArcGapRad) {
    NoDisk("the limb points cover less than a third of a circle");
  }
  return {circle.x, circle.y, circle.r, RmsResidual(inliers, circle),
          static_cast<int>(inliers.size())};
}

}  // namespace helidisk
