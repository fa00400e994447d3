#include "divprocs.h"

#include <cmath>

#include "checked.h"
#include "fixedtext.h"

namespace helidisk {

double PowerOf(double base, double exponent) { return std::exp(exponent * std::log(base)); }

void FormatSexagesimal(std::int32_t precision, double value, std::string& text) {
  const std::int64_t unitsPerSecond = PowersOfTen[CheckedIndex(precision, PowersOfTen.size())];
  const char sign = value < 0 ? '-' : ' ';
  value = std::fabs(value);

  // Everything below comes out of integer division, so a value that rounds
  // up to a whole minute shows 00 seconds of the next minute, never 60.
  const std::int64_t units = TruncToInt64(value * 3600 * unitsPerSecond + 0.5);
  const std::int64_t unitsPerMinute = unitsPerSecond * 60;
  const std::int64_t unitsOfSeconds = units % unitsPerMinute;
  const double seconds = static_cast<double>(unitsOfSeconds) / unitsPerSecond;
  const std::int64_t totalMinutesWide = (units - unitsOfSeconds) / unitsPerMinute;
  if (totalMinutesWide > INT32_MAX) ThrowRangeCheckError();
  const auto totalMinutes = static_cast<std::int32_t>(totalMinutesWide);
  const std::int32_t minutes = totalMinutes % 60;
  const std::int32_t whole = (totalMinutes - minutes) / 60;

  const std::string wholeText = (whole < 10 ? "0" : "") + FormatInteger(whole);
  text = std::string("    ") + sign + wholeText + ":";
  if (text.size() > 5) text.erase(0, text.size() - 5);

  static constexpr std::array<int, 5> kSecondsWidth = {2, 4, 5, 6, 7};
  text += FormatInteger(minutes, 2) + ":";
  text += FormatFixed(seconds, kSecondsWidth[precision], precision);
  ZeroFillFrom(text, 2);
}

void FormatMinSec(double value, std::string& text) {
  const std::int32_t arcSeconds = RoundHalfUpToInt32(std::fabs(value) * 60);
  text = FormatInteger(arcSeconds / 60, 3) + ":" + FormatInteger(arcSeconds % 60, 2);
  ZeroFillFrom(text, 3);
}

}  // namespace helidisk
