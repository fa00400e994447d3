#include "checked.h"

#include <cmath>

namespace helidisk {

void ThrowIntegerOverflow() { throw RunError(kIntegerOverflow); }

void ThrowRangeCheckError() { throw RunError(kRangeCheckError); }

namespace {

// The reals whose integer part fits: [-2^31, 2^31) and [-2^63, 2^63) are
// exactly representable bounds, and NaN fails both comparisons.
constexpr double kTwoPow31 = 2147483648.0;
constexpr double kTwoPow63 = 9223372036854775808.0;

std::int32_t IntegralToInt32(double integral) {
  if (!(integral >= -kTwoPow31 && integral < kTwoPow31)) ThrowRangeCheckError();
  return static_cast<std::int32_t>(integral);
}

}  // namespace

std::int32_t TruncToInt32(double value) { return IntegralToInt32(std::trunc(value)); }

std::int32_t RoundToInt32(double value) { return IntegralToInt32(std::nearbyint(value)); }

std::int32_t RoundHalfUpToInt32(double value) { return TruncToInt32(value + 0.5); }

std::int64_t TruncToInt64(double value) {
  const double integral = std::trunc(value);
  if (!(integral >= -kTwoPow63 && integral < kTwoPow63)) ThrowRangeCheckError();
  return static_cast<std::int64_t>(integral);
}

std::size_t CheckedIndex(std::int64_t index, std::size_t size) {
  if (index < 0 || static_cast<std::uint64_t>(index) >= size) ThrowRangeCheckError();
  return static_cast<std::size_t>(index);
}

}  // namespace helidisk
