// Solar images made to measure: a limb-darkened disk of known sub-pixel
// centre and radius on a dark sky, with noise, sunspots, a cloud over part
// of the limb and prominences as asked.  Intensities run 0 (black) to 1
// (the disk centre); pixels on the limb are averaged over 8 x 8 sub-pixels
// so that the edge lies where the circle says.
#pragma once

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

namespace helidisk::fakes {

struct Spot {
  double angleDeg = 0;          // direction from the disk centre, counterclockwise from +x
  double distanceOfRadius = 0;  // from the disk centre, in disk radii
  double radiusPx = 0;          // the umbra's; the penumbra is twice as wide
};

struct SyntheticSun {
  int widthPx = 0;
  int heightPx = 0;
  double centreXPx = 0;
  double centreYPx = 0;
  double radiusPx = 0;
  double noise = 0;  // standard deviation of Gaussian noise
  std::vector<Spot> spots;
  bool cloud = false;  // hides the limb from cloudAngleDeg -60 to +60 deg
  double cloudAngleDeg = 0;
  int prominences = 0;  // faint arches spaced evenly around the limb
  double skyLevel = 0.03;
  double limbDarkening = 0.6;  // u of I = 1 - u (1 - mu)
};

inline SyntheticSun MakeSun(int widthPx, int heightPx, double centreXPx, double centreYPx,
                            double radiusPx, double noise = 0) {
  SyntheticSun sun;
  sun.widthPx = widthPx;
  sun.heightPx = heightPx;
  sun.centreXPx = centreXPx;
  sun.centreYPx = centreYPx;
  sun.radiusPx = radiusPx;
  sun.noise = noise;
  return sun;
}

inline double DiskIntensity(const SyntheticSun& sun, double x, double y) {
  const double dx = x - sun.centreXPx;
  const double dy = y - sun.centreYPx;
  const double rho2 = (dx * dx + dy * dy) / (sun.radiusPx * sun.radiusPx);
  if (rho2 >= 1) return sun.skyLevel;
  return sun.skyLevel + 1 - sun.limbDarkening * (1 - std::sqrt(1 - rho2));
}

// The pixel's mean intensity; sub-pixels only near the limb.
inline double PixelIntensity(const SyntheticSun& sun, int x, int y) {
  const double r = std::hypot(x - sun.centreXPx, y - sun.centreYPx);
  if (std::abs(r - sun.radiusPx) > 1) return DiskIntensity(sun, x, y);
  double sum = 0;
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) sum += DiskIntensity(sun, x + (i - 3.5) / 8, y + (j - 3.5) / 8);
  }
  return sum / 64;
}

inline double Features(const SyntheticSun& sun, int x, int y, double intensity) {
  const double dx = x - sun.centreXPx;
  const double dy = y - sun.centreYPx;
  const double r = std::hypot(dx, dy);
  for (const Spot& spot : sun.spots) {
    const double a = spot.angleDeg * std::numbers::pi / 180;
    const double d = std::hypot(dx - spot.distanceOfRadius * sun.radiusPx * std::cos(a),
                                dy - spot.distanceOfRadius * sun.radiusPx * std::sin(a));
    if (d < spot.radiusPx) return intensity * 0.25;
    if (d < 2 * spot.radiusPx) intensity *= 0.7;
  }
  for (int k = 0; k < sun.prominences; ++k) {
    const double a = 2 * std::numbers::pi * (k + 0.5) / sun.prominences;
    const double height =
        std::hypot(dx - sun.radiusPx * std::cos(a), dy - sun.radiusPx * std::sin(a));
    if (r > sun.radiusPx && height < 0.06 * sun.radiusPx) intensity += 0.12;
  }
  if (sun.cloud) {
    // A cloud of one disk radius centred on the limb hides 120 deg of it.
    const double a = sun.cloudAngleDeg * std::numbers::pi / 180;
    if (std::hypot(dx - sun.radiusPx * std::cos(a), dy - sun.radiusPx * std::sin(a)) <
        sun.radiusPx) {
      intensity = intensity * 0.2 + 0.05;
    }
  }
  return intensity;
}

inline std::size_t PixelIndex(const SyntheticSun& sun, int x, int y) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(sun.widthPx) +
         static_cast<std::size_t>(x);
}

