// Checked integer arithmetic and conversions of reals to integers.
//
// Pixel quantities and calendar values are 32-bit integers whose every
// addition, subtraction and product is overflow-checked, and every real that
// must become such an integer is range-checked.  A failed check aborts the
// running event with one of two run-time errors; the window reports the
// message exactly as it stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace helidisk {

inline constexpr const char* kIntegerOverflow = "Integer overflow";
inline constexpr const char* kRangeCheckError = "Range check error";

// The run-time error of a failed check; what() is the message to show.
class RunError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] void ThrowIntegerOverflow();
[[noreturn]] void ThrowRangeCheckError();

// Integer overflow on a result outside int32.
inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b) {
  std::int32_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) ThrowIntegerOverflow();
  return sum;
}

inline std::int32_t CheckedSub(std::int32_t a, std::int32_t b) {
  std::int32_t difference = 0;
  if (__builtin_sub_overflow(a, b, &difference)) ThrowIntegerOverflow();
  return difference;
}

inline std::int32_t CheckedMul(std::int32_t a, std::int32_t b) {
  std::int32_t product = 0;
  if (__builtin_mul_overflow(a, b, &product)) ThrowIntegerOverflow();
  return product;
}

// Range check error unless the real, after conversion, fits int32 (NaN and
// infinities never fit).
std::int32_t TruncToInt32(double value);        // toward zero
std::int32_t RoundToInt32(double value);        // to nearest, ties to even
std::int32_t RoundHalfUpToInt32(double value);  // Trunc(value + 0.5)
std::int64_t TruncToInt64(double value);

// Range check error unless 0 <= index < size.
std::size_t CheckedIndex(std::int64_t index, std::size_t size);

}  // namespace helidisk
