// Real powers and the sexagesimal texts of the readout.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace helidisk {

// base raised to a real exponent, for a positive base, as exp(exponent x
// ln base): the rounding the differential grid was first drawn and checked
// with, which std::pow does not reproduce.
double PowerOf(double base, double exponent);

// 10^precision for the precision index 0 ... 4 of FormatSexagesimal.
inline constexpr std::array<std::int32_t, 5> PowersOfTen = {1, 10, 100, 1000, 10000};

// A value in hours or degrees as " sHH:MM:SS[.s...]": a blank, the sign
// (blank or "-"), the whole units with at least two digits, minutes, and
// seconds with `precision` decimals, rounded half up.  For wholes of 100 and
// more the text begins with the sign.
void FormatSexagesimal(std::int32_t precision, double value, std::string& text);

// An angle in arc minutes as "MMM:SS", whole arc seconds rounded half up;
// the sign is dropped.
void FormatMinSec(double value, std::string& text);

}  // namespace helidisk