// Intensities row after row, top row first.
inline std::vector<float> Intensities(const SyntheticSun& sun) {
  std::mt19937 random(7);
  std::normal_distribution<double> gauss(0, sun.noise);
  std::vector<float> values(static_cast<std::size_t>(sun.widthPx) *
                            static_cast<std::size_t>(sun.heightPx));
  for (int y = 0; y < sun.heightPx; ++y) {
    for (int x = 0; x < sun.widthPx; ++x) {
      double intensity = Features(sun, x, y, PixelIntensity(sun, x, y));
      if (sun.noise > 0) intensity += gauss(random);
      values[PixelIndex(sun, x, y)] = static_cast<float>(intensity);
    }
  }
  return values;
}

inline std::uint8_t Level(float intensity) {
  return static_cast<std::uint8_t>(std::clamp(intensity * 220.0F + 0.5F, 0.0F, 255.0F));
}

// The Sun in grey, the disk centre at level 220.
inline QImage GreyImage(const SyntheticSun& sun) {
  const std::vector<float> values = Intensities(sun);
  QImage image(sun.widthPx, sun.heightPx, QImage::Format_Grayscale8);
  for (int y = 0; y < sun.heightPx; ++y) {
    for (int x = 0; x < sun.widthPx; ++x) {
      image.scanLine(y)[x] = Level(values[PixelIndex(sun, x, y)]);
    }
  }
  return image;
}

// The intensities seen through seeing or a defocus: blurred by a Gaussian
// of the given standard deviation, the edges clamped.
inline std::vector<float> Blurred(const SyntheticSun& sun, const std::vector<float>& values,
                                  double sigmaPx) {
  const int reach = static_cast<int>(std::ceil(4 * sigmaPx));
  std::vector<double> kernel(static_cast<std::size_t>(2 * reach + 1));
  double sum = 0;
  for (std::size_t k = 0; k < kernel.size(); ++k) {
    const double offsetPx = static_cast<double>(k) - reach;
    kernel[k] = std::exp(-offsetPx * offsetPx / (2 * sigmaPx * sigmaPx));
    sum += kernel[k];
  }
  for (double& weight : kernel) weight /= sum;
  const auto pass = [&](const std::vector<float>& in, int stepX, int stepY) {
    std::vector<float> out(in.size());
    for (int y = 0; y < sun.heightPx; ++y) {
      for (int x = 0; x < sun.widthPx; ++x) {
        double blurred = 0;
        for (std::size_t k = 0; k < kernel.size(); ++k) {
          const int offset = static_cast<int>(k) - reach;
          const int sx = std::clamp(x + offset * stepX, 0, sun.widthPx - 1);
          const int sy = std::clamp(y + offset * stepY, 0, sun.heightPx - 1);
          blurred += kernel[k] * in[PixelIndex(sun, sx, sy)];
        }
        out[PixelIndex(sun, x, y)] = static_cast<float>(blurred);
      }
    }
    return out;
  };
  return pass(pass(values, 1, 0), 0, 1);
}

// The Sun in grey as GreyImage gives it, blurred before it is quantized.
inline QImage BlurredGreyImage(const SyntheticSun& sun, double sigmaPx) {
  const std::vector<float> values = Blurred(sun, Intensities(sun), sigmaPx);
  QImage image(sun.widthPx, sun.heightPx, QImage::Format_Grayscale8);
  for (int y = 0; y < sun.heightPx; ++y) {
    for (int x = 0; x < sun.widthPx; ++x) {
      image.scanLine(y)[x] = Level(values[PixelIndex(sun, x, y)]);
    }
  }
  return image;
}

// The Sun as an H-alpha camera shows it: red, with a little green and blue.
inline QImage RedImage(const SyntheticSun& sun) {
  const std::vector<float> values = Intensities(sun);
  QImage image(sun.widthPx, sun.heightPx, QImage::Format_RGB32);
  for (int y = 0; y < sun.heightPx; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < sun.widthPx; ++x) {
      const float v = values[PixelIndex(sun, x, y)];
      row[x] = qRgb(Level(v), Level(v * 0.3F), Level(v * 0.1F));
    }
  }
  return image;
}

}  // namespace helidisk::fakes
