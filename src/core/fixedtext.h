// Number texts of the readout: integers and fixed-point reals, right-aligned
// with blanks to a minimum width (a longer text is not cut).
#pragma once

#include <cstdint>
#include <string>

namespace helidisk {

std::string FormatInteger(std::int64_t value, int width = 0);

// The real rounded to `decimals` places, a full stop as decimal point.  The
// rounding works on the value's decimal digits, at most `significantDigits`
// of them (17 gives the shortest text that reads back as the same double),
// and takes a half away from zero, as a person rounds: 0.125 gives 0.13.
// The minus sign follows the unrounded value, so -0.001 gives -0.00.
std::string FormatFixed(double value, int width, int decimals, int significantDigits = 17);

// Replaces every blank at or after index `from` by "0".
void ZeroFillFrom(std::string& text, std::size_t from);

}  // namespace helidisk
