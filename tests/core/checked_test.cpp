#include "checked.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace helidisk {
namespace {

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RunError& error) {
    return error.what();
  }
  return "no error";
}

TEST(CheckedArithmetic, OverflowRaisesIntegerOverflow) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(CheckedAdd(kMax - 1, 1), kMax);
  EXPECT_EQ(CheckedSub(kMin + 1, 1), kMin);
  EXPECT_EQ(CheckedMul(-46341, 46340), -2147441940);
  EXPECT_EQ(MessageOf([] { CheckedAdd(kMax, 1); }), "Integer overflow");
  EXPECT_EQ(MessageOf([] { CheckedSub(kMin, 1); }), "Integer overflow");
  EXPECT_EQ(MessageOf([] { CheckedSub(0, kMin); }), "Integer overflow");
  EXPECT_EQ(MessageOf([] { CheckedMul(65536, 32768); }), "Integer overflow");
}

TEST(CheckedConversions, RoundTruncAndHalfUp) {
  struct Case {
    double value;
    std::int32_t rounded, truncated, halfUp;
  };
  const Case cases[] = {
      {2.5, 2, 2, 3},
      {3.5, 4, 3, 4},
      {-2.5, -2, -2, -2},
      {-2.6, -3, -2, -2},
      {-0.5, 0, 0, 0},
      {0.49999999999999994, 0, 0, 1},
      {1e-300, 0, 0, 0},
      {2147483647.4, 2147483647, 2147483647, 2147483647},
      {-2147483648.4, std::numeric_limits<std::int32_t>::min(),
       std::numeric_limits<std::int32_t>::min(), -2147483647},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(RoundToInt32(c.value), c.rounded);
    EXPECT_EQ(TruncToInt32(c.value), c.truncated);
    EXPECT_EQ(RoundHalfUpToInt32(c.value), c.halfUp);
  }
}

TEST(CheckedConversions, OutOfRangeRaisesRangeCheckError) {
  for (const double value : {2147483648.0, 2147483647.5, -2147483649.0, 1e300, -1e300,
                             std::numeric_limits<double>::infinity(), std::nan("")}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(MessageOf([=] { RoundToInt32(value); }), "Range check error");
    if (value != 2147483647.5) {
      EXPECT_EQ(MessageOf([=] { TruncToInt32(value); }), "Range check error");
    }
  }
  EXPECT_EQ(MessageOf([] { RoundHalfUpToInt32(2147483647.5); }), "Range check error");
  EXPECT_EQ(MessageOf([] { TruncToInt64(9.3e18); }), "Range check error");
  EXPECT_EQ(TruncToInt64(-9.2e18), -9200000000000000000);
}

TEST(CheckedIndex, OutsideTheTableRaisesRangeCheckError) {
  EXPECT_EQ(CheckedIndex(0, 5), 0u);
  EXPECT_EQ(CheckedIndex(4, 5), 4u);
  EXPECT_EQ(MessageOf([] { CheckedIndex(5, 5); }), "Range check error");
  EXPECT_EQ(MessageOf([] { CheckedIndex(-1, 5); }), "Range check error");
}

}  // namespace
}  // namespace helidisk
