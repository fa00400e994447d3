#include "stretch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace helidisk {

namespace {

constexpr std::size_t kMaxSamples = 1 << 20;
constexpr double kLowFraction = 0.005;
constexpr double kHighFraction = 0.995;
constexpr float kLargestFloat = std::numeric_limits<float>::max();

std::vector<float> FiniteSample(std::span<const float> values) {
  // An odd stride keeps the sample from running down the same columns.
  const std::size_t stride = (values.size() / kMaxSamples) | 1;
  std::vector<float> sample;
  sample.reserve(values.size() / stride + 1);
  for (std::size_t i = 0; i < values.size(); i += stride) {
    if (std::isfinite(values[i])) sample.push_back(values[i]);
  }
  return sample;
}

}  // namespace

std::optional<StretchLimits> RobustLimits(std::span<const float> values) {
  std::vector<float> sample = FiniteSample(values);
  if (sample.empty()) {
    // The sample can miss the few finite values of a sparse image.
    for (const float value : values) {
      if (std::isfinite(value)) sample.push_back(value);
    }
  }
  if (sample.empty()) return std::nullopt;
  const auto last = static_cast<double>(sample.size() - 1);
  const auto lowAt = sample.begin() + static_cast<std::ptrdiff_t>(kLowFraction * last);
  const auto highAt = sample.begin() + static_cast<std::ptrdiff_t>(kHighFraction * last);
  std::nth_element(sample.begin(), lowAt, sample.end());
  std::nth_element(lowAt, highAt, sample.end());
  StretchLimits limits{*lowAt, *highAt};
  if (limits.high <= limits.low) {
    const auto [min, max] = std::minmax_element(sample.begin(), sample.end());
    limits = {*min, *max};
  }
  if (limits.high <= limits.low) limits.high = limits.low + 1;
  return limits;
}

QImage StretchToGrey(std::span<const float> values, int widthPx, int heightPx, StretchLimits limits,
                     bool rowsUpward) {
  QImage image(widthPx, heightPx, QImage::Format_Grayscale8);
  if (image.isNull()) return image;
  const auto width = static_cast<std::size_t>(widthPx);
  const auto scale = static_cast<float>(255 / (limits.high - limits.low));
  // Truncating a level 0.5 higher rounds it; the half is folded into the
  // offset.
  const auto offset = static_cast<float>(limits.low - 0.5 / (255 / (limits.high - limits.low)));
  for (int row = 0; row < heightPx; ++row) {
    const int shownRow = rowsUpward ? heightPx - 1 - row : row;
    std::uint8_t* out = image.scanLine(shownRow);
    const float* in = values.data() + static_cast<std::size_t>(row) * width;
    for (std::size_t x = 0; x < width; ++x) {
      // Written without branches so that the compiler vectorizes it: the
      // comparison fails for NaN and the infinities.
      const float level = std::max(0.0F, std::min((in[x] - offset) * scale, 255.0F));
      out[x] = static_cast<std::uint8_t>(std::abs(in[x]) <= kLargestFloat ? level : 0.0F);
    }
  }
  return image;
}

}  // namespace helidisk
