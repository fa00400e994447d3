// The ten readout texts below the picture.
#pragma once

#include <array>
#include <string>

#include "astronom.h"
#include "sun.h"
#include "viewstate.h"

namespace helidisk {

using ReadoutTexts = std::array<std::string, kReadoutLabelCount>;

// The caption each readout text begins with, in the order of ReadoutLabel.
// The window shows them alone until the first redraw.
inline constexpr std::array<const char*, kReadoutLabelCount> kReadoutCaptions = {
    "Julian.Tag: ", "Datum     : ", "Zeit UT   : ",    "RAapp     :",     "DEapp     :",
    "Distanz   :",  "Halbmesser:",  "Pos.winkel (N):", "Heliogr.Breite:", "Heliogr.Länge :",
};

// One readout text.
std::string ReadoutText(ReadoutLabel label, const CalendarInstant& instant, const SunEphemeris& sun,
                        const std::string& decimalSeparator);

// The Julian day, date, time UT, apparent right ascension and declination,
// distance, semi-diameter, P, B0 and L0, in the order of ReadoutLabel.  Only
// the Julian day follows the regional decimal separator (UTF-8).
ReadoutTexts FormatReadout(const CalendarInstant& instant, const SunEphemeris& sun,
                           const std::string& decimalSeparator);

// The readout step of the redraw: the record's instant and ephemeris into
// the window's labels, in label order; returns the texts it wrote.
ReadoutTexts FillReadout(ViewState& state);

}  // namespace helidisk
