#include "fixedtext.h"

#include <array>
#include <charconv>
#include <cmath>

namespace helidisk {

namespace {

std::string RightAligned(const std::string& text, int width) {
  const int padding = width - static_cast<int>(text.size());
  return padding > 0 ? std::string(padding, ' ') + text : text;
}

// The decimal digits of a finite, non-negative value and the power of ten of
// the first one: value = d.ddd x 10^exponent.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
};

DecimalDigits DecimalDigitsOf(double value, int significantDigits) {
  std::array<char, 64> buffer{};
  const auto result = significantDigits >= 17
                          ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::scientific)
                          : std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::scientific, significantDigits - 1);
  const std::string_view text(buffer.data(), result.ptr - buffer.data());
  const std::size_t e = text.find('e');
  DecimalDigits decimal;
  for (const char c : text.substr(0, e)) {
    if (c != '.') decimal.digits.push_back(c);
  }
  std::string_view exponent = text.substr(e + 1);
  if (exponent.front() == '+') exponent.remove_prefix(1);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), decimal.exponent);
  return decimal;
}

// The value in units of 10^-decimals, rounded half away from zero, as digits.
std::string ScaledRoundedDigits(const DecimalDigits& decimal, int decimals) {
  const int kept = decimal.exponent + 1 + decimals;
  if (kept < 0) return "0";
  if (kept >= static_cast<int>(decimal.digits.size())) {
    return decimal.digits + std::string(kept - decimal.digits.size(), '0');
  }
  std::string scaled = decimal.digits.substr(0, kept);
  if (decimal.digits[kept] >= '5') {
    int i = kept - 1;
    for (; i >= 0 && scaled[i] == '9'; --i) scaled[i] = '0';
    if (i >= 0) {
      ++scaled[i];
    } else {
      scaled = "1" + scaled;
    }
  }
  return scaled.empty() ? "0" : scaled;
}

}  // namespace

std::string FormatInteger(std::int64_t value, int width) {
  return RightAligned(std::to_string(value), width);
}

std::string FormatFixed(double value, int width, int decimals, int significantDigits) {
  if (std::isnan(value)) return RightAligned("Nan", width);
  if (std::isinf(value)) return RightAligned(value > 0 ? "+Inf" : "-Inf", width);

  std::string scaled =
      ScaledRoundedDigits(DecimalDigitsOf(std::fabs(value), significantDigits), decimals);
  if (static_cast<int>(scaled.size()) <= decimals) {
    scaled = std::string(decimals + 1 - scaled.size(), '0') + scaled;
  }
  const std::size_t point = scaled.size() - decimals;
  std::string text = value < 0 ? "-" : "";
  text += scaled.substr(0, point);
  if (decimals > 0) text += "." + scaled.substr(point);
  return RightAligned(text, width);
}

void ZeroFillFrom(std::string& text, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (text[i] == ' ') text[i] = '0';
  }
}

}  // namespace helidisk
