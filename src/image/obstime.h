// The instant an image was taken, read from the texts that carry it: the
// FITS date keywords (FITS Standard 4.0, sect. 4.4.2 and 9.1: ISO 8601 in
// UTC, and the older DD/MM/YY form) and the EXIF date and offset tags
// (EXIF 2.32: "YYYY:MM:DD hh:mm:ss" local time, offset "+hh:mm").
//
// Pure functions over strings, so that the fuzzer can drive them.  Julian
// days are in UT, computed with the program's calendar (DateToJulianDay).
#pragma once

#include <optional>
#include <string_view>

#include "fitsheader.h"

namespace helidisk {

enum class ClockKind {
  Universal,           // the Julian day is UT
  LocalOffsetUnknown,  // a camera's local clock reading, taken as if it were UT;
                       // the caller has to ask for the offset
};

struct ObservationTime {
  double julianDay = 0;
  ClockKind clock = ClockKind::Universal;
};

// A FITS date value: "YYYY-MM-DD", optionally followed by "Thh:mm[:ss[.s...]]"
// (and a "Z"), or "DD/MM/YY" of the years 1900-1999.  `time` ("hh:mm:ss[.s...]",
// the TIME-OBS value) counts only where the date has no time of its own; a
// date with neither is taken at 0 h.  Returns the Julian day (UT), or
// nothing for a text that is no valid date and time.
std::optional<double> ParseFitsDateTime(std::string_view date, std::string_view time = {});

// DATE-OBS (or DATE_OBS) with TIME-OBS (or TIME_OBS) from a header.
std::optional<ObservationTime> ObservationTimeFromHeader(const FitsHeader& header);

// EXIF DateTimeOriginal ("YYYY:MM:DD hh:mm:ss") with OffsetTimeOriginal
// ("+hh:mm" or "-hh:mm", local time minus UT).  Without an offset the time
// is a local clock reading whose offset is unknown; a blank or malformed
// date gives nothing, a malformed offset counts as no offset.
std::optional<ObservationTime> ParseExifDateTime(std::string_view dateTime,
                                                 std::string_view offset);

}  // namespace helidisk
