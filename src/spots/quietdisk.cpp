#include "quietdisk.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace helidisk {

namespace {

// About this many samples across the disk's radius: enough for 40 bins
// of mu, few enough that the fit costs little beside the detection.
constexpr double kSamplesAcrossRadius = 250;
constexpr int kMuBins = 40;
constexpr double kLowestMu = 0.05;
constexpr std::size_t kFewestSamplesPerBin = 25;
constexpr int kFewestBinsForFit = 12;
// The central samples that scale Allen's law: within mu > 0.95.
constexpr double kCentralMu = 0.95;
constexpr double kMostSaturatedFraction = 0.1;

struct Samples {
  std::vector<std::vector<float>> values;  // by bin of mu
  std::vector<double> muSums;
  std::vector<float> central;
  std::size_t count = 0;
  std::size_t saturated = 0;
};

int BinOfMu(double mu) {
  const int bin = static_cast<int>((mu - kLowestMu) / (1 - kLowestMu) * kMuBins);
  return std::min(bin, kMuBins - 1);
}

Samples SampleDisk(const GreyImage& image, const DiskFrame& frame) {
  Samples samples;
  samples.values.resize(kMuBins);
  samples.muSums.assign(kMuBins, 0);
  const double radius = frame.radiusPx;
  const int step = std::max(1, static_cast<int>(std::lround(radius / kSamplesAcrossRadius)));
  const double innerRadius = radius - kLimbMarginPx;
  const int top = std::max(0, static_cast<int>(std::ceil(frame.centreYPx - innerRadius)));
  const int bottom =
      std::min(image.heightPx - 1, static_cast<int>(std::floor(frame.centreYPx + innerRadius)));
  for (int y = top; y <= bottom; y += step) {
    const double dy = y - frame.centreYPx;
    const double halfChord = std::sqrt(std::max(0.0, innerRadius * innerRadius - dy * dy));
    const int left = std::max(0, static_cast<int>(std::ceil(frame.centreXPx - halfChord)));
    const int right =
        std::min(image.widthPx - 1, static_cast<int>(std::floor(frame.centreXPx + halfChord)));
    for (int x = left; x <= right; x += step) {
      const double dx = x - frame.centreXPx;
      const double mu = std::sqrt(std::max(0.0, 1 - (dx * dx + dy * dy) / (radius * radius)));
      if (mu < kLowestMu) continue;
      const float value = image.At(x, y);
      ++samples.count;
      if (image.saturationLevel > 0 && value >= image.saturationLevel) ++samples.saturated;
      const int bin = BinOfMu(mu);
      samples.values[bin].push_back(value);
      samples.muSums[bin] += mu;
      if (mu > kCentralMu) samples.central.push_back(value);
    }
  }
  return samples;
}

double Median(std::vector<float>& values) {
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// Weighted least squares of a cubic through (mu, level) by the normal
// equations, solved by Gaussian elimination with partial pivoting; false
// where they are singular.
bool FitCubic(const std::vector<double>& mus, const std::vector<double>& levels,
              const std::vector<double>& weights, std::array<double, 4>& coefficients) {
  constexpr int kTerms = 4;
  std::array<std::array<double, kTerms + 1>, kTerms> system{};
  for (std::size_t i = 0; i < mus.size(); ++i) {
    std::array<double, kTerms> powers{1, mus[i], mus[i] * mus[i], mus[i] * mus[i] * mus[i]};
    for (int row = 0; row < kTerms; ++row) {
      for (int column = 0; column < kTerms; ++column) {
        system[row][column] += weights[i] * powers[row] * powers[column];
      }
      system[row][kTerms] += weights[i] * powers[row] * levels[i];
    }
  }
  for (int pivot = 0; pivot < kTerms; ++pivot) {
    int best = pivot;
    for (int row = pivot + 1; row < kTerms; ++row) {
      if (std::fabs(system[row][pivot]) > std::fabs(system[best][pivot])) best = row;
    }
    std::swap(system[pivot], system[best]);
    if (std::fabs(system[pivot][pivot]) < 1e-12) return false;
    for (int row = 0; row < kTerms; ++row) {
      if (row == pivot) continue;
      const double factor = system[row][pivot] / system[pivot][pivot];
      for (int column = pivot; column <= kTerms; ++column) {
        system[row][column] -= factor * system[pivot][column];
      }
    }
  }
  for (int row = 0; row < kTerms; ++row) coefficients[row] = system[row][kTerms] / system[row][row];
  return true;
}

// A curve that is not bright everywhere on the disk cannot be the quiet
// photosphere.
bool PositiveOnDisk(const QuietDiskProfile& profile) {
  constexpr int kChecks = 20;
  for (int i = 0; i <= kChecks; ++i) {
    const double mu = kLowestMu + (1 - kLowestMu) * i / kChecks;
    if (!(profile.LevelAt(mu) > 0)) return false;
  }
  return true;
}

// The filled bin nearest the disk centre; the disk has at least one.
std::vector<float>& InnermostBin(Samples& samples) {
  for (int bin = kMuBins - 1; bin > 0; --bin) {
    if (!samples.values[bin].empty()) return samples.values[bin];
  }
  return samples.values.front();
}

std::string Percent(double fraction) {
  return std::to_string(static_cast<int>(std::lround(fraction * 100))) + " %";
}

}  // namespace

QuietDiskProfile AllenProfile(double centreLevel) {
  // 1 - u2 (1 - mu) - v2 (1 - mu^2) = (1 - u2 - v2) + u2 mu + v2 mu^2.
  QuietDiskProfile profile;
  profile.coefficients = {centreLevel * (1 - kAllenU2 - kAllenV2), centreLevel * kAllenU2,
                          centreLevel * kAllenV2, 0};
  profile.fitted = false;
  return profile;
}

QuietDiskProfile FitQuietDisk(const GreyImage& image, const DiskFrame& frame) {
  Samples samples = SampleDisk(image, frame);
  if (samples.count == 0) throw SpotError("the disk lies outside the image");
  const double saturated = static_cast<double>(samples.saturated) / samples.count;
  if (saturated > kMostSaturatedFraction) {
    throw SpotError("the disk is saturated: " + Percent(saturated) +
                    " of it at the image's largest value, so its darkening to the limb and "
                    "its spots cannot be measured; take the image with a shorter exposure");
  }
  std::vector<double> mus;
  std::vector<double> levels;
  std::vector<double> weights;
  for (int bin = 0; bin < kMuBins; ++bin) {
    std::vector<float>& values = samples.values[bin];
    if (values.size() < kFewestSamplesPerBin) continue;
    mus.push_back(samples.muSums[bin] / static_cast<double>(values.size()));
    weights.push_back(static_cast<double>(values.size()));
    levels.push_back(Median(values));
  }
  QuietDiskProfile profile;
  if (static_cast<int>(mus.size()) >= kFewestBinsForFit &&
      FitCubic(mus, levels, weights, profile.coefficients)) {
    profile.fitted = true;
    if (PositiveOnDisk(profile)) return profile;
  }
  const double centre = Median(samples.central.empty() ? InnermostBin(samples) : samples.central);
  if (!(centre > 0)) throw SpotError("the disk has no light");
  return AllenProfile(centre);
}

}  // namespace helidisk
