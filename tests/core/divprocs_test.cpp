#include "divprocs.h"

#include <gtest/gtest.h>

#include "checked.h"
#include "fixedtext.h"

namespace helidisk {
namespace {

TEST(FormatSexagesimal, WorkedTexts) {
  struct Case {
    std::int32_t precision;
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {0, 5.5, "  05:30:00"},
      {0, -23.4392911, " -23:26:21"},
      {1, -23.4392911, " -23:26:21.4"},
      {2, 5.5, "  05:30:00.00"},
      {3, 12.345678, "  12:20:44.441"},
      {4, 1.0 / 3, "  00:20:00.0000"},
      {0, 0, "  00:00:00"},
      {1, 0.99999, "  01:00:00.0"},
      {0, 23.99999, "  24:00:00"},
      {0, -0.0001, " -00:00:00"},
      {0, 123.5, " 123:30:00"},
      {0, -123.5, "-123:30:00"},
      {0, 9.99999, "  10:00:00"},
      {2, 0.0125 / 3600, "  00:00:00.01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.precision << ", " << c.value);
    std::string text = "stale";
    FormatSexagesimal(c.precision, c.value, text);
    EXPECT_EQ(text, c.expected);
  }
}

TEST(FormatSexagesimal, PrecisionOutsideTheTableIsARangeCheckError) {
  std::string text;
  for (const std::int32_t precision : {-1, 5}) {
    try {
      FormatSexagesimal(precision, 1, text);
      ADD_FAILURE() << precision;
    } catch (const RunError& error) {
      EXPECT_STREQ(error.what(), "Range check error");
    }
  }
  EXPECT_THROW(FormatSexagesimal(0, 1e18, text), RunError);
}

TEST(FormatMinSec, WorkedTexts) {
  struct Case {
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {16.2583, " 16:15"},
      {16.05, " 16:03"},
      {-16, " 16:00"},
      {0, "  0:00"},
      {59.9999, " 60:00"},
      {123.5, "123:30"},
      {15.996 / 0.98331665, " 16:16"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    std::string text;
    FormatMinSec(c.value, text);
    EXPECT_EQ(text, c.expected);
  }
}

TEST(FormatFixed, RoundsDecimalHalvesAwayFromZero) {
  struct Case {
    double value;
    int width, decimals;
    const char* expected;
  };
  const Case cases[] = {
      {2461041.625, 0, 2, "2461041.63"},  // an exact binary tie
      {2461041.375, 0, 2, "2461041.38"},
      {-0.125, 0, 2, "-0.13"},
      {1.005, 0, 2, "1.01"},      // the decimal value, not its binary neighbour
      {-0.001, 7, 2, "  -0.00"},  // the sign of the unrounded value
      {0.98331665, 9, 5, "  0.98332"},
      {359.996, 7, 2, " 360.00"},
      {9.995, 0, 2, "10.00"},
      {0.004, 0, 2, "0.00"},
      {0.005, 0, 2, "0.01"},
      {6.0, 2, 0, " 6"},
      {0.5, 2, 0, " 1"},
      {123456.0, 3, 1, "123456.0"},
      {1e-20, 0, 3, "0.000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(FormatFixed(c.value, c.width, c.decimals), c.expected);
  }
  EXPECT_EQ(FormatFixed(2459216.5416666665, 0, 2, 16), "2459216.54");
  EXPECT_EQ(FormatInteger(-7, 4), "  -7");
  EXPECT_EQ(FormatInteger(2021), "2021");
}

}  // namespace
}  // namespace helidisk
